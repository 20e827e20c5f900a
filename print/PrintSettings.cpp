// PRINT_CONF of config.ini.
#include "print/PrintSettings.h"

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

}  // namespace

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
         ini.WriteInteger(s, "NUMERALS_VERTICAL", int(v.NumeralsVertical));
    return ok;
}

}  // namespace q2
