// Reading CSV files: the file's encoding, its records and each record's fields.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace q2 {

enum class CsvEncoding { Cp932, Utf8, Utf16Le, Utf16Be };

// UTF-16 when the bytes start with its byte-order mark (either order); UTF-8
// when they start with its mark, or are valid UTF-8 with at least one
// multi-byte sequence; CP932 otherwise.
CsvEncoding DetectCsvEncoding(const QByteArray& bytes);
// The file's text in its detected encoding, without a byte-order mark.
QString DecodeCsvFile(const QByteArray& bytes, CsvEncoding* encoding = nullptr);

// As DecodeCsvFile, but false for bytes that are no text: NUL bytes outside
// UTF-16, or a text of which a tenth or more could not be decoded. Importing
// such a file would only fill the book with junk.
bool DecodeCsvText(const QByteArray& bytes, QString* text, CsvEncoding* encoding = nullptr);

// The largest field count of the records: the columns a mapping may name.
int WidestCsvRecord(const QStringList& records);

// Records end at CR, LF or CR LF outside double-quoted runs; a line end at the
// very end of the text yields no further record.
QStringList SplitCsvRecords(QStringView text);

// Every CR LF inside a record becomes "#BR#".
void MarkLineBreaks(QStringList& records);

// One record's fields. Spaces are ordinary text; control characters end an
// unquoted field and are skipped around fields; a literal "#HAN_SPACE#"
// comes back as a space.
QStringList SplitCsvFields(QStringView record);

// The field count SplitCsvFields would give, without building the fields.
int CountCsvFields(QStringView record);

// A field as the preview shows it: every "#BR#" (any letter case) removed.
QString PreviewText(const QString& field);

}  // namespace q2
