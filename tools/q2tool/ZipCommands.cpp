// q2tool zip: the postal code lookups of the record editor, one hit per line.
#include "Command.h"
#include "model/DataPaths.h"
#include "platform/DataFolder.h"
#include "zip/ZipData.h"

namespace q2tool {
namespace {

int Zip(const QStringList& argsIn) {
    QStringList args = argsIn;
    const bool byAddress = TakeFlag(args, QStringLiteral("--address"));
    if (args.size() != 1) return PrintError(Commands()["zip"].Usage), kUsage;
    q2::EnsureDataFolder();
    q2::CopyMissingDefaults({QStringLiteral("zip/zip.dat")});
    const QString path = q2::GetZipDataPath();
    const QString key = args[0];
    QString digits = key;
    digits.remove(QLatin1Char('-'));
    const q2::TZipSearch s = byAddress ? q2::SearchByAddress(path, key)
                                       : q2::SearchByZip(path, digits.left(3), digits.mid(3));
    if (s.Result != q2::TZipSearchResult::Found) {
        PrintError(q2::ZipSearchMessage(s, byAddress, path));
        return kFailure;
    }
    for (const q2::TZipEntry& e : s.Entries) PrintOut(e.CodeColumn() + QLatin1Char('\t') + e.Address);
    return kOk;
}

const Registrar zip(QStringLiteral("zip"),
                    {QStringLiteral("zip CODE | zip --address TEXT   postal code lookups"), Zip});

}  // namespace
}  // namespace q2tool
