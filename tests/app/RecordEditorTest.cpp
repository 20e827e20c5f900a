// The record editor on the main window: every change stored at once and only
// in its own field, changes from elsewhere shown at once, adding records,
// history, picture, mail links and the postal code buttons.
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include "AppFixture.h"
#include "QStringPrinter.h"
#include "app/AddressListColumns.h"
#include "app/DialogWiring.h"
#include "app/FormAddData.h"
#include "app/FormEditHistory.h"
#include "app/RecordEditor.h"
#include "app/UrlOpener.h"
#include "platform/Clock.h"
#include "preflight/FormPreflight.h"
#include "print/PieceRenderer.h"

namespace q2test {
namespace {

int ColumnOf(const char* caption) {
    for (int c = 0; c < q2::kAddressListColumnCount; ++c)
        if (q2::ColumnCaption(c) == QString::fromUtf8(caption)) return c;
    return -1;
}

class RecordEditor : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        q2::SetNowForTesting(QDateTime(QDate(2025, 6, 15), QTime(9, 30, 5)));
        q2::SetUrlOpener([this](const QString& url) { urls << url; });
    }
    void TearDown() override {
        q2::SetUrlOpener({});
        q2::SetNowForTesting(std::nullopt);
        AppTest::TearDown();
    }

    // Two records, 青木 shown in the editor.
    q2::TFormMain& StartShowingFirst() { return ShowFirst(Start()); }
    q2::TFormMain& ShowFirst(q2::TFormMain& m) {
        m.OpenCommandLineFile(
            WriteBook("book.QT2", {{"アオキ", "青木", "友達"}, {"イトウ", "伊藤"}}));
        row_ = int(Names(m.DisplayList).indexOf("青木"));
        other_ = 1 - row_;
        m.SelectRows({row_});
        return m;
    }
    QString Cell(q2::TFormMain& m, int column) {
        return m.LVAddressList->model()->index(row_, column).data().toString();
    }
    int row_ = 0, other_ = 1;

    QStringList urls;
};

TEST_F(RecordEditor, EveryChangeIsStoredAtOnce) {
    q2::TFormMain& m = StartShowingFirst();
    q2::TRecordEditor& e = *m.RecordEditor;
    ASSERT_EQ(m.CurrentRecord, m.DisplayList[row_]);
    EXPECT_EQ(e.EditPersonalName_1->text(), "青木");
    EXPECT_TRUE(m.Session.Saved());  // showing a record changes nothing

    e.EditPersonalName_1->end(false);
    QTest::keyClick(e.EditPersonalName_1, Qt::Key_X);  // one character typed
    EXPECT_FALSE(m.Session.Saved());
    EXPECT_EQ(m.CurrentRecord->PerSonalName_1, "青木x");
    EXPECT_EQ(Cell(m, ColumnOf("名前")).left(3), "青木x");

    // Each kind of control writes its own field.
    e.EditOfficeAddress_2->setText("ビル5F");
    e.MemoRemarks->setPlainText("メモ");
    e.CBCategory_2->setEditText("取引先");
    e.CBPersonalSex->setCurrentIndex(2);
    e.CBJointName[3]->click();
    e.EditInsertStr[2]->setText("差込");
    const q2::TUserInfo& r = *m.CurrentRecord;
    EXPECT_EQ(r.OfficeAddress_2, "ビル5F");
    EXPECT_EQ(r.CommonMemo, "メモ");
    EXPECT_EQ(r.CommonCategory_1, "友達");
    EXPECT_EQ(r.CommonCategory_2, "取引先");
    EXPECT_EQ(r.PersonalSex, q2::TThSex::tsFemale);
    EXPECT_TRUE(r.CommonJointNameObj_4.PrintData);
    EXPECT_EQ(r.CommonInsertStr_3, "差込");

    // Without a record shown, the disabled editor stores nothing.
    m.SelectRows({});
    EXPECT_EQ(m.CurrentRecord, nullptr);
    EXPECT_FALSE(e.EditPersonalName_1->isEnabled());
    EXPECT_TRUE(e.EditPersonalName_1->text().isEmpty());
    EXPECT_EQ(m.DisplayList[row_]->PerSonalName_1, "青木x");
}

