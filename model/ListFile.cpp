// List files and the proxy file.
#include "ListFile.h"

#include <QFile>
#include <QFileInfo>

#include "platform/Cp932.h"
#include "platform/SafeFile.h"

namespace q2 {

QStringList ParseListBytes(const QByteArray& raw) {
    QByteArray bytes = raw;
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0) bytes.truncate(nul);
    QStringList items;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        items.append(DecodeCp932(QByteArrayView(bytes).sliced(start, i - start)));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) items.append(DecodeCp932(QByteArrayView(bytes).sliced(start)));
    return items;
}

QStringList LoadListFile(const QString& path, bool* exists) {
    QFile f(path);
    const bool ok = f.open(QIODevice::ReadOnly);
    if (exists) *exists = ok;
    return ok ? ParseListBytes(f.readAll()) : QStringList();
}

bool SaveListFile(const QString& path, const QStringList& items, SaveProblem* problem) {
    QByteArray out;
    for (const QString& item : items) {
        out += EncodeCp932(item);
        out += "\r\n";
    }
    const SaveProblem p = WriteFileSafely(path, out);
    if (problem) *problem = p;
    return p == SaveProblem::None;
}

TProxySetting LoadProxyFile(const QString& path) {
    const QStringList lines = LoadListFile(path);
    TProxySetting p;
    if (lines.size() > 0) p.Host = lines[0];
    if (lines.size() > 1) p.Port = lines[1];
    return p;
}

bool SaveProxyFile(const QString& path, const TProxySetting& proxy) {
    return SaveListFile(path, {proxy.Host, proxy.Port});
}

}  // namespace q2
