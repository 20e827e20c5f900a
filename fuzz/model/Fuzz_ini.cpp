// Any bytes as an INI file, read and then written one key.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <unistd.h>

#include "platform/ProfileFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString path = QDir::tempPath() + QStringLiteral("/q2_fuzz_ini_%1.ini").arg(getpid());
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) return 0;
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    q2::ProfileFile ini(path);
    ini.ReadString(QStringLiteral("COMMON"), QStringLiteral("OPEN_FILE_NAME"), QString());
    ini.ReadBool(QStringLiteral("PRINT_CONF"), QStringLiteral("KIND"), false);
    // A file holding NUL bytes is no text file: the write leaves it alone.
    const bool text = !QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)).contains('\0');
    const bool written =
        ini.WriteString(QStringLiteral("COMMON"), QStringLiteral("USE_OPEN_FILE"), QStringLiteral("1"));
    if (written != text) __builtin_trap();
    if (written && ini.ReadString(QStringLiteral("COMMON"), QStringLiteral("USE_OPEN_FILE"),
                                  QString()) != QStringLiteral("1"))
        __builtin_trap();
    return 0;
}
