// The "確認" list in the print dialog and the bulk mail dialog, offscreen:
// "中止" stops the job, "このまま続ける" goes on, a fix changes its field.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include "mail/FormDirectMail.h"
#include "model/DataPaths.h"
#include "platform/DataFolder.h"
#include "platform/Prompter.h"
#include "preflight/FormPreflight.h"
#include "print/FormPrintAddress.h"
#include "tests/app/QStringPrinter.h"

namespace q2 {
namespace {

QString U(const char16_t* s) { return QString::fromUtf16(s); }

// A scripted presenter: fixes the rows asked for, then answers.
struct ScriptedPresenter {
    QList<int> fixRows;
    bool answer = false;
    QStringList shown;  // "code field" of every line shown
    QList<TUserInfo*> applied;
    ScriptedPresenter() {
        InstallPreflightDialog([this](TUserInfo& r, const TUserInfo&) { applied << &r; });
        SetPreflightPresenter([this](TFormPreflight& form) {
            for (const TPreflightFinding& f : form.Findings()) shown << PreflightCodeName(f.Code) + ' ' + f.Field;
            for (int row : fixRows) EXPECT_TRUE(form.FixRow(row));
            EXPECT_EQ(form.LVFindings->rowCount(), form.Findings().size());
            return answer;
        });
    }
    ~ScriptedPresenter() { SetPreflightPresenter({}); }
};

class PreflightHooks : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("XDG_DATA_HOME", QDir(dir.path()).filePath("data").toUtf8());
        ASSERT_TRUE(EnsureDataFolder());
        QDir().mkpath(QFileInfo(GetZipDataPath()).path());
        ASSERT_TRUE(QFile::copy(QStringLiteral(Q2_SOURCE_DIR "/data/zip/zip.dat"), GetZipDataPath()));
    }
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    ScopedPrompter scoped{prompter};
};

TUserInfo Record(const char16_t* zip1, const char16_t* zip2) {
    TUserInfo r;
    r.CommonUseTypePersonal = true;
    r.CommonPrintCheck = true;
    r.PerSonalName_1 = U(u"山田");
    r.PerSonalName_2 = U(u"太郎");
    r.PerSonalHonorificTitle = U(u"様");
    r.PerSonalZip_1 = U(zip1);
    r.PerSonalZip_2 = U(zip2);
    r.PerSonalAddress_1 = U(u"東京都千代田区霞が関1-1");
    r.PerSonalMail_1 = QStringLiteral("yamada@example.jp");
    return r;
}

TEST_F(PreflightHooks, PrintDialogStopsOnAbortAndGoesOnAfterAFix) {
    TUserInfo good = Record(u"100", u"0013"), unknown = Record(u"123", u"4567");
    TSenderInfoList senders;
    while (senders.Count() < TSenderInfoList::kSenderCount) senders.Add();
    TFormPrintAddress form;
    form.SetDataFiles(QStringLiteral(Q2_SOURCE_DIR "/data/paper.cfg"), dir.filePath("config.ini"));
    form.TakeRecords({&good, &unknown}, senders);
    form.FormShow();
    // The check runs once the printer is chosen, since what that printer can
    // reach is part of it; the jobs go to PDF files.
    int setups = 0, printed = 0;
    form.SetPrinterSetup([&](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("job%1.pdf").arg(++setups)));
        return true;
    });
    auto jobs = [&] {
        printed = 0;
        for (int i = 1; i <= setups; ++i) printed += QFile::exists(dir.filePath(QStringLiteral("job%1.pdf").arg(i)));
        return printed;
    };

    ScriptedPresenter presenter;
    presenter.fixRows = {0};  // 123-4567 → 100-0013, found from the address
    EXPECT_FALSE(form.PrintAll());
    EXPECT_EQ(presenter.shown, QStringList{QStringLiteral("zip-unknown PerSonalZip_1")});
    EXPECT_EQ(jobs(), 0);  // 中止: nothing was printed
    EXPECT_EQ(unknown.PersonalFullZip(), QStringLiteral("100-0013"));
    EXPECT_EQ(presenter.applied, QList<TUserInfo*>{&unknown});

    // Nothing left to look at: no list, straight to the printer.
    presenter.shown.clear();
    EXPECT_TRUE(form.PrintAll());
    EXPECT_TRUE(presenter.shown.isEmpty());
    EXPECT_EQ(jobs(), 1);

    unknown.PerSonalZip_2 = QStringLiteral("9999");
    presenter.fixRows.clear();
    presenter.answer = true;  // このまま続ける
    EXPECT_TRUE(form.PrintAll());
    EXPECT_EQ(presenter.shown.size(), 1);
    EXPECT_EQ(jobs(), 2);
    EXPECT_EQ(unknown.PerSonalZip_2, QStringLiteral("9999"));
}

