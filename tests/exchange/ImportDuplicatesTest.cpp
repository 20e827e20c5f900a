// Duplicates at the door: what an incoming record looks like, and adding,
// skipping or updating it.
#include <gtest/gtest.h>

#include "QStringPrinter.h"
#include "exchange/CsvImport.h"
#include "exchange/ImportDuplicates.h"
#include "platform/Clock.h"

using namespace q2;

namespace {

const QDateTime kNow = MakeDateTime(QDate(2024, 6, 1), QTime(12, 30));

TUserInfo Person(const char* name1, const char* name2, const char* kana1, const char* kana2,
                 const char* zip1 = "", const char* zip2 = "") {
    TUserInfo r;
    ApplyImportDefaults(r, kNow);
    r.PerSonalName_1 = name1;
    r.PerSonalName_2 = name2;
    r.PerSonalKana_1 = kana1;
    r.PerSonalKana_2 = kana2;
    r.PerSonalZip_1 = zip1;
    r.PerSonalZip_2 = zip2;
    return r;
}

// 山田 太郎 (reading and postal code) and 佐藤 一郎 (mail and telephone).
TUserInfoList Book() {
    TUserInfoList book;
    book.Add(
        std::make_unique<TUserInfo>(Person("山田", "太郎", "ヤマダ", "タロウ", "100", "0001")));
    auto sato = std::make_unique<TUserInfo>(Person("佐藤", "一郎", "サトウ", "イチロウ"));
    sato->OfficeMail_1 = "Ichiro.Sato@example.jp";
    sato->PerSonalTel_1 = "03-1234-5678";
    sato->CommonHistoryObjectList.Add({QDate(2023, 1, 1), "年賀状", "受け取り"});
    book.Add(std::move(sato));
    return book;
}

}  // namespace

TEST(FindDuplicates, ReadingWithPostalCodeMailOrTelephone) {
    const TUserInfoList book = Book();
    std::vector<TUserInfo> in;
    in.push_back(Person("山田", "太郎", "ヤマダ", "タロウ", "100", "0001"));  // 0: book 0
    in.push_back(Person("山田", "太郎", "ヤマダ", "タロウ", "150", "0002"));  // 1: another 山田
    in.push_back(Person("佐藤", "", "", ""));                                 // 2: mail, any case
    in[2].PerSonalMail_1 = "ichiro.sato@EXAMPLE.jp";
    in.push_back(Person("鈴木", "花子", "スズキ", "ハナコ"));  // 3: telephone written otherwise
    in[3].OfficeTel_2 = "０３ １２３４ ５６７８ 内線12";
    in.push_back(Person("高橋", "", "タカハシ", "", "530", "0001"));  // 4: new
    in.push_back(Person("高橋", "", "タカハシ", "", "530", "0001"));  // 5: row 4 again
    in.push_back(Person("", "", "", ""));                             // 6: nothing to compare
    const std::vector<TDuplicate> d = FindDuplicates(in, book);
    ASSERT_EQ(d.size(), in.size());
    const int book_[] = {0, -1, 1, 1, -1, -1, -1}, earlier[] = {-1, -1, -1, -1, -1, 4, -1};
    for (size_t i = 0; i < d.size(); ++i) {
        EXPECT_EQ(d[i].BookIndex, book_[i]) << i;
        EXPECT_EQ(d[i].EarlierRow, earlier[i]) << i;
    }
    EXPECT_EQ(DuplicateDescription(d[0], book), QString("既存の記録「山田 太郎」と重複しています"));
    EXPECT_EQ(DuplicateDescription(d[5], book, 2), QString("6件目と重複しています"));
    EXPECT_EQ(DuplicateDescription(d[1], book), QString());
}

TEST(ApplyImport, AddsSkipsAndUpdatesAndCountsEach) {
    TUserInfoList book = Book();
    std::vector<TUserInfo> in;
    in.push_back(Person("山田", "太郎", "ヤマダ", "タロウ", "100", "0001"));  // skip
    in.push_back(Person("佐藤", "一郎", "サトウ", "イチロウ"));               // update book 1
    in[1].PerSonalMail_2 = "ichiro.sato@example.jp";
    in[1].PerSonalAddress_1 = "東京都港区芝公園4-2-8";
    in[1].CommonBirthday = MakeDateTime(QDate(1970, 1, 5));
    in[1].CommonHistoryObjectList.Add({QDate(2023, 1, 1), "年賀状", "受け取り"});
    in[1].CommonHistoryObjectList.Add({QDate(2024, 1, 1), "年賀状", "送付"});
    in.push_back(Person("高橋", "", "タカハシ", "", "530", "0001"));  // added
    in.push_back(
        Person("高橋", "誠", "タカハシ", "", "530", "0001"));  // updates the one just added
    const std::vector<TDuplicate> d = FindDuplicates(in, book);
    const std::vector<TDuplicateAction> actions = {TDuplicateAction::Skip, TDuplicateAction::Update,
                                                   TDuplicateAction::Update,
                                                   TDuplicateAction::Update};
    std::vector<int> progress;
    const TImportSummary s =
        ApplyImport(std::move(in), d, actions, book, [&](int i) { progress.push_back(i); });
    EXPECT_EQ(s.Added, 1);  // row 2 duplicates nothing: its Update means nothing
    EXPECT_EQ(s.Skipped, 1);
    EXPECT_EQ(s.Updated, 2);
    EXPECT_EQ(progress, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(ImportSummaryMessage(s),
              QString("1件の追加を完了しました（スキップ 1件、更新 2件）"));
    EXPECT_EQ(ImportSummaryMessage({3, 0, 0}), QString("3件の追加を完了しました"));
    ASSERT_EQ(book.Count(), 3);
    const TUserInfo& sato = *book.Item(1);
    EXPECT_EQ(sato.PerSonalAddress_1, QString("東京都港区芝公園4-2-8"));
    EXPECT_EQ(sato.PerSonalTel_1, QString("03-1234-5678"));  // not filled by the import: kept
    EXPECT_EQ(sato.OfficeMail_1, QString("Ichiro.Sato@example.jp"));
    EXPECT_EQ(sato.CommonBirthday.date(), QDate(1970, 1, 5));
    // The entry the record had is not doubled.
    ASSERT_EQ(sato.CommonHistoryObjectList.Count(), 2);
    EXPECT_EQ(sato.CommonHistoryObjectList.Item(1).HistoryContent, QString("送付"));
    EXPECT_EQ(book.Item(2)->PersonalFullName(), QString("高橋 誠"));
}
