// Writes the import, export and search dialogs' pictures into docs/screenshots.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QTableWidget>

#include "exchange/FormExport.h"
#include "exchange/FormImport.h"
#include "exchange/FormSearch.h"

using namespace q2;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString out = QStringLiteral(Q2_SOURCE_DIR "/docs/screenshots/");

    TFormImport import;
    QStringList records = {
        QStringLiteral("山田 太郎,ﾔﾏﾀﾞ ﾀﾛｳ,263-0023,千葉県千葉市稲毛区緑町1-1,男性"),
        QStringLiteral("鈴木 花子,ｽｽﾞｷ ﾊﾅｺ,100-0001,東京都千代田区千代田1,女性")};
    TUserInfoList book;
    import.Open(records, book);
    const char* const dest[] = {"個人名前", "個人フリガナ", "個人郵便番号", "個人住所１", "性別"};
    for (int r = 0; r < 5; ++r) {
        import.ListBoxContents->setCurrentRow(ImportDestinationIndex(QString::fromUtf8(dest[r])));
        import.SGMain->setCurrentCell(r, 1);
        import.SBAddContentClick();
    }
    import.show();
    app.processEvents();
    import.grab().save(out + "import-dialog.png");

    TFormExport exportForm;
    exportForm.Open(QStringLiteral("/tmp/out.csv"), book);
    exportForm.CBMidashi->setChecked(true);
    exportForm.show();
    app.processEvents();
    exportForm.grab().save(out + "export-dialog.png");

    TFormSearch search;
    search.CBUseCondition[0]->setChecked(true);
    search.CB_Topic1[0]->setCurrentIndex(2);
    search.CB_Topic2[0]->setEditText(QStringLiteral("田"));
    search.CBUseCondition[1]->setChecked(true);
    search.CB_Topic1[1]->setCurrentIndex(13);
    search.CB_Topic2[1]->setEditText(QStringLiteral("30"));
    search.show();
    app.processEvents();
    search.grab().save(out + "search-dialog.png");
    return 0;
}
