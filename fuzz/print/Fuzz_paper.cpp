// Any bytes as paper.cfg: the catalogue's records and each one's conversion
// to a label sheet, and the line list that registration edits.
#include <QByteArray>

#include "platform/Cp932.h"
#include "print/LabelCatalog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = q2::DecodeCp932(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    for (const q2::TLabelRecord& r : q2::ParsePaperConfig(text)) q2::ToLabelPaper(r);
    QStringList lines = text.split(QLatin1Char('\n'));
    q2::RemoveLabelRecord(lines, q2::OriginalHeading(QStringLiteral("x")));
    return 0;
}
