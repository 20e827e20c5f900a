// PRINT_CONF of config.ini.
#include "print/PrintSettings.h"

#include <QStringList>
#include <algorithm>

#include "platform/ProfileFile.h"

namespace q2 {
namespace {

struct FrameKey {
    const char* prefix;
    PreviewRect TLayoutFrames::*frame;
};
// The order SavePrintSettings writes them.
const FrameKey kFrameKeys[] = {{"ZIP", &TLayoutFrames::ZIP}, {"ADD", &TLayoutFrames::ADD},
                               {"NAM", &TLayoutFrames::NAM}, {"CUS", &TLayoutFrames::CUS},
                               {"SEN", &TLayoutFrames::SEN}, {"SZIP", &TLayoutFrames::SZIP}};

QString FormatLabelOffsets(const QMap<QString, TPrintOffset>& offsets) {
    QStringList parts;
    for (auto it = offsets.begin(); it != offsets.end(); ++it)
        if (!it->IsZero()) parts << QStringLiteral("%1=%2,%3").arg(it.key()).arg(it->Dx).arg(it->Dy);
    return parts.join(QLatin1Char('|'));
}

// Entries that do not read as "key=dx,dy" are left out.
QMap<QString, TPrintOffset> ParseLabelOffsets(const QString& text) {
    QMap<QString, TPrintOffset> out;
    for (const QString& part : text.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const qsizetype eq = part.lastIndexOf(QLatin1Char('='));
        if (eq <= 0) continue;
        const QStringList xy = part.mid(eq + 1).split(QLatin1Char(','));
        bool okX = false, okY = false;
        if (xy.size() != 2) continue;
        const TPrintOffset o{xy[0].trimmed().toInt(&okX), xy[1].trimmed().toInt(&okY)};
        if (okX && okY) out.insert(part.left(eq), o.Clamped());
    }
    return out;
}

}  // namespace

TPrintOffset TPrintOffset::Clamped() const {
    return {std::clamp(Dx, -kLimit, kLimit), std::clamp(Dy, -kLimit, kLimit)};
}

QString LabelOffsetKey(const QString& maker, const QString& model) {
    // "|" and "=" separate the entries; a model that holds them gets "/".
    QString key = maker + QLatin1Char('/') + model;
    key.replace(QLatin1Char('|'), QLatin1Char('/'));
    key.replace(QLatin1Char('='), QLatin1Char('/'));
    return key;
}

TPrintOffset KindOffset(const TPrintSettings& s, int kind) {
    return kind >= 1 && kind <= 10 ? s.KindOffsets[size_t(kind - 1)] : TPrintOffset{};
}

void SetKindOffset(TPrintSettings& s, int kind, TPrintOffset offset) {
    if (kind >= 1 && kind <= 10) s.KindOffsets[size_t(kind - 1)] = offset.Clamped();
}

TPrintOffset LabelOffset(const TPrintSettings& s, const QString& key) { return s.LabelOffsets.value(key); }

void SetLabelOffset(TPrintSettings& s, const QString& key, TPrintOffset offset) {
    if (key.isEmpty()) return;
    offset = offset.Clamped();
    if (offset.IsZero())
        s.LabelOffsets.remove(key);
    else
        s.LabelOffsets.insert(key, offset);
}

TPrintSettings LoadPrintSettings(const QString& configPath) {
    const ProfileFile ini(configPath);
    const QString s = QLatin1String(kPrintConfSection);
    TPrintSettings out;
    const TPrintSettings def;
    out.Type = ini.ReadInteger(s, "TYPE", def.Type);
    if (out.Type == 0) out.PostcardIndex = ini.ReadInteger(s, "POSTCARD_INDEX", def.PostcardIndex);
    out.Vertical = ini.ReadBool(s, "VERTICAL", def.Vertical);
    out.PrintSender = ini.ReadBool(s, "PRINT_SENDER", def.PrintSender);
    out.PrintCostom = ini.ReadBool(s, "PRINT_COSTOM", def.PrintCostom);
    out.Font = ini.ReadString(s, "FONT", def.Font);
    for (const FrameKey& k : kFrameKeys) {
        PreviewRect& r = out.Frames.*k.frame;
        const PreviewRect& d = def.Frames.*k.frame;
        const QString p = QLatin1String(k.prefix);
        r.left = PreviewPx(ini.ReadInteger(s, p + "_LEFT", d.left.v));
        r.top = PreviewPx(ini.ReadInteger(s, p + "_TOP", d.top.v));
        r.width = PreviewPx(ini.ReadInteger(s, p + "_WID", d.width.v));
        r.height = PreviewPx(ini.ReadInteger(s, p + "_HIG", d.height.v));
    }
    out.ZipPrintState = ini.ReadBool(s, "ZIPPRINTSTATE", def.ZipPrintState);
    out.AteSize = ini.ReadBool(s, "ATE_SIZE", def.AteSize);
    out.SuseNo = ini.ReadInteger(s, "SUSE_NO", def.SuseNo);
    out.SuseType = ini.ReadInteger(s, "SUSE_TYPE", def.SuseType);
    out.SprintControl = ini.ReadInteger(s, "SPRINT_CONTROL", def.SprintControl);
    // Beyond the original's keys; a value out of range reads as the default.
    const int latin = ini.ReadInteger(s, "LATIN_VERTICAL", int(def.LatinVertical));
    out.LatinVertical = latin == 1 ? TLatinInVertical::Upright : TLatinInVertical::Sideways;
    const int numerals = ini.ReadInteger(s, "NUMERALS_VERTICAL", int(def.NumeralsVertical));
    out.NumeralsVertical = numerals >= 0 && numerals <= 2 ? TVerticalNumerals(numerals) : def.NumeralsVertical;
    // A floor outside 1–72 points reads as the default.
    auto floorKey = [&](const char* key, int def) {
        const int v = ini.ReadInteger(s, key, def);
        return v >= 1 && v <= 72 ? v : def;
    };
    out.AddressFloor = floorKey("ADDRESS_FLOOR", def.AddressFloor);
    out.LabelAddressFloor = floorKey("LABEL_ADDRESS_FLOOR", def.LabelAddressFloor);
    for (int k = 1; k <= 10; ++k)
        SetKindOffset(out, k, {ini.ReadInteger(s, QStringLiteral("OFFSET_X_%1").arg(k), 0),
                               ini.ReadInteger(s, QStringLiteral("OFFSET_Y_%1").arg(k), 0)});
    out.LabelOffsets = ParseLabelOffsets(ini.ReadString(s, "LABEL_OFFSETS", QString()));
    if (out.Type == 1) {
        out.PMaker = ini.ReadInteger(s, "P_MAKER", def.PMaker);
        out.PIndex = ini.ReadInteger(s, "P_INDEX", def.PIndex);
    }
    return out;
}

bool SavePrintSettings(const QString& configPath, const TPrintSettings& v) {
    ProfileFile ini(configPath);
    const QString s = QLatin1String(kPrintConfSection);
    bool ok = ini.WriteInteger(s, "TYPE", v.Type) && ini.WriteInteger(s, "POSTCARD_INDEX", v.PostcardIndex) &&
              ini.WriteBool(s, "VERTICAL", v.Vertical) && ini.WriteBool(s, "PRINT_SENDER", v.PrintSender) &&
              ini.WriteBool(s, "PRINT_COSTOM", v.PrintCostom) && ini.WriteString(s, "FONT", v.Font) &&
              ini.WriteInteger(s, "P_MAKER", v.PMaker) && ini.WriteInteger(s, "P_INDEX", v.PIndex);
    for (const FrameKey& k : kFrameKeys) {
        const PreviewRect& r = v.Frames.*k.frame;
        const QString p = QLatin1String(k.prefix);
        ok = ok && ini.WriteInteger(s, p + "_LEFT", r.left.v) && ini.WriteInteger(s, p + "_TOP", r.top.v) &&
             ini.WriteInteger(s, p + "_WID", r.width.v) && ini.WriteInteger(s, p + "_HIG", r.height.v);
    }
    ok = ok && ini.WriteBool(s, "ZIPPRINTSTATE", v.ZipPrintState) && ini.WriteBool(s, "ATE_SIZE", v.AteSize) &&
         ini.WriteInteger(s, "SUSE_NO", v.SuseNo) && ini.WriteInteger(s, "SUSE_TYPE", v.SuseType) &&
         ini.WriteInteger(s, "SPRINT_CONTROL", v.SprintControl) &&
         ini.WriteInteger(s, "LATIN_VERTICAL", int(v.LatinVertical)) &&
         ini.WriteInteger(s, "NUMERALS_VERTICAL", int(v.NumeralsVertical)) &&
         ini.WriteInteger(s, "ADDRESS_FLOOR", v.AddressFloor) &&
         ini.WriteInteger(s, "LABEL_ADDRESS_FLOOR", v.LabelAddressFloor);
    for (int k = 1; k <= 10 && ok; ++k) {
        const TPrintOffset o = KindOffset(v, k);
        ok = ini.WriteInteger(s, QStringLiteral("OFFSET_X_%1").arg(k), o.Dx) &&
             ini.WriteInteger(s, QStringLiteral("OFFSET_Y_%1").arg(k), o.Dy);
    }
    ok = ok && ini.WriteString(s, "LABEL_OFFSETS", FormatLabelOffsets(v.LabelOffsets));
    return ok;
}

}  // namespace q2
