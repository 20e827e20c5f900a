// The list print dialog and the print-type choice offscreen: defaults, the
// type lines, the printer setup, and the print run into a PDF.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/Prompter.h"
#include "print/FormPrintAllAddressList.h"
#include "print/FormSelectPrintType.h"

using namespace q2;

namespace {

QString U(const char16_t* s) {
    return QString::fromUtf16(s);
}

QString RunProgram(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString PdfInfo(const QString& pdf, const QString& key) {
    const QRegularExpression re(QStringLiteral("^%1:\\s+(.*)$").arg(key),
                                QRegularExpression::MultilineOption);
    const auto m = re.match(RunProgram("pdfinfo", {pdf}));
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

std::vector<TUserInfo> MakeRecords(int n) {
    std::vector<TUserInfo> v(n);
    for (int i = 0; i < n; ++i) {
        v[i].PerSonalName_1 = QStringLiteral("R%1").arg(i, 3, 10, QLatin1Char('0'));
        v[i].CommonPrintCheck = true;
    }
    return v;
}

std::vector<TUserInfo*> Pointers(std::vector<TUserInfo>& v) {
    std::vector<TUserInfo*> out;
    for (TUserInfo& r : v) out.push_back(&r);
    return out;
}

QColor LineColour(const TFormPrintAllAddressList& f, int t) {
    return f.LblBkType[t]->palette().color(QPalette::Window);
}

class ListPrintDialog : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    ScopedPrompter scoped{prompter};
    TFormPrintAllAddressList form;
    QString Pdf() const { return dir.filePath("list.pdf"); }
    void PrintIntoFile() { form.Printer().setOutputFileName(Pdf()); }
};

}  // namespace

TEST_F(ListPrintDialog, CaptionsAndDefaultsAndNoSettingKeptBetweenOpenings) {
    EXPECT_EQ(form.windowTitle(), U(u"一覧印刷"));
    EXPECT_EQ(form.BtnPrintStart->text(), U(u"印刷開始"));
    EXPECT_EQ(form.BtnCancel->text(), U(u"キャンセル"));
    EXPECT_EQ(form.BtnPrinterConfig->text(), U(u"プリンタ設定"));
    EXPECT_EQ(form.GBPrintContentType->title(),
              U(u"印刷する項目（用紙幅により印刷されない場合があります）"));
    EXPECT_EQ(form.RBPrintType[5]->text(), U(u"ﾀｲﾌﾟ５"));
    EXPECT_EQ(form.LblBkType[2]->text(), U(u" 名前｜分類１｜分類２｜用途｜備考｜"));
    auto expectDefaults = [&] {
        EXPECT_TRUE(form.RBPrintDirectionHorizontal->isChecked());
        EXPECT_FALSE(form.RBPrintDirectionVertical->isChecked());
        EXPECT_EQ(form.SENumberOfCopies->value(), 1);
        EXPECT_EQ(form.SENumberOfCopies->minimum(), 1);
        EXPECT_EQ(form.SENumberOfCopies->maximum(), 99);
        EXPECT_TRUE(form.CBPrintPageNumber->isChecked());
        EXPECT_TRUE(form.CBPrintLine->isChecked());
        EXPECT_EQ(form.PrintType(), 1);
        EXPECT_EQ(LineColour(form, 1), QColor(255, 180, 180));
        for (int t = 2; t <= 5; ++t)
            EXPECT_EQ(LineColour(form, t), form.palette().color(QPalette::Button));
    };
    expectDefaults();
    form.RBPrintDirectionVertical->setChecked(true);
    form.SENumberOfCopies->setValue(7);
    form.CBPrintLine->setChecked(false);
    form.SelectPrintType(4);
    PrintIntoFile();
    form.FormShow();
    expectDefaults();
    EXPECT_TRUE(form.Printer().outputFileName().isEmpty());
}

TEST_F(ListPrintDialog, ClickingATypeLineChoosesItsTypeAndColour) {
    form.show();
    QTest::mouseClick(form.LblBkType[3], Qt::LeftButton);
    EXPECT_EQ(form.PrintType(), 3);
    EXPECT_TRUE(form.RBPrintType[3]->isChecked());
    EXPECT_EQ(LineColour(form, 3), QColor(255, 180, 180));
    EXPECT_NE(LineColour(form, 1), QColor(255, 180, 180));
    form.RBPrintType[5]->click();
    EXPECT_EQ(LineColour(form, 5), QColor(255, 180, 180));
    EXPECT_NE(LineColour(form, 3), QColor(255, 180, 180));
    EXPECT_EQ(form.CurrentSetup().Type, 5);
}

TEST_F(ListPrintDialog, CopiesGoToThePrinterAtOnce) {
    form.SENumberOfCopies->setValue(3);
    EXPECT_EQ(form.Printer().copyCount(), 3);
    form.SENumberOfCopies->setValue(120);
    EXPECT_EQ(form.SENumberOfCopies->value(), 99);
}

TEST_F(ListPrintDialog, PrinterSetupShowsWhatTheUserChoseAndCancelChangesNothing) {
    form.SetPrinterSetup([](QPrinter& p, QWidget*) {
        EXPECT_EQ(p.copyCount(), 2);  // the copy count is handed to the setup
        p.setPageOrientation(QPageLayout::Portrait);
        p.setCopyCount(4);
        return true;
    });
    form.SENumberOfCopies->setValue(2);
    form.PrinterConfig();
    EXPECT_TRUE(form.RBPrintDirectionVertical->isChecked());
    EXPECT_EQ(form.SENumberOfCopies->value(), 4);
    form.SetPrinterSetup([](QPrinter& p, QWidget*) {
        p.setPageOrientation(QPageLayout::Landscape);
        p.setCopyCount(9);
        return false;
    });
    form.PrinterConfig();
    EXPECT_TRUE(form.RBPrintDirectionVertical->isChecked());
    EXPECT_EQ(form.SENumberOfCopies->value(), 4);
}

TEST_F(ListPrintDialog, PrintStartAsksThenPrintsTheMarkedRecordsAndCloses) {
    std::vector<TUserInfo> v = MakeRecords(84);
    v[10].CommonPrintCheck = false;
    form.TakeRecords(Pointers(v));
    PrintIntoFile();
    prompter.answers = {true};
    ASSERT_TRUE(form.PrintStart());
    EXPECT_EQ(prompter.asked, QStringList{U(u"印刷を開始しますか？")});
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(PdfInfo(Pdf(), "Title"), U(u"-住所録一覧印刷-"));
    // Landscape A4 at the printer's resolution: fewer rows, so 83 marked
    // records take more pages than in portrait.
    const TListPageSetup s = form.CurrentSetup();
    EXPECT_GT(s.PaperWidth.v, s.PaperHeight.v);
    const TListJob job = MakeListJob(form.Records(), s);
    EXPECT_EQ(PdfInfo(Pdf(), "Pages"), QString::number(job.PageCount));
    EXPECT_GT(job.PageCount, 1);
    const QString text = RunProgram("pdftotext", {Pdf(), "-"});
    EXPECT_TRUE(text.contains("R083"));
    EXPECT_FALSE(text.contains("R010"));
    // The narrow blanks of the proportional face do not always come back.
    EXPECT_TRUE(QString(text).remove(' ').contains(QStringLiteral("-%1-").arg(job.PageCount)));
}

TEST_F(ListPrintDialog, PortraitTypeTwoWithoutPageNumbers) {
    std::vector<TUserInfo> v = MakeRecords(2);
    v[0].CommonMemo = U(u"備考欄\r\nの文");
    form.TakeRecords(Pointers(v));
    PrintIntoFile();
    form.RBPrintDirectionVertical->setChecked(true);
    form.CBPrintPageNumber->setChecked(false);
    form.SelectPrintType(2);
    prompter.answers = {true};
    ASSERT_TRUE(form.PrintStart());
    EXPECT_EQ(PdfInfo(Pdf(), "Pages"), "1");
    EXPECT_TRUE(PdfInfo(Pdf(), "Page size").contains("595"))
        << PdfInfo(Pdf(), "Page size").toStdString();
    const QString text = RunProgram("pdftotext", {Pdf(), "-"});
    EXPECT_TRUE(text.contains(U(u"備考欄の文")));
    EXPECT_TRUE(text.contains(U(u"用途")));
    EXPECT_FALSE(QString(text).remove(' ').contains("-1-"));
}

TEST_F(ListPrintDialog, AnswerNoOrNothingMarkedPrintsNothing) {
    std::vector<TUserInfo> v = MakeRecords(3);
    form.TakeRecords(Pointers(v));
    PrintIntoFile();
    prompter.answers = {false};
    EXPECT_FALSE(form.PrintStart());
    EXPECT_FALSE(QFile::exists(Pdf()));
    for (TUserInfo& r : v) r.CommonPrintCheck = false;
    prompter.answers = {true};
    EXPECT_FALSE(form.PrintStart());
    EXPECT_FALSE(QFile::exists(Pdf()));
    EXPECT_EQ(prompter.shown.last(), U(u"印刷するデータがありません。"));
}

TEST(SelectPrintType, EachButtonClosesWithItsResult) {
    TFormSelectPrintType form;
    EXPECT_EQ(form.windowTitle(), U(u"印刷選択"));
    struct Case {
        QPushButton* button;
        const char16_t* caption;
        int result;
        TPrintTypeChoice choice;
    };
    const Case cases[] = {
        {form.BtnAddressPrint, u"宛名印刷（ハガキ・封筒・タックシール）", QDialog::Accepted,
         TPrintTypeChoice::AddressPrint},
        {form.BtnListPrint, u"一覧印刷", TFormSelectPrintType::kListPrintResult,
         TPrintTypeChoice::ListPrint},
        {form.BtnCancel, u"キャンセル", QDialog::Rejected, TPrintTypeChoice::Cancel},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.button->text(), U(c.caption));
        form.setResult(-1);
        form.show();
        c.button->click();
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.result(), c.result);
        EXPECT_EQ(TFormSelectPrintType::ChoiceOf(form.result()), c.choice);
    }
    EXPECT_EQ(TFormSelectPrintType::ChoiceOf(42), TPrintTypeChoice::Cancel);
}
