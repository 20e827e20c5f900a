// Reading rows, decided on the CP932 bytes of the first character, as the
// files and the original tables have them.
#include "app/ReadingRow.h"

#include "platform/Cp932.h"
#include "platform/WidthMap.h"

namespace q2 {
namespace {

constexpr int kOther = 12;

struct Range {
    unsigned char first, last;
    int row;
};

int RowIn(const Range* ranges, int n, unsigned char b) {
    for (int i = 0; i < n; ++i)
        if (b >= ranges[i].first && b <= ranges[i].last) return ranges[i].row;
    return kOther;
}

// Half-width katakana; 0xAC–0xB0 (small ャュョッ and ｰ) fall through to "他".
constexpr Range kHalfWidth[] = {
    {0xA6, 0xA6, 10}, {0xA7, 0xAB, 1}, {0xB1, 0xB5, 1}, {0xB6, 0xBA, 2},
    {0xBB, 0xBF, 3},  {0xC0, 0xC4, 4}, {0xC5, 0xC9, 5}, {0xCA, 0xCE, 6},
    {0xCF, 0xD3, 7},  {0xD4, 0xD6, 8}, {0xD7, 0xDB, 9}, {0xDC, 0xDD, 10},
};
// Lead byte 0x82: full-width upper-case Latin and hiragana.
constexpr Range kLead82[] = {
    {0x60, 0x79, 11}, {0x9F, 0xA8, 1}, {0xA9, 0xB2, 2},  {0xB3, 0xBC, 3},
    {0xBD, 0xC7, 4},  {0xC8, 0xCC, 5}, {0xCD, 0xDB, 6},  {0xDC, 0xE0, 7},
    {0xE1, 0xE6, 8},  {0xE7, 0xEB, 9}, {0xEC, 0xF1, 10},
};
// Lead byte 0x83: katakana; ヴ ヵ ヶ (0x94–0x96) fall through to "他".
constexpr Range kLead83[] = {
    {0x40, 0x49, 1}, {0x4A, 0x53, 2}, {0x54, 0x5D, 3}, {0x5E, 0x68, 4}, {0x69, 0x6D, 5},
    {0x6E, 0x7C, 6}, {0x7D, 0x82, 7}, {0x83, 0x88, 8}, {0x89, 0x8D, 9}, {0x8E, 0x93, 10},
};

template <int N>
int RowIn(const Range (&ranges)[N], unsigned char b) {
    return RowIn(ranges, N, b);
}

}  // namespace

int ReadingRowOf(QStringView text) {
    if (Trim(text).isEmpty()) return kOther;
    // One character is at most two code units; a character CP932 cannot hold
    // encodes as "?" and lands in "他".
    const qsizetype units = text.first().isHighSurrogate() && text.size() > 1 ? 2 : 1;
    const QByteArray bytes = EncodeCp932(text.first(units));
    if (bytes.isEmpty()) return kOther;
    const auto b0 = static_cast<unsigned char>(bytes[0]);
    if (!IsCp932LeadByte(b0) || bytes.size() < 2) {
        if ((b0 >= 'A' && b0 <= 'Z') || (b0 >= 'a' && b0 <= 'z')) return 11;
        return RowIn(kHalfWidth, b0);
    }
    const auto b1 = static_cast<unsigned char>(bytes[1]);
    if (b0 == 0x82) return RowIn(kLead82, b1);
    if (b0 == 0x83) return RowIn(kLead83, b1);
    return kOther;
}

}  // namespace q2
