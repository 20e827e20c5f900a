// Turning vCards into new address records: which property goes into which
// field, what had no place, and the preview of a converted card.
#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

#include "exchange/VcardReader.h"
#include "model/UserInfoList.h"

namespace q2 {

// What a card held that no field took: a short description ("NICKNAME",
// "TEL（入りきらない分）") and how often it occurred.
using TVcardSkipped = QMap<QString, int>;

// A new record from one card, over the import defaults (`now` stands in for
// the registration date and a missing birthday).
TUserInfo VcardToRecord(const TVcardCard& card, const QDateTime& now, TVcardSkipped* skipped);

struct TVcardImport {
    std::vector<TUserInfo> Records;  // one per card, in file order
    TVcardSkipped Skipped;
    // For each card, whether it said itself whether to print (this program's
    // own cards do); the others take the import's choice.
    std::vector<bool> OwnPrintMark;
};

// The import's choice of print mark for the cards that carry none.
void SetPrintMarkOfOtherCards(TVcardImport& cards, bool print);

// Every card of a file converted; no card means nothing to import.
TVcardImport ConvertVcards(QByteArrayView bytes, const QDateTime& now);

// Appends the converted records to the book and returns how many.
int AppendRecords(std::vector<TUserInfo>&& records, TUserInfoList& book,
                  const std::function<void(int index)>& progress = {});

// The fields of a converted record that the card filled, as pairs of the
// import's destination name and the text shown for it, in destination order.
std::vector<std::pair<QString, QString>> VcardPreviewRows(const TUserInfo& record,
                                                          const QDateTime& now);

// One line naming what was skipped, e.g. "NICKNAME 2件、TEL（入りきらない分）1件";
// empty when nothing was.
QString SkippedSummary(const TVcardSkipped& skipped);

// A reading as the record keeps it: hiragana and half-width katakana become
// full-width katakana; other characters stay.
QString ReadingToKatakana(const QString& text);

}  // namespace q2