// Types into the telephone box and leaves it with Tab, as a user does.
void TypeTelephone(q2::TRecordEditor& e, const char* text) {
    e.EditPersonalTel_1->setFocus();
    QTest::keyClicks(e.EditPersonalTel_1, QString::fromUtf8(text));
    QTest::keyClick(e.EditPersonalTel_1, Qt::Key_Tab);
}

TEST_F(RecordEditor, PrintMarkFromThePopupSurvivesAnEditOfAnotherField) {
    q2::TFormMain& m = StartShowingFirst();
    q2::TRecordEditor& e = *m.RecordEditor;
    const int mark = ColumnOf("印刷");
    ASSERT_FALSE(m.CurrentRecord->CommonPrintCheck);
    ASSERT_FALSE(e.CBPrintCheck->isChecked());

    m.PopPrintCheckClick();
    EXPECT_EQ(Cell(m, mark), "●");
    EXPECT_TRUE(e.CBPrintCheck->isChecked());  // the editor shows it before any keystroke
    TypeTelephone(e, "03-1234");
    EXPECT_EQ(m.CurrentRecord->PerSonalTel_1, "03-1234");
    EXPECT_TRUE(m.CurrentRecord->CommonPrintCheck);
    EXPECT_EQ(Cell(m, mark), "●");

    // Undo takes back the telephone alone, then the mark; the editor follows.
    m.Undo();
    EXPECT_EQ(m.CurrentRecord->PerSonalTel_1, "");
    EXPECT_TRUE(m.CurrentRecord->CommonPrintCheck);
    m.Undo();
    EXPECT_FALSE(m.CurrentRecord->CommonPrintCheck);
    EXPECT_FALSE(e.CBPrintCheck->isChecked());
    m.Redo();
    EXPECT_TRUE(e.CBPrintCheck->isChecked());
    TypeTelephone(e, "9");
    EXPECT_TRUE(m.CurrentRecord->CommonPrintCheck);

    // Several rows at once, the edited one among them.
    m.SelectRows({other_, row_});
    ASSERT_EQ(m.CurrentRecord, m.DisplayList[row_]);
    m.PopPrintNotCheckClick();
    EXPECT_FALSE(e.CBPrintCheck->isChecked());
    TypeTelephone(e, "8");
    EXPECT_FALSE(m.CurrentRecord->CommonPrintCheck);
    EXPECT_FALSE(m.DisplayList[other_]->CommonPrintCheck);
}

