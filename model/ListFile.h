// The small list files of the data folder: categories and honorifics, and the
// proxy file of the postal data update.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "platform/SafeFile.h"

namespace q2 {

// Items of a CP932 list file: one per line (CR LF, LF or CR), empty lines
// kept, reading stops at a NUL byte. A missing file gives no items and
// `exists` false.
QStringList LoadListFile(const QString& path, bool* exists = nullptr);
QStringList ParseListBytes(const QByteArray& bytes);
// Every line, the last one included, ends with CR LF.
bool SaveListFile(const QString& path, const QStringList& items, SaveProblem* problem = nullptr);

struct TProxySetting {
    QString Host;
    QString Port;
};
// "pro.dat": two lines, host and port; a missing file or missing line gives empty texts.
TProxySetting LoadProxyFile(const QString& path);
bool SaveProxyFile(const QString& path, const TProxySetting& proxy);

}  // namespace q2