TEST_F(PreflightHooks, MailDialogTakesTheSubstituteIntoItsTemplate) {
    TUserInfo a = Record(u"100", u"0013"), b = Record(u"100", u"0013");
    b.CommonInsertStr_1 = U(u"髙橋");
    b.PerSonalMail_1.clear();
    std::vector<TUserInfo*> list{&a, &b};
    TthMailConfig config;
    TFormDirectMail form;
    form.SetUp(list, config);
    form.EditSubject->setText(U(u"㈱ゼベルより"));
    form.MemoBody->setPlainText(U(u"[STR_1]様\n"));

    ScriptedPresenter presenter;
    presenter.fixRows = {0, 2};  // the subject's ㈱ and 髙 of 差込１
    form.BtnSendClick();
    EXPECT_EQ(presenter.shown, (QStringList{U(u"mail-charset 件名"), U(u"mail-no-address PerSonalMail_1"),
                                            U(u"mail-charset CommonInsertStr_1")}));
    EXPECT_TRUE(prompter.asked.isEmpty());  // 中止: not even the start question
    EXPECT_EQ(form.EditSubject->text(), U(u"(株)ゼベルより"));
    EXPECT_EQ(form.MemoBody->toPlainText(), U(u"[STR_1]様\n"));
    EXPECT_EQ(b.CommonInsertStr_1, U(u"高橋"));
    EXPECT_EQ(a.CommonInsertStr_1, QString());
    EXPECT_EQ(presenter.applied, QList<TUserInfo*>{&b});  // 件名 is no record's field

    presenter.fixRows.clear();
    presenter.answer = true;
    presenter.shown.clear();
    form.BtnSendClick();  // the start question is answered No by the prompter
    EXPECT_EQ(presenter.shown, QStringList{U(u"mail-no-address PerSonalMail_1")});
    EXPECT_EQ(prompter.asked, QStringList{U(u"送信を開始しますがよろしいですか？")});
    EXPECT_FALSE(form.Sending());
}

TEST_F(PreflightHooks, AnAddresslessCardIsAnErrorLineOfTheList) {
    TUserInfo noAddress = Record(u"100", u"0013");
    noAddress.PerSonalAddress_1.clear();
    QStringList row;
    bool fixEnabled = true;
    SetPreflightPresenter([&](TFormPreflight& form) {
        for (int c = 0; c < form.LVFindings->columnCount(); ++c) row << form.LVFindings->item(0, c)->text();
        fixEnabled = form.BtnFix->isEnabled();
        return false;
    });
    TPrintSettings st;
    EXPECT_FALSE(PreflightBeforePrint(nullptr, {&noAddress}, MakePieceSetup(st, std::nullopt, nullptr)));
    SetPreflightPresenter({});
    EXPECT_EQ(row, (QStringList{QStringLiteral("1"), U(u"山田 太郎"), U(u"住所１"), U(u"エラー"),
                                U(u"住所１がありません"), QString()}));
    EXPECT_FALSE(fixEnabled);
}

TEST_F(PreflightHooks, WithoutAPresenterTheJobsRunUnchecked) {
    SetPreflightPresenter({});
    TUserInfo unknown = Record(u"123", u"4567");
    TPrintSettings st;
    EXPECT_TRUE(PreflightBeforePrint(nullptr, {&unknown}, MakePieceSetup(st, std::nullopt, nullptr)));
}

}  // namespace
}  // namespace q2