// Each way a record changes while the editor shows it: the editor shows the
// change at once (where the change is announced), an edit of another field
// keeps it, and undoing that edit keeps it too.
TEST_F(RecordEditor, ChangesFromElsewhereAreNeverOverwrittenByTheEditor) {
    struct Path {
        const char* name;
        std::function<void(q2::TFormMain&, q2::ScriptedChoicePrompter&)> change;
        std::function<bool(q2::TFormMain&)> kept;
        std::function<bool(const q2::TRecordEditor&)> shown;  // empty: not announced
    };
    const Path paths[] = {
        {"undo of an edit",
         [](q2::TFormMain& m, q2::ScriptedChoicePrompter&) {
             m.RecordEditor->EditPersonalName_1->setText("青木x");
             m.Undo();
         },
         [](q2::TFormMain& m) { return m.CurrentRecord->PerSonalName_1 == "青木"; },
         [](const q2::TRecordEditor& e) { return e.EditPersonalName_1->text() == "青木"; }},
        {"fix from the check before printing",
         [](q2::TFormMain& m, q2::ScriptedChoicePrompter&) {
             q2::SetPreflightPresenter([](q2::TFormPreflight& form) {
                 for (int row = 0; row < form.Findings().size(); ++row)
                     if (form.Findings()[row].Code == q2::TPreflightCode::NameNoHonorific)
                         form.FixRow(row);
                 return false;
             });
             q2::TPrintSettings st;
             q2::PreflightBeforePrint(&m, {m.CurrentRecord},
                                      q2::MakePieceSetup(st, std::nullopt, nullptr));
             q2::SetPreflightPresenter({});
         },
         [](q2::TFormMain& m) { return m.CurrentRecord->PerSonalHonorificTitle == "様"; },
         [](const q2::TRecordEditor& e) {
             return e.CBPerSonalHonorificTitle->currentText() == "様";
         }},
        {"season mark after a print run",
         [](q2::TFormMain& m, q2::ScriptedChoicePrompter& p) {
             p.answers.push_back(true);
             m.OfferToMarkSent({m.CurrentRecord});
         },
         [](q2::TFormMain& m) { return m.CurrentRecord->CommonHistoryObjectList.Count() == 1; },
         [](const q2::TRecordEditor& e) { return e.LVHistory->rowCount() == 1; }},
        {"import",
         [](q2::TFormMain& m, q2::ScriptedChoicePrompter&) {
             m.SetImportDialog([](const QString&, q2::TUserInfoList& book) {
                 book.Add(MakeRecord({"ヤマダ", "山田"}));
                 return q2::TFormMain::TImportResult::Imported;
             });
             m.ImportFile("in.csv");
             // The list is read again: nothing is left in the editor.
             EXPECT_EQ(m.CurrentRecord, nullptr);
             EXPECT_FALSE(m.RecordEditor->EditPersonalTel_1->isEnabled());
             m.SelectRows({int(Names(m.DisplayList).indexOf("青木"))});
         },
         [](q2::TFormMain& m) { return m.Session.Book.Count() == 3; },
         [](const q2::TRecordEditor& e) { return e.EditPersonalName_1->text() == "青木"; }},
        {"a change nobody announced",
         [](q2::TFormMain& m, q2::ScriptedChoicePrompter&) {
             m.CurrentRecord->CommonCategory_2 = "取引先";
         },
         [](q2::TFormMain& m) { return m.CurrentRecord->CommonCategory_2 == "取引先"; },
         {}},
    };
    q2::TFormMain& m = Start();
    q2::InstallDialogs(m);  // the check list's fixes reach the window as in the program
    for (const Path& path : paths) {
        SCOPED_TRACE(path.name);
        ShowFirst(m);
        q2::TRecordEditor& e = *m.RecordEditor;
        path.change(m, prompter);
        ASSERT_TRUE(path.kept(m));
        if (path.shown) {
            EXPECT_TRUE(path.shown(e));
        }
        TypeTelephone(e, "03");
        EXPECT_EQ(m.CurrentRecord->PerSonalTel_1, "03");
        EXPECT_TRUE(path.kept(m));
        if (path.shown) {
            EXPECT_TRUE(path.shown(e));
        }
        EXPECT_EQ(e.CBCategory_2->currentText(), m.CurrentRecord->CommonCategory_2);
        m.Undo();
        EXPECT_EQ(m.CurrentRecord->PerSonalTel_1, "");
        EXPECT_TRUE(path.kept(m));
    }
}

// A field the box cannot show in full (a postal code of seven digits in the
// three-digit box, a memo with Windows line ends) is not rewritten by an
// edit elsewhere.
TEST_F(RecordEditor, AFieldShownShortenedIsLeftAsItWas) {
    q2::TFormMain& m = StartShowingFirst();
    m.CurrentRecord->PerSonalZip_1 = "1000013";
    m.CurrentRecord->CommonMemo = "一行目\r\n二行目";
    m.SelectRows({other_});
    m.SelectRows({row_});
    EXPECT_EQ(m.RecordEditor->EditPersonalZip_1->text(), "100");
    TypeTelephone(*m.RecordEditor, "03");
    EXPECT_EQ(m.CurrentRecord->PerSonalZip_1, "1000013");
    EXPECT_EQ(m.CurrentRecord->CommonMemo, "一行目\r\n二行目");
    EXPECT_TRUE(m.Session.History().CanUndo());
}

