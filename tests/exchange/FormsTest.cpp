// The import, export and search dialogs, driven offscreen through their handlers.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include "QStringPrinter.h"
#include "exchange/CsvExport.h"
#include "exchange/FormExport.h"
#include "exchange/FormImport.h"
#include "exchange/FormSearch.h"
#include "model/DataPaths.h"
#include "model/ListFile.h"
#include "platform/Clock.h"
#include "platform/Cp932.h"
#include "platform/Prompter.h"

using namespace q2;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void Choose(TFormImport& form, const QString& destination, int row) {
    const auto items = form.ListBoxContents->findItems(destination, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    form.ListBoxContents->setCurrentItem(items[0]);
    form.SGMain->setCurrentCell(row, 1);
    form.SBAddContentClick();
}

QStringList Column(const TFormImport& form, int column) {
    QStringList out;
    for (int r = 0; r < form.SGMain->rowCount(); ++r) out << form.SGMain->item(r, column)->text();
    return out;
}

class ImportForm : public ::testing::Test {
protected:
    ScriptedPrompter prompter;
    ScopedPrompter scope{prompter};
    TFormImport form;
    TUserInfoList book;
};

}  // namespace

TEST_F(ImportForm, GridPreviewAndMapping) {
    QStringList records = {"a,b,c", "1,2,3,4,5", "\"一行目\r\n二行目\",x,y,z"};
    form.Open(records, book);
    form.show();
    EXPECT_EQ(records[2], QString("\"一行目#BR#二行目\",x,y,z"));
    EXPECT_EQ(form.SGMain->rowCount(), 5);
    EXPECT_EQ(form.ListBoxContents->count(), 41);
    EXPECT_EQ(Column(form, 0), QStringList({"a", "b", "c", "", ""}));
    EXPECT_EQ(form.LblPageCount->text(), QString("1/3"));
    form.SBPrevClick();  // from the first to the last
    EXPECT_EQ(form.LblPageCount->text(), QString("3/3"));
    EXPECT_EQ(Column(form, 0), QStringList({"一行目二行目", "x", "y", "z", ""}));
    form.SBNextClick();
    EXPECT_EQ(form.LblPageCount->text(), QString("1/3"));

    Choose(form, "個人名前", 0);
    Choose(form, "備考", 1);
    Choose(form, "個人名前", 2);  // moves from row 0
    EXPECT_EQ(Column(form, 1), QStringList({"", "備考", "個人名前", "", ""}));
    form.SGMain->setCurrentCell(1, 1);
    form.SBDelContentClick();
    EXPECT_EQ(Column(form, 1), QStringList({"", "", "個人名前", "", ""}));
    Choose(form, "備考", 0);
    Choose(form, "性別", 1);  // replaces nothing on a free row
    form.SGMain->setCurrentCell(1, 1);
    Choose(form, "履歴", 1);  // replaces what stood there
    EXPECT_EQ(Column(form, 1), QStringList({"備考", "履歴", "個人名前", "", ""}));

    form.ListBoxContents->clearSelection();
    form.SGMain->setCurrentCell(3, 1);
    form.SBAddContentClick();
    EXPECT_EQ(prompter.shown, QStringList({"追加する項目を選択して下さい"}));
    EXPECT_EQ(form.SGMain->item(3, 1)->text(), QString());

    form.BtnImportClick();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    ASSERT_EQ(book.Count(), 3);
    EXPECT_EQ(book.Item(2)->CommonMemo, QString("一行目\r\n二行目"));
    EXPECT_EQ(book.Item(2)->PerSonalName_1, QString("ｙ"));  // full width
    EXPECT_EQ(prompter.shown.last(), QString("3件の追加を完了しました"));
}

