// Records an import would add a second time: finding them before anything is
// added, and adding, skipping or updating each as the user chooses.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "model/UserInfoList.h"

namespace q2 {

enum class TDuplicateAction { Add, Skip, Update };

// What an incoming record looks like: a record of the book, or an earlier
// record of the same file (its index among the incoming ones).
struct TDuplicate {
    int BookIndex = -1;
    int EarlierRow = -1;
    bool IsDuplicate() const { return BookIndex >= 0 || EarlierRow >= 0; }
};

// For each incoming record, the first record it looks like: the same reading
// and postal code, or the same mail address, or the same telephone number.
// The book's records come first, then the earlier incoming ones.
std::vector<TDuplicate> FindDuplicates(const std::vector<TUserInfo>& incoming,
                                       const TUserInfoList& book);

// The preview's words for a duplicate, e.g. "既存の記録「山田 太郎」と重複しています";
// empty for a record that is none.
QString DuplicateDescription(const TDuplicate& duplicate, const TUserInfoList& book,
                             int firstRowNumber = 1);

// The captions of the three choices, in TDuplicateAction order.
const QStringList& DuplicateActionNames();

struct TImportSummary {
    int Added = 0;
    int Skipped = 0;
    int Updated = 0;
};

// "3件の追加を完了しました"; with skipped or updated records their counts follow
// ("（スキップ 1件、更新 1件）").
QString ImportSummaryMessage(const TImportSummary& summary);

// Appends the incoming records to the book; a duplicate is instead skipped or
// merged into the record it looks like when its action says so (`actions`
// may be shorter than `incoming`: missing actions are Add). A record that
// duplicates an earlier one of the file acts on the record that one became.
TImportSummary ApplyImport(std::vector<TUserInfo>&& incoming,
                           const std::vector<TDuplicate>& duplicates,
                           const std::vector<TDuplicateAction>& actions, TUserInfoList& book,
                           const std::function<void(int index)>& progress = {});

// The existing record takes every field the imported one filled (a field
// that differs from what a fresh import gives); its history gains the
// entries it lacks; its registration date and print mark stay.
void UpdateRecordFrom(TUserInfo& existing, const TUserInfo& imported);

}  // namespace q2
