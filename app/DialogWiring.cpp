// The dialogs of the subsystems, created once and lent to the main window.
#include "app/DialogWiring.h"

#include <QTableView>

#include "app/FormConfig.h"
#include "app/FormMain.h"
#include "app/RecordEditor.h"
#include "app/SeasonMarksWidget.h"
#include "exchange/FormExport.h"
#include "exchange/FormImport.h"
#include "exchange/FormSearch.h"
#include "mail/FormDirectMail.h"
#include "model/DataPaths.h"
#include "platform/DialogRunner.h"
#include "preflight/FormPreflight.h"
#include "print/FormPrintAllAddressList.h"
#include "print/FormSelectPrintType.h"
#include "zip/FormZipReview.h"
#include "zip/FormZipUpdate.h"

namespace q2 {

void InstallDialogs(TFormMain& main) {
    auto* config = new TFormConfig(&main);
    main.SetConfigDialog([config](TUserInfoList& book, TthMailConfig& mail) {
        return config->Execute(book, mail) == QDialog::Accepted;
    });
    auto* zipUpdate = new Tzip_update(&main);
    main.SetZipUpdateDialog([zipUpdate, &main] {
        GetDialogRunner().Exec(*zipUpdate);
        if (!zipUpdate->Installed()) return;
        // New data: offer the review of the open book against it.
        main.StoreInputArea();
        TFormZipReview review(main.Session.Book, &main);
        if (!review.Review(GetZipDataPath()) || !review.Offer()) return;
        // Each applied suggestion is one step of the undo history.
        review.OnApplied = [&main](TUserInfo& record, const TUserInfo& before) {
            main.RecordChangedElsewhere(record, before);
        };
        GetDialogRunner().Exec(review);
    });
    // The check before printing and mailing; each fix taken from its list is
    // one step of the undo history.
    InstallPreflightDialog([&main](TUserInfo& record, const TUserInfo& before) {
        main.RecordChangedElsewhere(record, before);
    });
    auto* import = new TFormImport(&main);
    main.SetImportDialog([import](const QString& path, TUserInfoList& book) {
        switch (RunImport(*import, path, book)) {
            case TImportRun::Imported: return TFormMain::TImportResult::Imported;
            case TImportRun::Cancelled: return TFormMain::TImportResult::Cancelled;
            default: return TFormMain::TImportResult::NotRun;
        }
    });
    auto* exportForm = new TFormExport(&main);
    main.SetExportDialog(
        [exportForm](const QString& path, TUserInfoList& book) { exportForm->Execute(path, book); });
    auto* search = new TFormSearch(&main);
    main.SetSearchDialog([search] { return search->Execute(); },
                         [search](const TUserInfo& record, int readingRow) {
                             return search->Matches(record, readingRow);
                         });
    search->SetSeason(main.SeasonChooser->Season());
    QObject::connect(main.SeasonChooser, &TSeasonChooser::SeasonChanged, search,
                     &TFormSearch::SetSeason);
    auto* printType = new TFormSelectPrintType(&main);
    auto* listPrint = new TFormPrintAllAddressList(&main);
    main.SetListPrintDialog(
        [printType] {
            switch (TFormSelectPrintType::ChoiceOf(GetDialogRunner().Exec(*printType))) {
                case TPrintTypeChoice::AddressPrint: return TFormMain::TPrintKind::Address;
                case TPrintTypeChoice::ListPrint: return TFormMain::TPrintKind::List;
                default: return TFormMain::TPrintKind::Cancel;
            }
        },
        [listPrint](TDisplayList& records) {
            listPrint->TakeRecords(records);
            listPrint->FormShow();
            GetDialogRunner().Exec(*listPrint);
        });
    main.SetDirectMailDialog([&main](TDisplayList& records, TthMailConfig& mail) {
        ShowDirectMailDialog(&main, records, mail);
    });
}

}  // namespace q2
