// The postal code lookup dialog over the postal data the installation ships.
#include <QFile>
#include <QLabel>
#include <QTreeWidget>

#include "AppFixture.h"
#include "QStringPrinter.h"
#include "zip/FormSearchZip.h"

namespace q2test {
namespace {

// Every code of the shipped file that starts with `prefix`, read independently.
int CountCodesStartingWith(const QByteArray& prefix) {
    QFile f(QStringLiteral(Q2_SOURCE_DIR "/data/zip/zip.dat"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    int n = 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(prefix)) ++n;
    return n;
}

class FormSearchZip : public AppTest {
protected:
    // The lookup run and, when the dialog opens, what the user does in it.
    bool Run(QString& upper, QString& lower, bool byAddress, QString& address,
             std::function<int(q2::TFormSearchZip&)> user = {}) {
        q2::TFormSearchZip& d = *Start().FormSearchZip;
        runner.dialogs.push_back(
            [&d, user](QDialog&) { return user ? user(d) : int(QDialog::Rejected); });
        return d.Execute(upper, lower, byAddress, address);
    }
};

TEST_F(FormSearchZip, ThreeDigitsListEveryCodeWithThatStart) {
    QString upper = "100", lower, address = "そのまま";
    int rows = 0;
    QString label;
    EXPECT_FALSE(Run(upper, lower, false, address, [&](q2::TFormSearchZip& d) {
        rows = d.LVZipList->topLevelItemCount();
        label = d.LblSearchWord->text();
        return int(QDialog::Rejected);
    }));
    EXPECT_EQ(rows, CountCodesStartingWith("100"));
    EXPECT_GT(rows, 300);  // residential and business codes of 千代田区
    EXPECT_EQ(label, "検索キー：100-");
    EXPECT_EQ(address, "そのまま");  // cancelled: nothing handed back
}

TEST_F(FormSearchZip, AddressSearchFindsTheCodeAndHandsTheRowBack) {
    QString upper = "9", lower = "99", address = "霞が関";
    EXPECT_TRUE(Run(upper, lower, true, address, [](q2::TFormSearchZip& d) {
        QTreeWidgetItem* first = d.LVZipList->topLevelItem(0);
        EXPECT_EQ(first->text(0), "100-0013");
        EXPECT_EQ(first->text(1), "東京都千代田区霞が関");
        d.LVZipList->setCurrentItem(first);
        d.BtnOKClick();
        return d.result();
    }));
    EXPECT_EQ(upper, "100");
    EXPECT_EQ(lower, "0013");
    EXPECT_EQ(address, "東京都千代田区霞が関");
}

TEST_F(FormSearchZip, ShortKeyIsRefusedWithoutReadingTheFile) {
    q2::TFormMain& m = Start();
    ASSERT_TRUE(QFile::remove(q2::GetZipDataPath()));  // a read would fail differently
    QString upper = "10", lower = "0013", address;
    EXPECT_FALSE(m.FormSearchZip->Execute(upper, lower, false, address));
    EXPECT_EQ(prompter.shown, QStringList{"郵便番号が不明です"});
    EXPECT_TRUE(runner.seen.isEmpty());

    QString blank = " \t";
    EXPECT_FALSE(m.FormSearchZip->Execute(upper, lower, true, blank));
    EXPECT_EQ(prompter.shown.last(), "住所が不明です");
    // A missing file is told as such.
    upper = "100";
    EXPECT_FALSE(m.FormSearchZip->Execute(upper, lower, false, address));
    EXPECT_TRUE(prompter.shown.last().startsWith("ファイル "));
    EXPECT_TRUE(runner.seen.isEmpty());
}

TEST_F(FormSearchZip, NoHitReturnsFalseAndChangesNothing) {
    QString upper = "999", lower = "9999", address = "入力済み";
    EXPECT_FALSE(Run(upper, lower, false, address));
    EXPECT_EQ(prompter.shown, QStringList{"郵便番号が不明です"});
    EXPECT_TRUE(runner.seen.isEmpty());  // no dialog shown
    EXPECT_EQ(upper + lower + address, "9999999入力済み");
    QString nowhere = "霞が関ではない町";
    EXPECT_FALSE(Run(upper, lower, true, nowhere));
    EXPECT_EQ(prompter.shown.last(), "住所が不明です");
    EXPECT_EQ(nowhere, "霞が関ではない町");
}

TEST_F(FormSearchZip, OkWithoutARowKeepsTheDialogOpen) {
    QString upper = "100", lower = "001", address;
    bool stayedOpen = false;
    EXPECT_TRUE(Run(upper, lower, false, address, [&](q2::TFormSearchZip& d) {
        d.LVZipList->clearSelection();  // the first hit comes selected
        d.BtnOKClick();
        stayedOpen = d.result() != QDialog::Accepted;
        EXPECT_EQ(prompter.shown.last(), "郵便番号を選択してください");
        d.LVZipList->setCurrentItem(d.LVZipList->topLevelItem(1));
        d.BtnOKClick();
        return d.result();
    }));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(upper, "100");
    EXPECT_EQ(lower.left(3), "001");
    EXPECT_EQ(lower.size(), 4);
}

}  // namespace
}  // namespace q2test
