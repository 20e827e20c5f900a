// Any bytes as a CSV file: decoding, the record and field splitters, and the
// field count agreeing with the fields.
#include <QByteArray>

#include "exchange/CsvReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString text;
    if (!q2::DecodeCsvText(bytes, &text)) return 0;
    QStringList records = q2::SplitCsvRecords(text);
    q2::MarkLineBreaks(records);
    for (const QString& r : records) {
        const QStringList fields = q2::SplitCsvFields(r);
        if (q2::CountCsvFields(r) != fields.size()) __builtin_trap();
        for (const QString& f : fields) q2::PreviewText(f);
    }
    return 0;
}
