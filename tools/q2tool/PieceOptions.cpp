// The piece options shared by the print and check commands.
#include "PieceOptions.h"

#include "Command.h"
#include "print/PaperModel.h"

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

}  // namespace q2tool
