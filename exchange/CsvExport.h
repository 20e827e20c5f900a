// Writing address records as CSV: the 43 columns, the header line and the
// quoting of values.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "model/RecordField.h"
#include "model/UserInfoList.h"

namespace q2 {

constexpr int kExportColumnCount = 43;

struct TExportColumn {
    const char* CheckBox;  // the check box's name, e.g. "CBPersonalName"
    QString Caption;       // the box's caption
    QString Header;        // the header line's text
};
// Columns 1 to 43 at indices 0 to 42.
const std::vector<TExportColumn>& ExportColumns();
// The record field column `column` (0-based) writes; nullptr for no column.
const TRecordField* ExportColumnField(int column);

// The import destination that reads back what export column `column`
// (0-based) writes; empty for the columns the import has none for (age,
// registration date).
QString ImportDestinationOfExportColumn(int column);

// The text column `column` (0-based) writes for a record.
QString ExportValue(const TUserInfo& record, int column, QDate today);

// A value as it stands in the file: quoted when it holds a comma, a double
// quote, a space or a control character; `lone` is set when it is the only
// column, where an empty value is written as two double quotes.
QString QuoteCsvValue(const QString& value, bool lone);

struct TExportOptions {
    std::vector<int> Columns;  // 0-based, in ascending order
    bool Header = false;
    bool Utf8 = false;  // UTF-8 with a byte-order mark instead of CP932
    std::function<void(int index)> Progress;
};

struct TExportResult {
    QByteArray Bytes;
    // Characters CP932 cannot hold, written as "?": their count.
    int Unencodable = 0;
};

// The whole file image; every line ends with CR LF.
TExportResult ComposeCsv(const TUserInfoList& book, const TExportOptions& options, QDate today);

// Parses "1,2,5-7" (1-based column numbers) into 0-based columns; false with
// a message when a number is out of range or not a number.
bool ParseExportColumns(const QString& text, std::vector<int>* columns, QString* error);

}  // namespace q2