// 印刷面 chooses the side that prints; the 個人用/会社用 pages only show one.
TEST_F(RecordEditor, PrintSideIsChosenNotTakenFromThePageShown) {
    q2::TFormMain& m = StartShowingFirst();
    q2::TRecordEditor& e = *m.RecordEditor;
    const int column = ColumnOf("印刷住所");
    ASSERT_FALSE(m.CurrentRecord->CommonUseTypePersonal);
    EXPECT_TRUE(e.RBPrintSideOffice->isChecked());
    EXPECT_EQ(e.PGPrintType->currentWidget(), e.TabSheetOffice);  // opened on the side it prints

    // Looking at the other page changes nothing.
    e.PGPrintType->setCurrentWidget(e.TabSheetPersonal);
    EXPECT_FALSE(m.CurrentRecord->CommonUseTypePersonal);
    EXPECT_EQ(Cell(m, column), "会社用");
    EXPECT_TRUE(m.Session.Saved());

    e.RBPrintSidePersonal->click();
    EXPECT_TRUE(m.CurrentRecord->CommonUseTypePersonal);
    EXPECT_EQ(Cell(m, column), "個人用");
    EXPECT_FALSE(m.Session.Saved());
    EXPECT_EQ(e.PGPrintType->currentWidget(), e.TabSheetPersonal);
    e.PGPrintType->setCurrentWidget(e.TabSheetOffice);
    EXPECT_TRUE(m.CurrentRecord->CommonUseTypePersonal);

    // An undo shows the side again but leaves the page the user is on.
    e.PGPrintType->setCurrentWidget(e.TabSheetPersonal);
    m.Undo();
    EXPECT_FALSE(m.CurrentRecord->CommonUseTypePersonal);
    EXPECT_TRUE(e.RBPrintSideOffice->isChecked());
    EXPECT_EQ(e.PGPrintType->currentWidget(), e.TabSheetPersonal);
    EXPECT_TRUE(m.Session.Saved());

    // Showing another record opens it on its own side and stores nothing.
    m.DisplayList[other_]->CommonUseTypePersonal = true;
    m.SelectRows({other_});
    EXPECT_TRUE(e.RBPrintSidePersonal->isChecked());
    EXPECT_EQ(e.PGPrintType->currentWidget(), e.TabSheetPersonal);
    m.SelectRows({row_});
    EXPECT_TRUE(e.RBPrintSideOffice->isChecked());
    EXPECT_TRUE(m.Session.Saved());
}

TEST_F(RecordEditor, AgeFollowsTheDatePicker) {
    q2::TFormMain& m = StartShowingFirst();
    q2::TRecordEditor& e = *m.RecordEditor;
    m.CurrentRecord->CommonBirthday = q2::MakeDateTime(q2::Today(), QTime(8, 0));
    m.SelectRows({other_});
    m.SelectRows({row_});
    EXPECT_EQ(e.DTPBirthday->displayFormat(), "yyyy/MM/dd");
    EXPECT_TRUE(e.DTPBirthday->calendarPopup());
    EXPECT_EQ(e.EditPersonalAge->text(), "0");
    e.DTPBirthday->setDate(QDate(1995, 6, 16));
    EXPECT_EQ(e.EditPersonalAge->text(), "29");
    // The day changes; the time of day the record held stays.
    EXPECT_EQ(m.CurrentRecord->CommonBirthday, q2::MakeDateTime(QDate(1995, 6, 16), QTime(8, 0)));
    // A record without a birthday shows no age.
    m.CurrentRecord->CommonBirthday = q2::ZeroDateTime();
    m.SelectRows({other_});
    m.SelectRows({row_});
    EXPECT_EQ(e.EditPersonalAge->text(), "");
}

// Answers the quick add dialog with the four texts.
q2::ScriptedDialogRunner::Step AddData(const char* n1, const char* n2, const char* k1,
                                       const char* k2) {
    return [=](QDialog& d) {
        auto& f = static_cast<q2::TFormAddData&>(d);
        f.EditName_1->setText(QString::fromUtf8(n1));
        f.EditName_2->setText(QString::fromUtf8(n2));
        f.EditKana_1->setText(QString::fromUtf8(k1));
        f.EditKana_2->setText(QString::fromUtf8(k2));
        f.BtnAddClick();
        return f.result();
    };
}