TEST_F(ImportForm, SkipFirstLineWrapAndProgress) {
    QStringList records;
    for (int i = 0; i < 10; ++i) records << QStringLiteral("名%1").arg(i);
    form.Open(records, book);
    form.show();
    for (int i = 0; i < 9; ++i) form.SBNextClick();
    EXPECT_EQ(form.LblPageCount->text(), QString("10/10"));
    form.SBNextClick();
    EXPECT_EQ(form.LblPageCount->text(), QString("1/10"));
    EXPECT_EQ(form.SGMain->item(0, 0)->text(), QString("名0"));
    Choose(form, "差込１", 0);
    form.CBFirstLineDisregarded->setChecked(true);
    form.BtnImportClick();
    EXPECT_EQ(book.Count(), 9);
    EXPECT_EQ(book.Item(0)->CommonInsertStr_1, QString("名1"));
    EXPECT_EQ(prompter.shown.last(), QString("9件の追加を完了しました"));
    EXPECT_EQ(form.ProgressBarStatus->maximum(), 9);
    EXPECT_EQ(form.ProgressBarStatus->value(), 9);

    // The next opening starts afresh.
    QStringList again = {"x"};
    form.Open(again, book);
    EXPECT_FALSE(form.CBFirstLineDisregarded->isChecked());
    EXPECT_EQ(Column(form, 1), QStringList({""}));
    EXPECT_EQ(form.ProgressBarStatus->value(), 0);
}

TEST_F(ImportForm, DuplicatesAreMarkedInThePreviewAndSettledAsChosen) {
    auto* yamada = book.Add();
    yamada->PerSonalName_1 = "山田";
    yamada->PerSonalName_2 = "太郎";
    yamada->PerSonalKana_1 = "ヤマダ";
    yamada->PerSonalKana_2 = "タロウ";
    yamada->PerSonalZip_1 = "100";
    yamada->PerSonalZip_2 = "0001";
    QStringList records = {"やまだ たろう,1000001,東京都", "スズキ ハナコ,150-0002,渋谷区",
                           "すずき はなこ,1500002,渋谷区"};
    form.Open(records, book);
    Choose(form, "個人フリガナ", 0);
    Choose(form, "個人郵便番号", 1);
    Choose(form, "個人住所１", 2);
    EXPECT_EQ(form.LblDuplicate->text(), QString("既存の記録「山田 太郎」と重複しています"));
    EXPECT_TRUE(form.CBDuplicateAction->isEnabled());
    EXPECT_EQ(form.CBDuplicateAction->currentText(), QString("追加する"));
    form.CBDuplicateAction->setCurrentIndex(2);
    form.CBDuplicateActionChanged(2);  // 既存の記録を更新
    form.SBNextClick();
    EXPECT_EQ(form.LblDuplicate->text(), QString());
    EXPECT_FALSE(form.CBDuplicateAction->isEnabled());
    form.SBNextClick();
    EXPECT_EQ(form.LblDuplicate->text(), QString("2件目と重複しています"));
    form.CBDuplicateAction->setCurrentIndex(1);
    form.CBDuplicateActionChanged(1);  // スキップ
    // Back on the first row the choice made there is shown.
    form.SBNextClick();
    EXPECT_EQ(form.CBDuplicateAction->currentText(), QString("既存の記録を更新"));
    EXPECT_TRUE(form.CBMarkForPrint->isChecked());
    form.CBMarkForPrint->setChecked(false);
    form.BtnImportClick();
    EXPECT_EQ(prompter.shown.last(), QString("1件の追加を完了しました（スキップ 1件、更新 1件）"));
    ASSERT_EQ(book.Count(), 2);
    EXPECT_EQ(book.Item(0)->PerSonalAddress_1, QString("東京都"));  // updated
    EXPECT_FALSE(book.Item(1)->CommonPrintCheck);
    EXPECT_EQ(book.Item(1)->PersonalFullZip(), QString("150-0002"));

    // "すべての重複に適用" gives every duplicate the shown choice; the next
    // opening ticks the print box again.
    QStringList again = records;
    form.Open(again, book);
    EXPECT_TRUE(form.CBMarkForPrint->isChecked());
    Choose(form, "個人フリガナ", 0);
    Choose(form, "個人郵便番号", 1);
    form.CBDuplicateAction->setCurrentIndex(1);
    form.BtnApplyToAllClick();
    form.BtnImportClick();
    EXPECT_EQ(prompter.shown.last(), QString("0件の追加を完了しました（スキップ 3件、更新 0件）"));
    EXPECT_EQ(book.Count(), 2);
}

