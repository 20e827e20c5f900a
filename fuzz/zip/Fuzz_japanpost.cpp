// Any bytes as a downloaded Japan Post file: unpacked as a ZIP, and converted
// as either CSV. No crash, no huge allocation, and a conversion that succeeds
// gives well-formed data lines.
#include <QByteArray>

#include "zip/JapanPostData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QByteArray csv;
    q2::UnpackCsv(bytes, &csv);
    q2::CsvColumnCount(bytes);
    q2::TJapanPostData out;
    if (q2::ConvertJapanPost(bytes, QByteArrayView(), &out)) {
        for (qsizetype start = 0; start < out.ZipDat.size();) {
            const qsizetype end = out.ZipDat.indexOf("\r\n", start);
            if (end < 0 || end - start < 8 || out.ZipDat[start + 7] != ',') __builtin_trap();
            start = end + 2;
        }
    }
    q2::ConvertJapanPost(QByteArrayView(), bytes, &out);
    return 0;
}
