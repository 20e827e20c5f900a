// Any bytes as a CSV file imported with every destination mapped: every
// record becomes one new record, and the book saves and loads again.
#include <QByteArray>

#include "exchange/CsvImport.h"
#include "exchange/CsvReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString text;
    if (!q2::DecodeCsvText(bytes, &text)) return 0;
    QStringList records = q2::SplitCsvRecords(text);
    q2::MarkLineBreaks(records);
    // Column c goes to destination c, so that every treatment is reached.
    q2::TImportMapping mapping;
    for (int d = 0; d < q2::ImportDestinations().size(); ++d) mapping.push_back(d);
    q2::TUserInfoList book;
    if (q2::ImportRecords(records, mapping, {}, book) != records.size()) __builtin_trap();
    q2::TUserInfoList again;
    if (!again.FromBytes(book.ToBytes()) || again.Count() != book.Count()) __builtin_trap();
    return 0;
}
