// Window creation. The main window comes first: its creation prepares the
// data every other window relies on.
#include "app/ProgramWindows.h"

#include "app/FormEditPassword.h"
#include "app/FormInputBox.h"
#include "app/FormMain.h"
#include "app/FormPasswordAuth.h"
#include "print/FormPrintAddress.h"

namespace q2 {

TProgramWindows::TProgramWindows() {
    formMain_ = std::make_unique<TFormMain>();
    formPasswordAuth_ = std::make_unique<TFormPasswordAuth>(formMain_.get());
    formEditPassword_ = std::make_unique<TFormEditPassword>(formMain_.get());
    formInputBox_ = std::make_unique<TFormInputBox>(formMain_.get());
    formMain_->SetPasswordAuth(formPasswordAuth_.get());
    // The print dialog is a child of the main window, which destroys it.
    auto* printAddress = new TFormPrintAddress(formMain_.get());
    TFormMain* main = formMain_.get();
    printAddress->OnPrinted = [main](const QList<const TUserInfo*>& printed) {
        main->OfferToMarkSent(printed);
    };
    formMain_->SetPrintDialog([printAddress](TDisplayList& records, TSenderInfoList& senders) {
        printAddress->ShowPrintDialog(records, senders);
    });
}

TProgramWindows::~TProgramWindows() {
    // The dialogs are children of the main window: release them first.
    formInputBox_.reset();
    formEditPassword_.reset();
    formPasswordAuth_.reset();
    formMain_.reset();
}

}  // namespace q2
