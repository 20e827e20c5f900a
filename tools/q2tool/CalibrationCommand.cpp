// q2tool calibration: the calibration sheet of a paper kind as a PDF.
#include "Command.h"
#include "model/DataPaths.h"
#include "print/CalibrationSheet.h"
#include "print/PaperModel.h"
#include "print/PrintSettings.h"

namespace q2tool {
namespace {

using namespace q2;

int Calibration(const QStringList& argsIn) {
    QStringList args = argsIn;
    const QString kind = TakeOption(args, "--kind");
    const bool force = TakeFlag(args, "--force");
    if (args.size() != 1) return PrintError(Commands()["calibration"].Usage), kUsage;
    // Without --kind, the kind the print dialog last used.
    int k = LoadPrintSettings(GetConfigPath()).PostcardIndex;
    if (!kind.isEmpty()) {
        bool ok = false;
        k = kind.toInt(&ok);
        if (!ok || !PaperKindInfo(k)) return PrintError(QStringLiteral("--kind: 1–10")), kUsage;
    }
    if (!PaperKindInfo(k)) k = kNengaKind;
    if (!MayWriteOutput(args[0], {}, force)) return kFailure;
    QString error;
    if (!WriteCalibrationPdf(args[0], k, &error)) {
        PrintError(error);
        return kFailure;
    }
    return kOk;
}

const Registrar calibration(QStringLiteral("calibration"),
                            {QStringLiteral("calibration OUT.pdf [--kind N] [--force]   the calibration sheet of a paper kind"),
                             Calibration});

}  // namespace
}  // namespace q2tool