TEST_F(RecordEditor, AddingARecordGivesItsDefaultsAndSelectsIt) {
    q2::TFormMain& m = StartShowingFirst();
    runner.dialogs.push_back(AddData("山田", "太郎", "ヤマダ", "タロウ"));
    m.pngBtnAddAddressClick();
    ASSERT_EQ(m.Session.Book.Count(), 3);
    const q2::TUserInfo& r = *m.Session.Book.Item(2);
    EXPECT_EQ(r.PersonalFullName(), "山田 太郎");
    EXPECT_EQ(r.PersonalFullNameKana(), "ヤマダ タロウ");
    EXPECT_EQ(r.PerSonalHonorificTitle, "様");
    EXPECT_EQ(r.PerSonalHomePage, "http://");
    EXPECT_EQ(r.OfficeHomePage, "http://");
    EXPECT_TRUE(r.CommonPrintCheck);
    EXPECT_TRUE(r.CommonUseTypePersonal);
    const QDateTime now = q2::MakeDateTime(QDateTime(QDate(2025, 6, 15), QTime(9, 30, 5)));
    EXPECT_EQ(r.CommonRegistDate, now);
    EXPECT_EQ(r.CommonBirthday, now);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(r.JointName(i).HonorificTitle, "様");
    EXPECT_FALSE(m.Session.Saved());
    // Selected on the tab of its reading, shown in the editor.
    EXPECT_EQ(m.TCAddressList->currentIndex(), 8);  // ヤ
    EXPECT_EQ(m.CurrentRecord, &r);
    EXPECT_EQ(m.SelectedRows(), QList<int>{0});
    EXPECT_EQ(m.RecordEditor->EditRegistDate->text(), "2025/06/15");
    EXPECT_EQ(m.LblPrintCount->text(), "1/3件該当");

    // Cancelled: nothing added.
    m.pngBtnAddAddressClick();
    EXPECT_EQ(m.Session.Book.Count(), 3);

    // The editor's delete button removes the selected record after asking.
    prompter.answers.push_back(true);
    m.RecordEditor->BtnDel->click();
    EXPECT_EQ(prompter.asked.last(), "選択中の住所を削除しますか？");
    EXPECT_EQ(m.Session.Book.Count(), 2);
    EXPECT_EQ(m.CurrentRecord, nullptr);
    EXPECT_FALSE(m.RecordEditor->EditPersonalName_1->isEnabled());
}

TEST_F(RecordEditor, AddingWithAFilterOnLeavesTheListAsItWas) {
    q2::TFormMain& m = StartShowingFirst();
    m.CBDisplayCategory_1->setCurrentIndex(m.CBDisplayCategory_1->findText("友達"));
    const QString count = m.LblPrintCount->text();
    runner.dialogs.push_back(AddData("山田", "太郎", "ヤマダ", "タロウ"));
    m.pngBtnAddAddressClick();
    EXPECT_EQ(m.Session.Book.Count(), 3);
    EXPECT_EQ(m.LblPrintCount->text(), count);
    EXPECT_NE(m.CurrentRecord, m.Session.Book.Item(2));
    EXPECT_FALSE(m.Session.Saved());
}

q2::ScriptedDialogRunner::Step EditHistory(QDate date, const char* title, const char* content,
                                           QStringList* captions) {
    return [=](QDialog& d) {
        auto& f = static_cast<q2::TFormEditHistory&>(d);
        captions->append(f.windowTitle());
        f.DTPHistoryDate->setDate(date);
        f.EditTitle->setText(QString::fromUtf8(title));
        f.EditContent->setText(QString::fromUtf8(content));
        f.BtnSaveClick();
        return f.result();
    };
}

QStringList HistoryTitles(const QTableWidget* table) {
    QStringList out;
    for (int i = 0; i < table->rowCount(); ++i)
        out << table->item(i, 0)->text() + QLatin1Char(' ') + table->item(i, 1)->text();
    return out;
}