TEST_F(ImportForm, FileWithoutRecordsOpensNoDialog) {
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty.csv");
    QFile f(empty);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    // Bytes with NULs that are not UTF-16: a binary file, not a CSV.
    const QString binary = dir.filePath("binary.csv");
    QFile b(binary);
    ASSERT_TRUE(b.open(QIODevice::WriteOnly));
    b.write(QByteArray("a,b\0\x01\x02,c\r\n\0\0\x8F\xFF", 14));
    b.close();
    EXPECT_EQ(RunImport(form, empty, book), TImportRun::NotRun);
    EXPECT_EQ(RunImport(form, binary, book), TImportRun::NotRun);
    EXPECT_EQ(RunImport(form, dir.filePath("missing.csv"), book), TImportRun::NotRun);
    EXPECT_EQ(RunImport(form, dir.path(), book), TImportRun::NotRun);
    EXPECT_EQ(book.Count(), 0);
    EXPECT_EQ(prompter.shown,
              QStringList({"ファイル " + empty + " には取り込むデータがありません",
                           "ファイル " + binary + " には取り込むデータがありません",
                           "ファイル " + dir.filePath("missing.csv") + " が見つかりません",
                           dir.path() + " はファイルではありません"}));
    EXPECT_FALSE(form.isVisible());
}

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

TEST_F(ImportForm, VcardFilePreviewsEachCardAndNamesWhatIsSkipped) {
    QTemporaryDir dir;
    const QString path = dir.filePath("contacts.vcf");
    WriteFile(path,
              "BEGIN:VCARD\r\nVERSION:3.0\r\nN:鈴木;花子;;;\r\nX-PHONETIC-LAST-NAME:すずき\r\n"
              "NICKNAME:はな\r\nTEL;TYPE=WORK:03-5555-0000\r\nEND:VCARD\r\n"
              "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=SHIFT_JIS:\x8E\x52\x93\x63;\x91\xBE\x98\x59\r\n"
              "END:VCARD\r\n");
    std::optional<TImportFile> file = ReadImportFile(path);
    ASSERT_TRUE(file.has_value());
    form.OpenFile(*file, book);
    form.show();
    EXPECT_EQ(form.LblPageCount->text(), QString("1/2"));
    EXPECT_EQ(Column(form, 1), QStringList({"個人フリガナ", "個人名前", "会社電話"}));
    EXPECT_EQ(Column(form, 0), QStringList({"スズキ", "鈴木 花子", "03-5555-0000"}));
    EXPECT_EQ(form.LblInfo->text(), QString("vCard 2件：取り込まない項目 NICKNAME 1件"));
    EXPECT_FALSE(form.ListBoxContents->isEnabled());
    EXPECT_FALSE(form.CBFirstLineDisregarded->isEnabled());
    form.SBNextClick();
    EXPECT_EQ(form.LblPageCount->text(), QString("2/2"));
    EXPECT_EQ(Column(form, 0), QStringList({"山田 太郎"}));
    form.BtnImportClick();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    ASSERT_EQ(book.Count(), 2);
    EXPECT_EQ(book.Item(1)->PerSonalName_1, QString("山田"));
    EXPECT_EQ(prompter.shown, QStringList({"2件の追加を完了しました"}));

    // The next CSV opening gives the mapping back to the user.
    QStringList records = {"a,b"};
    form.Open(records, book);
    EXPECT_TRUE(form.ListBoxContents->isEnabled());
    EXPECT_EQ(form.LblInfo->text(), QString());
}

