// Any bytes as zip.dat: each line parsed, and both lookups over the file.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <unistd.h>

#include "platform/Cp932.h"
#include "zip/ZipData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString path = QDir::tempPath() + QStringLiteral("/q2_fuzz_zip_%1.dat").arg(getpid());
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QByteArray& line : bytes.split('\n')) q2::ParseZipLine(q2::DecodeCp932(line));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) return 0;
        f.write(bytes);
    }
    q2::SearchByZip(path, QStringLiteral("001"), QString());
    q2::SearchByZip(path, QStringLiteral("100"), QStringLiteral("00"));
    q2::SearchByAddress(path, QStringLiteral("札幌"));
    return 0;
}
