// Paths of the data folder's files.
#include "DataPaths.h"

#include "platform/DataFolder.h"
#include "platform/ProfileFile.h"

namespace q2 {

QString GetCategory1Path() { return DataFolderPath() + QStringLiteral("category_1.dat"); }
QString GetCategory2Path() { return DataFolderPath() + QStringLiteral("category_2.dat"); }
QString GetNameTitlePath() { return DataFolderPath() + QStringLiteral("nametitle.dat"); }
QString GetConfigPath() { return DataFolderPath() + QStringLiteral("config.ini"); }
QString GetProxyPath() { return DataFolderPath() + QStringLiteral("pro.dat"); }
QString GetSenderPath() { return DataFolderPath() + QStringLiteral("sender.dat"); }
QString GetMailConfigPath() { return DataFolderPath() + QStringLiteral("mail.dat"); }
QString GetPaperPath() { return DataFolderPath() + QStringLiteral("paper.cfg"); }
QString GetZipDataPath() { return DataFolderPath() + QStringLiteral("zip/zip.dat"); }
QString GetZipVersionPath() { return DataFolderPath() + QStringLiteral("zip/version.txt"); }

bool GetUseAutoLoadFile() {
    return ProfileFile(GetConfigPath()).ReadBool(QStringLiteral("COMMON"),
                                                 QStringLiteral("USE_OPEN_FILE"), false);
}

QString GetAutoLoadFileName() {
    return ProfileFile(GetConfigPath())
        .ReadString(QStringLiteral("COMMON"), QStringLiteral("OPEN_FILE_NAME"), QString());
}

bool SetAutoLoadFile(const QString& path, bool on) {
    ProfileFile ini(GetConfigPath());
    const bool a = ini.WriteString(QStringLiteral("COMMON"), QStringLiteral("OPEN_FILE_NAME"), path);
    const bool b = ini.WriteBool(QStringLiteral("COMMON"), QStringLiteral("USE_OPEN_FILE"), on);
    return a && b;
}

}  // namespace q2