TEST_F(RecordEditor, HistoryStaysNewestFirstThroughAddEditAndDelete) {
    q2::TFormMain& m = StartShowingFirst();
    q2::TRecordEditor& e = *m.RecordEditor;
    QStringList captions;
    EXPECT_FALSE(e.BtnHistoryEdit->isEnabled());
    for (const auto& [date, title] :
         {std::pair{QDate(2024, 1, 10), "年賀"}, std::pair{QDate(2024, 8, 1), "暑中"},
          std::pair{QDate(2023, 12, 1), "歳暮"}}) {
        runner.dialogs.push_back(EditHistory(date, title, "送付", &captions));
        e.BtnHistoryAddClick();
    }
    EXPECT_EQ(captions, QStringList({"履歴追加", "履歴追加", "履歴追加"}));
    EXPECT_EQ(HistoryTitles(e.LVHistory),
              QStringList({"2024/08/01 暑中", "2024/01/10 年賀", "2023/12/01 歳暮"}));
    EXPECT_FALSE(m.Session.Saved());

    // The oldest entry edited to the newest date moves to the top.
    e.LVHistory->selectRow(2);
    EXPECT_TRUE(e.BtnHistoryEdit->isEnabled());
    runner.dialogs.push_back(EditHistory(QDate(2025, 1, 5), "歳暮", "礼状", &captions));
    e.BtnHistoryEditClick();
    EXPECT_EQ(captions.last(), "履歴編集");
    EXPECT_EQ(HistoryTitles(e.LVHistory),
              QStringList({"2025/01/05 歳暮", "2024/08/01 暑中", "2024/01/10 年賀"}));
    EXPECT_EQ(m.CurrentRecord->CommonHistoryObjectList.Item(0).HistoryContent, "礼状");

    // Editing cancelled changes nothing.
    e.LVHistory->selectRow(1);
    runner.dialogs.push_back(q2::ScriptedDialogRunner::Reject());
    e.BtnHistoryEditClick();
    EXPECT_EQ(m.CurrentRecord->CommonHistoryObjectList.Count(), 3);

    // Deleting asks first; No keeps the entry.
    e.LVHistory->selectRow(1);
    e.BtnHistoryDelClick();
    EXPECT_EQ(prompter.asked.last(), "選択中の履歴を削除しますか？");
    EXPECT_EQ(e.LVHistory->rowCount(), 3);
    prompter.answers.push_back(true);
    e.BtnHistoryDelClick();
    EXPECT_EQ(HistoryTitles(e.LVHistory), QStringList({"2025/01/05 歳暮", "2024/01/10 年賀"}));
    EXPECT_FALSE(e.BtnHistoryEdit->isEnabled());
}

TEST_F(RecordEditor, SendMailBuildsTheExactUrlAlsoWithAnEmptyCompany) {
    q2::TFormMain& m = StartShowingFirst();
    m.Session.MailConfig.SenderMailAddress = "me@example.jp";
    m.CurrentRecord->PerSonalName_2 = "一郎";
    m.CurrentRecord->PerSonalHonorificTitle = "様";
    m.RecordEditor->BtnSendMail->click();
    ASSERT_EQ(urls.size(), 1);
    EXPECT_EQ(urls[0],
              "mailto:me@example.jp?Subject=青木 一郎 様の情報&Body=名前：青木 一郎%0D%0A%0D%0A"
              "会社名：%0D%0A部署：%0D%0A役職：%0D%0A%0D%0A〒： %0D%0A住所：%0D%0A電話：%0D%0A"
              "電話/FAX：%0D%0Aメール１：%0D%0Aメール２：%0D%0AHP：%0D%0A");

    m.RecordEditor->EditOfficeMail_2->setText("info@example.jp");
    m.RecordEditor->BtnOfficeMail_2->click();
    m.RecordEditor->BtnPersonalMail_1->click();
    EXPECT_EQ(urls.mid(1), QStringList({"mailto:info@example.jp", "mailto:"}));
}