TEST_F(ImportForm, OwnExportWithHeaderNeedsNoMappingByHand) {
    QTemporaryDir dir;
    TUserInfoList sample;
    ASSERT_TRUE(sample.LoadFromFile(QStringLiteral(Q2_SOURCE_DIR "/data/sample.QT2")));
    TExportOptions o;
    for (int c = 0; c < kExportColumnCount; ++c) o.Columns.push_back(c);
    o.Header = true;
    const QString path = dir.filePath("own.csv");
    WriteFile(path, ComposeCsv(sample, o, QDate(2024, 6, 1)).Bytes);
    std::optional<TImportFile> file = ReadImportFile(path);
    ASSERT_TRUE(file.has_value());
    form.OpenFile(*file, book);
    form.show();
    EXPECT_TRUE(form.CBFirstLineDisregarded->isChecked());
    EXPECT_EQ(form.LblInfo->text(),
              QString("1行目を「本ソフトのエクスポート」の見出しと判断し、項目対応表を設定しました。"));
    const QStringList mapped = Column(form, 1);
    for (int c = 0; c < kExportColumnCount; ++c)
        EXPECT_EQ(mapped[c], ImportDestinationOfExportColumn(c)) << c;
    form.BtnImportClick();
    ASSERT_EQ(book.Count(), sample.Count());
    for (int i = 0; i < sample.Count(); ++i) {
        EXPECT_EQ(book.Item(i)->PerSonalAddress_1, sample.Item(i)->PerSonalAddress_1);
        EXPECT_EQ(book.Item(i)->CommonHistoryObjectList, sample.Item(i)->CommonHistoryObjectList);
    }
}

TEST_F(ImportForm, UnreadableVcardLeavesTheBookAlone) {
    QTemporaryDir dir;
    book.Add()->PerSonalName_1 = "既存";
    const QString path = dir.filePath("broken.vcf");
    WriteFile(path, QByteArray("\xFF\xD8\x00\x01 not a card at all\r\nEND:VCARD", 30));
    EXPECT_EQ(RunImport(form, path, book), TImportRun::NotRun);
    EXPECT_EQ(prompter.shown, QStringList({"ファイル " + path + " には取り込むデータがありません"}));
    ASSERT_EQ(book.Count(), 1);
    EXPECT_EQ(book.Item(0)->PerSonalName_1, QString("既存"));
}

namespace {

class ExportForm : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 3; ++i) book.Add()->PerSonalName_1 = QStringLiteral("名%1").arg(i);
        path = dir.filePath("out.csv");
        form.Open(path, book);
        form.show();
    }
    void Only(std::initializer_list<int> columns) {
        for (QCheckBox* b : form.FieldBoxes) b->setChecked(false);
        for (int c : columns) form.FieldBoxes[c]->setChecked(true);
    }
    ScriptedPrompter prompter;
    ScopedPrompter scope{prompter};
    QTemporaryDir dir;
    QString path;
    TFormExport form;
    TUserInfoList book;
};

}  // namespace

TEST_F(ExportForm, OpensWithEveryBoxTickedInThreeGroups) {
    ASSERT_EQ(form.FieldBoxes.size(), 43u);
    for (QCheckBox* b : form.FieldBoxes)
        EXPECT_TRUE(b->isChecked()) << b->objectName().toStdString();
    EXPECT_FALSE(form.CBMidashi->isChecked());
    EXPECT_FALSE(form.CBUtf8->isChecked());
    EXPECT_EQ(form.GBPersonal->findChildren<QCheckBox*>().size(), 13);
    EXPECT_EQ(form.GBOffice->findChildren<QCheckBox*>().size(), 12);
    EXPECT_EQ(form.GBCommon->findChildren<QCheckBox*>().size(), 18);
    EXPECT_EQ(form.FieldBoxes[11]->objectName(), QString("CBPersonalAge"));
}

TEST_F(ExportForm, NothingTickedKeepsTheDialogOpen) {
    Only({});
    form.BtnExportClick();
    EXPECT_EQ(prompter.shown, QStringList({"エクスポートする項目を1つ以上選択してください"}));
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(QFile::exists(path));
    for (QCheckBox* b : form.FieldBoxes) EXPECT_FALSE(b->isChecked());
}

