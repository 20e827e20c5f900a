// The piece options shared by the print and check commands.
#include "PieceOptions.h"

#include <QPrinter>

#include "Command.h"
#include "print/PaperModel.h"
#include "print/PrinterJob.h"

namespace q2tool {

using namespace q2;

TPieceOptions TakePieceOptions(QStringList& args) {
    TPieceOptions o;
    o.Kind = TakeOption(args, QStringLiteral("--kind"));
    o.Horizontal = TakeFlag(args, QStringLiteral("--horizontal"));
    o.Barcode = TakeFlag(args, QStringLiteral("--barcode"));
    o.Font = TakeOption(args, QStringLiteral("--font"));
    o.Mode = TakeOption(args, QStringLiteral("--mode"));
    return o;
}

std::optional<int> ApplyPieceOptions(const TPieceOptions& o, TPrintSettings& st) {
    bool ok = true;
    if (!o.Kind.isEmpty()) {
        const int k = o.Kind.toInt(&ok);
        if (!ok || !PaperKindInfo(k)) return PrintError(QStringLiteral("--kind: 1–10")), kUsage;
        st.Type = 0;
        st.PostcardIndex = k;
    }
    if (o.Horizontal) st.Vertical = false;
    if (!o.Kind.isEmpty() || o.Horizontal) st.Frames = DefaultFrames(st.PostcardIndex, st.Vertical);
    if (o.Barcode) st.PrintCostom = true;
    if (!o.Font.isEmpty()) st.Font = o.Font;
    if (!o.Mode.isEmpty()) {
        const int m = o.Mode.toInt(&ok);
        if (!ok || m < 0 || m > 3) return PrintError(QStringLiteral("--mode: 0–3")), kUsage;
        st.SprintControl = m;
    }
    return std::nullopt;
}

std::optional<int> OpenPrinter(const QString& queue, QPrinter& printer, TPieceSetup& setup) {
    if (!PrinterNames().contains(queue)) {
        PrintError(QStringLiteral("プリンタ %1 が見つかりません（q2tool print --list-printers で一覧を表示します）").arg(queue));
        return kFailure;
    }
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(queue);
    if (!printer.isValid() || printer.printerName() != queue) {
        PrintError(QStringLiteral("プリンタ %1 を使えません").arg(queue));
        return kFailure;
    }
    ApplyJobPaper(printer, setup);
    setup.Printable = PrintableAreaOf(printer);
    return std::nullopt;
}

}  // namespace q2tool
