// The dialogs of the subsystems, created once and lent to the main window.
#include "app/DialogWiring.h"

#include "app/DialogRunner.h"
#include "app/FormConfig.h"
#include "app/FormMain.h"
#include "mail/FormDirectMail.h"
#include "zip/FormZipUpdate.h"

namespace q2 {

void InstallDialogs(TFormMain& main) {
    auto* config = new TFormConfig(&main);
    main.SetConfigDialog([config](TUserInfoList& book, TthMailConfig& mail) {
        return config->Execute(book, mail) == QDialog::Accepted;
    });
    auto* zipUpdate = new Tzip_update(&main);
    main.SetZipUpdateDialog([zipUpdate] { GetDialogRunner().Exec(*zipUpdate); });
    main.SetDirectMailDialog([&main](TDisplayList& records, TthMailConfig& mail) {
        ShowDirectMailDialog(&main, records, mail);
    });
}

}  // namespace q2