TEST_F(ExportForm, HeaderAndRecordsThenUtf8) {
    Only({0, 41});
    form.CBMidashi->setChecked(true);
    form.BtnExportClick();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(prompter.shown, QStringList({"3件の出力を完了しました"}));
    EXPECT_EQ(DecodeCp932(ReadAll(path)),
              QString("個人名前,備考\r\n\"名0 \",\r\n\"名1 \",\r\n\"名2 \",\r\n"));
    EXPECT_EQ(form.ProgressBarStatus->maximum(), 2);

    form.Open(path, book);  // every opening starts with all boxes and no header
    EXPECT_FALSE(form.CBMidashi->isChecked());
    Only({41});
    form.CBUtf8->setChecked(true);
    form.BtnExportClick();
    EXPECT_EQ(ReadAll(path), QByteArray("\xEF\xBB\xBF\"\"\r\n\"\"\r\n\"\"\r\n"));
}

TEST_F(ExportForm, UnencodableTextIsAskedAboutAndFailuresReported) {
    book.Item(0)->CommonMemo = QStringLiteral("𠮷");
    Only({41});
    form.BtnExportClick();  // the scripted answer is No
    EXPECT_EQ(prompter.asked.size(), 1);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(form.isVisible());

    const QString bad = dir.filePath("no/such/folder/out.csv");
    form.Open(bad, book);
    form.show();
    Only({41});
    form.CBUtf8->setChecked(true);
    form.BtnExportClick();
    EXPECT_EQ(prompter.shown.last(),
              "ファイル " + bad + " を作成できません\n保存先のフォルダがありません: " + bad);
    EXPECT_EQ(form.result(), QDialog::Rejected);
}

namespace {

class SearchForm : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
        QDir().mkpath(QFileInfo(GetCategory1Path()).path());
        ASSERT_TRUE(SaveListFile(GetCategory1Path(), {"友人", "仕事", "家族"}));
        form.show();
    }
    void UseRow(int row, int topic, const QString& operand, const QString& op) {
        form.CBUseCondition[row]->setChecked(true);
        form.CB_Topic1[row]->setCurrentIndex(topic);
        form.CB_Topic2[row]->setEditText(operand);
        form.CB_Topic3[row]->setCurrentText(op);
    }
    static QStringList Items(QComboBox* box) {
        QStringList out;
        for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
        return out;
    }
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    ScopedPrompter scope{prompter};
    TFormSearch form;
};

}  // namespace

TEST_F(SearchForm, RowsStartWithTopicZeroAndFollowTheTopic) {
    for (int i = 0; i < kSearchRowCount; ++i) {
        EXPECT_EQ(form.CB_Topic1[i]->currentIndex(), 0);
        EXPECT_EQ(Items(form.CB_Topic3[i]), QStringList({SearchOp::Equals, SearchOp::Differs}));
        EXPECT_EQ(form.CB_Topic2[i]->currentText(), QString("印刷する"));
    }
    EXPECT_EQ(form.CBUseCondition[4]->text(), QString("検索条件5を使用する"));
    form.CB_Topic1[1]->setCurrentIndex(35);
    EXPECT_EQ(Items(form.CB_Topic2[1]), QStringList({"友人", "仕事", "家族"}));
    EXPECT_EQ(Items(form.CB_Topic3[1]), QStringList({SearchOp::Equals, SearchOp::Differs}));
    EXPECT_EQ(form.CB_Topic2[1]->currentText(), QString("友人"));
    form.CB_Topic1[1]->setCurrentIndex(13);
    EXPECT_EQ(form.CB_Topic2[1]->count(), 0);
    EXPECT_EQ(form.CB_Topic2[1]->currentText(), QString());
    EXPECT_EQ(form.CB_Topic3[1]->currentText(), SearchOp::Greater);
    EXPECT_EQ(form.CB_Topic2[1]->lineEdit()->property("inputMode").toString(), QString("off"));
    form.CB_Topic1[1]->setCurrentIndex(1);
    EXPECT_EQ(form.CB_Topic2[1]->lineEdit()->property("inputMode").toString(), QString("katakana"));
}

TEST_F(SearchForm, StartWithoutConditionsStaysOpenAndCancelClosesWithNoHits) {
    TUserInfo r;
    EXPECT_TRUE(form.Matches(r, 1));  // range 0 at start
    form.BtnStartClick();
    EXPECT_EQ(prompter.shown, QStringList({"検索条件を1つ以上選択してください"}));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.SearchRange(), kSearchRangeNone);
    form.BtnCancelClick();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);
    for (int row = 0; row <= 12; ++row) EXPECT_FALSE(form.Matches(r, row));
}

