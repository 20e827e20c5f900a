// Any bytes given to the vCard reader: no crash, no huge allocation, and every
// record it makes is written as one card that reads back as one record.
#include <QByteArray>

#include "exchange/VcardImport.h"
#include "exchange/VcardWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QDateTime now = q2::MakeDateTime(QDate(2024, 6, 1));
    q2::TVcardImport in = q2::ConvertVcards(
        QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)), now);
    (void)q2::SkippedSummary(in.Skipped);
    for (const q2::TUserInfo& r : in.Records) {
        (void)q2::VcardPreviewRows(r, now);
        for (q2::TVcardVersion v : {q2::TVcardVersion::V30, q2::TVcardVersion::V40})
            if (q2::ConvertVcards(q2::ComposeVcard(r, v), now).Records.size() != 1) __builtin_trap();
    }
    return 0;
}
