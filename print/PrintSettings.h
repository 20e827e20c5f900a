// The print settings of config.ini, section PRINT_CONF: keys,
// defaults when absent, and the order in which they are written.
#pragma once

#include <QMap>
#include <QString>
#include <array>

#include "print/PaperModel.h"
#include "print/Typesetting.h"

namespace q2 {

// A calibration offset in tenths of a millimetre, ±5 mm: how far everything
// printed on a piece moves to meet the card or label where the printer feeds it.
struct TPrintOffset {
    int Dx = 0, Dy = 0;  // right and down
    static constexpr int kLimit = 50;
    MmPoint InMm() const { return {Mm(Dx / 10.0), Mm(Dy / 10.0)}; }
    bool IsZero() const { return Dx == 0 && Dy == 0; }
    TPrintOffset Clamped() const;
    bool operator==(const TPrintOffset&) const = default;
};

struct TPrintSettings {
    int Type = 0;           // TYPE: 0 postcards and envelopes, 1 label sheets
    int PostcardIndex = 3;  // POSTCARD_INDEX: paper kind 1–10
    bool Vertical = true;   // VERTICAL
    bool PrintSender = false;   // PRINT_SENDER "差出人情報を印刷する"
    bool PrintCostom = false;   // PRINT_COSTOM "カスタマーコードを印刷する"
    QString Font = QString::fromUtf16(u"ＭＳ Ｐゴシック");  // FONT
    TLayoutFrames Frames = DefaultFrames(3, true);       // ZIP_, ADD_, NAM_, CUS_, SEN_, SZIP_
    bool ZipPrintState = false;  // ZIPPRINTSTATE "郵便番号を差出人部分に印刷する"
    bool AteSize = false;        // ATE_SIZE "宛先を大きくする" (preview only)
    int SuseNo = 0;              // SUSE_NO sender 0–4
    int SuseType = 0;            // SUSE_TYPE 0 "個人用", 1 "会社用"
    int SprintControl = 0;       // SPRINT_CONTROL print control mode 0–3
    int PMaker = 0;              // P_MAKER maker tab 0–4
    int PIndex = 0;              // P_INDEX label row, −1 none
    TLatinInVertical LatinVertical = TLatinInVertical::Sideways;   // LATIN_VERTICAL "欧文（縦書き）"
    TVerticalNumerals NumeralsVertical = TVerticalNumerals::Kanji;  // NUMERALS_VERTICAL "数字（縦書き）"

    // Smallest address size in points before the lines are broken:
    // ADDRESS_FLOOR on postcards and envelopes, LABEL_ADDRESS_FLOOR on labels.
    int AddressFloor = 10;
    int LabelAddressFloor = 7;
    // "印刷位置の調整": OFFSET_X_n/OFFSET_Y_n per paper kind n, and
    // LABEL_OFFSETS ("maker/model=dx,dy" joined by "|") per label sheet.
    std::array<TPrintOffset, 10> KindOffsets{};
    QMap<QString, TPrintOffset> LabelOffsets;

    bool operator==(const TPrintSettings&) const = default;
};

// The key of a label sheet in LABEL_OFFSETS.
QString LabelOffsetKey(const QString& maker, const QString& model);
// The offset of a paper kind (1–10) or of a label sheet ("" keys none).
TPrintOffset KindOffset(const TPrintSettings& s, int kind);
void SetKindOffset(TPrintSettings& s, int kind, TPrintOffset offset);
TPrintOffset LabelOffset(const TPrintSettings& s, const QString& labelKey);
void SetLabelOffset(TPrintSettings& s, const QString& labelKey, TPrintOffset offset);

constexpr const char* kPrintConfSection = "PRINT_CONF";

// Reads every key with its default. POSTCARD_INDEX is read only when TYPE is
// 0 and P_MAKER/P_INDEX only when TYPE is 1, as the dialog reads them; the
// others keep their defaults then.
TPrintSettings LoadPrintSettings(const QString& configPath);
// Writes the keys in their fixed order; other keys of the file stay.
bool SavePrintSettings(const QString& configPath, const TPrintSettings& settings);

}  // namespace q2