TEST_F(SearchForm, StartedSearchMatchesWithRangeAndKeepsItsConditions) {
    UseRow(0, 2, "田", SearchOp::Contains);
    form.RangeButtons[2]->setChecked(true);  // カ行
    form.BtnStartClick();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.SearchRange(), 2);
    TUserInfo kubota, kato;
    kubota.PerSonalName_1 = "窪田";
    kato.PerSonalName_1 = "加藤";
    EXPECT_TRUE(form.Matches(kubota, 2));
    EXPECT_FALSE(form.Matches(kubota, 1));
    EXPECT_FALSE(form.Matches(kato, 2));
    // A changed control is read at the next test, and the range only moves on start.
    form.CB_Topic2[0]->setEditText("藤");
    form.RangeButtons[0]->setChecked(true);
    EXPECT_TRUE(form.Matches(kato, 2));
    EXPECT_FALSE(form.Matches(kato, 3));
    // Rows whose box is off are ignored even when filled in.
    form.CB_Topic1[1]->setCurrentIndex(2);
    form.CB_Topic2[1]->setEditText("窪");
    EXPECT_TRUE(form.Matches(kato, 2));
    form.CBUseCondition[1]->setChecked(true);
    EXPECT_FALSE(form.Matches(kato, 2));
}

TEST_F(ExportForm, VcardPathWritesEveryRecordInTheChosenVersion) {
    // The UIDs of the cards are kept in the data folder.
    qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
    const QString vcf = dir.filePath("out.vcf");
    form.Open(vcf, book);
    EXPECT_FALSE(form.GBPersonal->isVisible());
    EXPECT_FALSE(form.CBMidashi->isVisible());
    EXPECT_TRUE(form.CBVcardVersion->isVisible());
    form.CBVcardVersion->setCurrentText("4.0");
    form.BtnExportClick();
    EXPECT_EQ(prompter.shown, QStringList({"3件の出力を完了しました"}));
    const QByteArray bytes = ReadAll(vcf);
    EXPECT_TRUE(bytes.startsWith("BEGIN:VCARD\r\nVERSION:4.0\r\n"));
    EXPECT_EQ(bytes.count("BEGIN:VCARD"), 3);
    EXPECT_EQ(bytes.count("\r\nUID:"), 3);
    EXPECT_TRUE(QFile::exists(dir.filePath("Zabelle/Quintaro2/vcard-uid.txt")));
    // A CSV path afterwards shows the field boxes again.
    form.Open(path, book);
    EXPECT_FALSE(form.GBPersonal->isHidden());
    EXPECT_TRUE(form.CBVcardVersion->isHidden());
}

TEST_F(SearchForm, AReadyConditionAloneStartsTheSearchForTheChosenSeason) {
    EXPECT_EQ(form.GBSeason->title(), SeasonCaption(DefaultSeason(Today())));
    form.SetSeason(2027);
    EXPECT_EQ(form.GBSeason->title(), QString("2027年 年賀状"));
    EXPECT_EQ(form.CBSeasonCondition[0]->text(), QString("昨年受け取った人"));
    form.CBSeasonCondition[0]->setChecked(true);
    form.BtnStartClick();
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    TUserInfo r;
    r.CommonHistoryObjectList.Add({QDate(2026, 1, 3), "年賀状受取", ""});
    EXPECT_TRUE(form.Matches(r, 12));
    // The main window's season moves the conditions with it.
    form.SetSeason(2028);
    EXPECT_FALSE(form.Matches(r, 12));
    form.SetSeason(2026);
    EXPECT_FALSE(form.Matches(r, 12));
    form.SetSeason(2027);
    form.CBSeasonCondition[2]->setChecked(true);
    r.CommonHistoryObjectList.Add({QDate(2026, 12, 1), "喪中欠礼", ""});
    EXPECT_FALSE(form.Matches(r, 12));
}
