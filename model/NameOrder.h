// The 50音 order of names: by their reading, then the name; records without
// a reading after the others. The address list, its print and q2tool share it.
#pragma once

#include <QCollator>
#include <QString>
#include <optional>
#include <span>
#include <vector>

#include "model/RecordField.h"
#include "model/UserInfo.h"

namespace q2 {

// Case-insensitive collation for the Japanese locale.
const QCollator& JapaneseCollator();

// What a name field sorts by: the reading in full-width katakana, family and
// given reading one space apart (empty when the record has none), and the
// name for ties. Only the personal and office name and reading fields
// (PersonalFullNameKana, PersonalFullName, OfficeKana, OfficeName) have one.
struct TNameReading {
    QString Reading;
    QString Name;
};
std::optional<TNameReading> NameReadingOf(const TUserInfo& record, TRecordFieldId field);
bool SortsByNameReading(TRecordFieldId field);

// The positions of `records` in the order of `field`'s name reading; equal
// keys keep their order, and descending is the exact reverse of ascending.
// `field` must be one that SortsByNameReading.
std::vector<size_t> NameReadingOrder(std::span<const TUserInfo* const> records,
                                     TRecordFieldId field, bool ascending = true);

}  // namespace q2