QByteArray ImageBytes(const char* format) {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

TEST_F(RecordEditor, PictureLoadKeepsTheFileAndRemovalAsksFirst) {
    q2::TFormMain& m = StartShowingFirst();
    q2::TRecordEditor& e = *m.RecordEditor;
    EXPECT_FALSE(e.BtnImg_1_Clear->isEnabled());
    const QByteArray png = ImageBytes("PNG");
    const QString pngPath = Path("photo.png");
    {
        QFile f(pngPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(png);
    }
    runner.fileNames.push_back(pngPath);
    e.BtnImg_1_Load->click();
    EXPECT_TRUE(runner.fileRequests.back().Filter.startsWith(
        "画像ファイル (*.png *.jpg *.jpeg *.bmp);;JPEG イメージファイル (*.jpg *.jpeg);;"));
    EXPECT_EQ(m.CurrentRecord->CommonImg_1.Kind, q2::TPictureKind::Png);
    EXPECT_EQ(m.CurrentRecord->CommonImg_1.Data, png);
    EXPECT_FALSE(e.Img1->pixmap().isNull());
    EXPECT_TRUE(e.BtnImg_1_Clear->isEnabled());
    EXPECT_FALSE(m.Session.Saved());

    // A file whose bytes are not what its name says is refused; the picture stays.
    const QString fake = Path("fake.jpg");
    {
        QFile f(fake);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(png);
    }
    EXPECT_FALSE(e.LoadPicture(fake));
    EXPECT_EQ(prompter.shown.last(),
              "画像ファイル「fake.jpg」は壊れているか形式が違うため読み込めません");
    EXPECT_EQ(m.CurrentRecord->CommonImg_1.Data, png);

    // A metafile is kept byte for byte and shown as a placeholder.
    const QString wmf = Path("drawing.wmf");
    {
        QFile f(wmf);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::fromHex("d7cdc69a0000"));
    }
    EXPECT_TRUE(e.LoadPicture(wmf));
    EXPECT_EQ(m.CurrentRecord->CommonImg_1.Kind, q2::TPictureKind::Metafile);
    EXPECT_EQ(m.CurrentRecord->CommonImg_1.Data, QByteArray::fromHex("d7cdc69a0000"));
    EXPECT_FALSE(e.Img1->pixmap().isNull());

    e.BtnImg_1_Clear->click();  // answered No
    EXPECT_EQ(prompter.asked.last(), "画像を削除しますか？");
    EXPECT_FALSE(m.CurrentRecord->CommonImg_1.IsEmpty());
    prompter.answers.push_back(true);
    e.BtnImg_1_Clear->click();
    EXPECT_TRUE(m.CurrentRecord->CommonImg_1.IsEmpty());
    EXPECT_TRUE(e.Img1->pixmap().isNull());
    EXPECT_FALSE(e.BtnImg_1_Clear->isEnabled());
    EXPECT_TRUE(e.BtnImg_1_Load->isEnabled());
}

// Chooses row `row` of the postal code list and presses OK.
q2::ScriptedDialogRunner::Step ChooseZipRow(int row) {
    return [row](QDialog& d) {
        auto* list = d.findChild<QTreeWidget*>("LVZipList");
        list->setCurrentItem(list->topLevelItem(row));
        QMetaObject::invokeMethod(&d, "BtnOKClick");
        return d.result();
    };
}

TEST_F(RecordEditor, PostalCodeButtonsFillTheSideFromTheChosenRow) {
    q2::TFormMain& m = StartShowingFirst();
    q2::TRecordEditor& e = *m.RecordEditor;
    // Several hits open the list; the chosen row fills the side.
    e.EditPersonalZip_1->setText("100");
    e.EditPersonalZip_2->clear();
    e.EditPersonalAddress_1->setText("かすみがせき");
    QString second;
    runner.dialogs.push_back([&](QDialog& d) {
        second = d.findChild<QTreeWidget*>("LVZipList")->topLevelItem(1)->text(1);
        return ChooseZipRow(1)(d);
    });
    e.BtnPersonalZip->click();
    EXPECT_EQ(runner.seen, QStringList{"郵便番号検索"});
    EXPECT_EQ(m.CurrentRecord->PerSonalZip_1, "100");
    EXPECT_EQ(m.CurrentRecord->PerSonalZip_2.size(), 4);
    EXPECT_FALSE(second.isEmpty());
    EXPECT_EQ(m.CurrentRecord->PerSonalAddress_1, second);

    // From the office address to its code.
    e.EditOfficeAddress_1->setText("千代田区霞が関");
    runner.dialogs.push_back(ChooseZipRow(0));
    e.BtnOfficeAddress->click();
    EXPECT_EQ(runner.seen.size(), 2);
    EXPECT_EQ(m.CurrentRecord->OfficeZip_1, "100");
    EXPECT_EQ(m.CurrentRecord->OfficeZip_2, "0013");
    EXPECT_EQ(m.CurrentRecord->OfficeAddress_1, "東京都千代田区霞が関");

    // No hit: the message, no dialog, the side unchanged.
    e.EditOfficeZip_1->setText("999");
    e.EditOfficeZip_2->setText("9999");
    e.BtnOfficeZip->click();
    EXPECT_EQ(prompter.shown.last(), "郵便番号が不明です");
    EXPECT_EQ(runner.seen.size(), 2);
    EXPECT_EQ(m.CurrentRecord->OfficeZip_1, "999");
    EXPECT_EQ(m.CurrentRecord->OfficeAddress_1, "東京都千代田区霞が関");
}

// The lookups without the mouse: Tab walks each sheet as it reads, button
// before box, and Enter in either postal box looks the code up.
TEST_F(RecordEditor, KeyboardReachesThePostalLookups) {
    q2::TFormMain& m = StartShowingFirst();
    q2::TRecordEditor& e = *m.RecordEditor;
    m.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
    auto walk = [&](QWidget* from, int steps) {
        from->setFocus();
        QStringList names;
        for (int i = 0; i < steps; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            names << QApplication::focusWidget()->objectName();
        }
        return names;
    };
    e.PGPrintType->setCurrentWidget(e.TabSheetPersonal);
    EXPECT_EQ(walk(e.BtnPersonalZip, 5),
              QStringList({"EditPersonalZip_1", "EditPersonalZip_2", "BtnPersonalAddress",
                           "EditPersonalAddress_1", "EditPersonalAddress_2"}));
    e.PGPrintType->setCurrentWidget(e.TabSheetOffice);
    EXPECT_EQ(walk(e.EditOfficialPosition, 4),
              QStringList({"BtnOfficeZip", "EditOfficeZip_1", "EditOfficeZip_2", "BtnOfficeAddress"}));

    struct EnterCase {
        QLineEdit *upper, *lower, *press, *address;
    };
    const EnterCase cases[] = {
        {e.EditPersonalZip_1, e.EditPersonalZip_2, e.EditPersonalZip_2, e.EditPersonalAddress_1},
        {e.EditOfficeZip_1, e.EditOfficeZip_2, e.EditOfficeZip_1, e.EditOfficeAddress_1},
    };
    for (const EnterCase& c : cases) {
        SCOPED_TRACE(c.press->objectName().toStdString());
        c.upper->setText("100");
        c.lower->setText("0013");
        c.address->clear();
        c.press->setFocus();
        QTest::keyClick(c.press, Qt::Key_Return);
        EXPECT_EQ(c.address->text(), "東京都千代田区霞が関");
    }
    EXPECT_TRUE(runner.seen.isEmpty());  // one hit each: no list opened
    EXPECT_EQ(m.CurrentRecord->PerSonalAddress_1, "東京都千代田区霞が関");
    EXPECT_EQ(m.CurrentRecord->OfficeAddress_1, "東京都千代田区霞が関");
}

// On a short screen the editor scrolls; wherever the focus goes in it, the
// box is scrolled into view, also for the new record's postal box.
TEST_F(RecordEditor, TheFocusedBoxStaysInView) {
    q2::TFormMain& m = StartShowingFirst();
    q2::TRecordEditor& e = *m.RecordEditor;
    m.resize(1024, 480);
    m.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
    auto* scroll = m.findChild<QScrollArea*>("ScrollRecordEditor");
    ASSERT_NE(scroll, nullptr);
    ASSERT_LT(scroll->viewport()->height(), e.height());  // it does scroll
    auto inView = [&](QWidget* w) {
        const QRect box(w->mapTo(scroll->viewport(), QPoint(0, 0)), w->size());
        return scroll->viewport()->rect().contains(box);
    };
    e.EditInsertStr[3]->setFocus();
    EXPECT_TRUE(inView(e.EditInsertStr[3]));
    e.PGPrintType->setCurrentWidget(e.TabSheetOffice);
    runner.dialogs.push_back(AddData("山田", "太郎", "ヤマダ", "タロウ"));
    m.pngBtnAddAddressClick();
    EXPECT_EQ(QApplication::focusWidget(), e.EditPersonalZip_1);
    EXPECT_TRUE(inView(e.EditPersonalZip_1));
}

}  // namespace
}  // namespace q2test
