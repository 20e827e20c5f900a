// Any bytes as config.ini: the print settings read with their defaults, and
// written back and read again to the same values.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <unistd.h>

#include "print/PrintSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString path =
        QDir::tempPath() + QStringLiteral("/q2_fuzz_print_settings_%1.ini").arg(getpid());
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) return 0;
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    const q2::TPrintSettings read = q2::LoadPrintSettings(path);
    if (!q2::SavePrintSettings(path, read)) return 0;
    const q2::TPrintSettings again = q2::LoadPrintSettings(path);
    if (!(again == read)) __builtin_trap();
    return 0;
}
