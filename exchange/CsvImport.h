// Turning CSV fields into new address records: the destinations a column can
// be assigned to, the defaults of an imported record and each destination's
// treatment of its text.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "model/RecordField.h"
#include "model/UserInfoList.h"

namespace q2 {

// The 41 destination names in the order the import dialog lists them.
const QStringList& ImportDestinations();
// Index into ImportDestinations(), or -1 for a name that is none of them.
int ImportDestinationIndex(const QString& name);
// The record field a destination stores into; nullptr for no destination.
const TRecordField* ImportDestinationField(int destination);

// The values an imported record has before any field is applied.
void ApplyImportDefaults(TUserInfo& record, const QDateTime& now);

// Stores text into the destination `destination` (an index into
// ImportDestinations()). A postal code of seven digits, with or without its
// hyphen and in either width, fills both boxes; readings in hiragana or
// half-width katakana become katakana; a birthday that does not parse as a
// whole date leaves the record without one.
void ApplyImportField(TUserInfo& record, int destination, const QString& text,
                      const QDateTime& now);

// What an import decides once every field is in: a record that has only an
// office address is used on the office side.
void FinishImportedRecord(TUserInfo& record);

// For each CSV column (field index), its destination index or -1.
using TImportMapping = std::vector<int>;

// Columns a mapping may name when the file is not known.
constexpr int kMaxImportColumns = 1 << 16;

// Builds a mapping from "column=destination name" pairs; false with a message
// when a name is unknown, a column is not a number or a destination repeats,
// or a column is `columnCount` or beyond (the file's widest record).
bool ParseImportMapping(const QStringList& pairs, TImportMapping* mapping, QString* error,
                        int columnCount = kMaxImportColumns);

struct TImportOptions {
    bool SkipFirstRecord = false;
    // CommonPrintCheck of the imported records ("取り込んだ記録を印刷対象にする").
    bool MarkForPrint = true;
    // Called with the index of each record once it has been appended; the
    // dialog uses it for its progress bar and to keep the window painting.
    std::function<void(int index)> Progress;
};

// Appends one new record per CSV record (from the second on when skipping the
// first) and returns how many were appended. The records must already carry
// the line-break marking.
int ImportRecords(const QStringList& records, const TImportMapping& mapping,
                  const TImportOptions& options, TUserInfoList& book);

// The new records a file gives, one per CSV record (from the second on when
// skipping the first), without adding them to a book.
std::vector<TUserInfo> ConvertCsvRecords(const QStringList& records, const TImportMapping& mapping,
                                         const TImportOptions& options);

}  // namespace q2
