// q2tool barcode: the customer barcode string through the shared library.
#include "Command.h"
#include "lumika.h"
#include "platform/Cp932.h"

namespace q2tool {
namespace {

int Barcode(const QStringList& args) {
    if (args.size() != 2) return PrintError(Commands()["barcode"].Usage), kUsage;
    const QByteArray postal = q2::EncodeCp932(args[0]);
    const QByteArray address = q2::EncodeCp932(args[1]);
    char out[LUMIKA_OUTPUT_SIZE] = {};
    const int result = GetCBarString("()ABCDEFGH", postal.constData(), address.constData(), out);
    if (result != LUMIKA_OK) {
        PrintOut(QStringLiteral("error %1").arg(result));
        return kFailure;
    }
    PrintOut(QString::fromLatin1(out));
    return kOk;
}

const Registrar barcode(QStringLiteral("barcode"),
                        {QStringLiteral("barcode POSTAL ADDRESS          the customer barcode string"),
                         Barcode});

}  // namespace
}  // namespace q2tool
