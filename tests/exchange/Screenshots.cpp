// Writes the import, export and search dialogs' pictures into docs/screenshots.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QTableWidget>

#include "exchange/FormExport.h"
#include "exchange/FormImport.h"
#include "exchange/FormSearch.h"
#include "exchange/VcardImport.h"

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

    // The same dialog over a vCard file: what goes where, and what is skipped.
    TVcardImport cards = ConvertVcards(
        QByteArrayLiteral(
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:鈴木 花子\r\nN:鈴木;花子;;;\r\n"
            "X-PHONETIC-LAST-NAME:すずき\r\nX-PHONETIC-FIRST-NAME:はなこ\r\nNICKNAME:はな\r\n"
            "EMAIL;TYPE=INTERNET;TYPE=HOME:hanako@example.com\r\nTEL;TYPE=CELL:090-8765-4321\r\n"
            "TEL;TYPE=WORK:03-5555-0000\r\n"
            "ADR;TYPE=HOME:;パレス101;千代田1-1;千代田区;東京都;100-0001;日本\r\n"
            "ORG:株式会社サンプル;営業部\r\nTITLE:課長\r\nBDAY:1985-07-02\r\n"
            "CATEGORIES:友人,仕事,その他\r\nEND:VCARD\r\n"
            "BEGIN:VCARD\r\nVERSION:3.0\r\nN:山田;太郎;;;\r\nEND:VCARD\r\n"),
        QDateTime::currentDateTime());
    TFormImport vcardImport;
    vcardImport.OpenVcard(cards, book);
    vcardImport.show();
    app.processEvents();
    vcardImport.grab().save(out + "import-vcard-dialog.png");

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
