// The address list's New Year's card columns: sent, received and mourning
// for the season chosen in the main window and for the one before it.
#pragma once

#include <QString>

#include "app/AddressListColumns.h"
#include "app/DisplayList.h"

namespace q2 {

// They follow the 44 record columns in the model; the view shows them after
// the name.
constexpr int kSeasonColumnCount = 6;
constexpr int kFirstSeasonColumn = kAddressListColumnCount;
constexpr int kSeasonColumnWidth = 64;
// Where the view shows them: right after "名前".
constexpr int kSeasonColumnsVisualStart = 3;

inline bool IsSeasonColumn(int column) {
    return column >= kFirstSeasonColumn && column < kFirstSeasonColumn + kSeasonColumnCount;
}

// "2027送" … "2026喪": the year keeps the two seasons apart.
QString SeasonColumnCaption(int column, int season);
// "2027年 年賀状 送付", for the header's tool tip.
QString SeasonColumnToolTip(int column, int season);
// "●" when the record carries the mark, else empty.
QString SeasonColumnText(const TUserInfo& record, int column, int season);
// Unmarked before marked when ascending; equal rows keep their order.
void SortDisplayListBySeason(TDisplayList& list, int column, int season, bool ascending);

}  // namespace q2
