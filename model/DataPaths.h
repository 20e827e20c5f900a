// The files of the data folder and the COMMON keys of "config.ini".
#pragma once

#include <QString>

namespace q2 {

QString GetCategory1Path();
QString GetCategory2Path();
QString GetNameTitlePath();
QString GetConfigPath();
QString GetProxyPath();
QString GetSenderPath();
QString GetMailConfigPath();
QString GetPaperPath();
QString GetZipDataPath();
QString GetZipVersionPath();

bool GetUseAutoLoadFile();
QString GetAutoLoadFileName();
// Writes OPEN_FILE_NAME, then USE_OPEN_FILE.
bool SetAutoLoadFile(const QString& path, bool on);

}  // namespace q2
