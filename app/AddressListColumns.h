// The 44 columns of the address list: captions, widths, the text each shows
// and the order each sorts by.
#pragma once

#include <QString>

#include "app/DisplayList.h"
#include "model/RecordField.h"

namespace q2 {

constexpr int kAddressListColumnCount = 44;

// The record field a column shows; nullptr for no column.
const TRecordField* AddressListColumnField(int column);
QString ColumnCaption(int column);
// The initial width in pixels; 0 leaves the view's default.
int ColumnWidth(int column);
QString ColumnText(const TUserInfo& record, int column);

// Sorts by one column. The name and reading columns (ふりがな, 名前, 会社フリガナ,
// 会社名) go by the reading, then the name; records without a reading come
// after the others, by name. Other text keys case-insensitively in Japanese collation,
// Booleans false before true, dates in date order, ages as numbers, sex as
// female, male, not set. Descending is the exact reverse of ascending; rows
// with equal keys keep their relative order.
void SortDisplayList(TDisplayList& list, int column, bool ascending);

}  // namespace q2
