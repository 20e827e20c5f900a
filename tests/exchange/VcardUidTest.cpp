// The UIDs of exported cards: the same for a record across exports, edits and
// reloads of the store, a new one for a new record.
#include <gtest/gtest.h>

#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include "QStringPrinter.h"
#include "exchange/VcardUid.h"
#include "exchange/VcardWriter.h"

using namespace q2;

namespace {

TUserInfo* Add(TUserInfoList& book, const char* name1, const char* name2, QDate registered) {
    TUserInfo* r = book.Add();
    r->PerSonalName_1 = name1;
    r->PerSonalName_2 = name2;
    r->PerSonalKana_1 = "カナ";
    r->PerSonalZip_1 = "100";
    r->PerSonalZip_2 = "0001";
    r->PerSonalAddress_1 = "東京都千代田区千代田1-1";
    r->CommonRegistDate = MakeDateTime(registered);
    return r;
}

}  // namespace

TEST(VcardUidStore, StableAcrossExportsEditsAndReloads) {
    QTemporaryDir dir;
    const QString path = dir.filePath("vcard-uid.txt");
    const QDate day(2024, 1, 10);
    TUserInfoList book;
    Add(book, "山田", "太郎", day);
    Add(book, "佐藤", "一郎", day);
    Add(book, "佐藤", "一郎", day);  // a record entered twice is still two cards
    QStringList first;
    {
        TVcardUidStore store(path);
        first = store.Assign(book);
        ASSERT_TRUE(store.Save());
    }
    ASSERT_EQ(first.size(), 3);
    EXPECT_EQ(QSet<QString>(first.begin(), first.end()).size(), 3);

    // Reloaded, with one record edited, one moved to the front and one new.
    TUserInfoList edited;
    edited.Add(std::make_unique<TUserInfo>(*book.Item(2)));
    TUserInfo* yamada = edited.Add(std::make_unique<TUserInfo>(*book.Item(0)));
    yamada->PerSonalName_2 = "太一";
    yamada->PerSonalMail_1 = "taichi@example.jp";
    edited.Add(std::make_unique<TUserInfo>(*book.Item(1)));
    Add(edited, "鈴木", "花子", QDate(2024, 6, 1));
    TVcardUidStore store(path);
    const QStringList again = store.Assign(edited);
    ASSERT_EQ(again.size(), 4);
    EXPECT_EQ(again[1], first[0]);  // 山田, edited
    EXPECT_EQ(QSet<QString>({again[0], again[2]}), QSet<QString>({first[1], first[2]}));
    EXPECT_FALSE(first.contains(again[3]));
    EXPECT_EQ(store.Count(), 4);

    // Every exported card names its UID; a card composed without one gets one.
    const QByteArray cards = ComposeVcards(edited, TVcardVersion::V40, {}, again);
    for (const QString& uid : again)
        EXPECT_TRUE(cards.contains("\r\nUID:" + uid.toUtf8() + "\r\n"));
    EXPECT_TRUE(ComposeVcard(*book.Item(0), TVcardVersion::V30).contains("\r\nUID:"));
}

TEST(VcardUidStore, DamagedLinesAreIgnored) {
    QTemporaryDir dir;
    const QString path = dir.filePath("vcard-uid.txt");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a line of ours\n\t\t\n\xFF\xFE\n");
    f.close();
    TVcardUidStore store(path);
    EXPECT_EQ(store.Count(), 0);
    TUserInfoList book;
    Add(book, "山田", "太郎", QDate(2024, 1, 10));
    EXPECT_EQ(store.Assign(book).size(), 1);
}
