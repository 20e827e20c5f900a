// The CP932 half-width and upper-case mapping table.
#include "WidthMapping.h"

#include <array>

namespace lumika {
namespace {

constexpr std::string_view kAscii =
    " !\"#$%&'()*+,-./"
    "0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`ABCDEFGHIJKLMNOPQRSTUVWXYZ{|}~";

// One ASCII character of kAscii; lower-case positions hold the capitals.
constexpr std::string_view Ascii(char c) {
    return kAscii.substr(static_cast<std::size_t>(c - ' '), 1);
}

// Row 0x81, trail bytes 0x40-0x97: punctuation and signs. Empty: no other form.
constexpr std::array<std::string_view, 0x58> kRow81 = [] {
    std::array<std::string_view, 0x58> row{};
    auto set = [&row](unsigned trail, std::string_view to) { row[trail - 0x40] = to; };
    set(0x40, " ");     // full-width space
    set(0x41, "\xA4");  // 、
    set(0x42, "\xA1");  // 。
    set(0x43, ",");
    set(0x44, ".");
    set(0x45, "\xA5");  // ・
    set(0x46, ":");
    set(0x47, ";");
    set(0x48, "?");
    set(0x49, "!");
    set(0x4A, "\xDE");  // ゛
    set(0x4B, "\xDF");  // ゜
    set(0x4D, "`");
    set(0x4F, "^");
    set(0x51, "_");
    set(0x5B, "\xB0");  // ー
    set(0x5E, "/");
    set(0x5F, "\\");
    set(0x60, "~");  // ～ (U+FF5E in CP932)
    set(0x62, "|");
    set(0x69, "(");
    set(0x6A, ")");
    set(0x6D, "[");
    set(0x6E, "]");
    set(0x6F, "{");
    set(0x70, "}");
    set(0x75, "\xA2");  // 「
    set(0x76, "\xA3");  // 」
    set(0x7B, "+");
    set(0x7C, "-");  // full-width hyphen-minus
    set(0x81, "=");
    set(0x83, "<");
    set(0x84, ">");
    set(0x90, "$");
    set(0x93, "%");
    set(0x94, "#");
    set(0x95, "&");
    set(0x96, "*");
    set(0x97, "@");
    return row;
}();

// Row 0x83, trail bytes 0x40-0x96: katakana ァ to ヶ (0x7F, shown as ·, is no character).
// The small ヮ ヵ ヶ have no small half-width form and take the large one;
// ヰ and ヱ have no half-width form at all.
constexpr std::array<std::string_view, 0x57> kKatakana = {
    "\xA7",     "\xB1",     "\xA8",     "\xB2",     "\xA9",     "\xB3",      // ァアィイゥウ
    "\xAA",     "\xB4",     "\xAB",     "\xB5",     "\xB6",     "\xB6\xDE",  // ェエォオカガ
    "\xB7",     "\xB7\xDE", "\xB8",     "\xB8\xDE", "\xB9",     "\xB9\xDE",  // キギクグケゲ
    "\xBA",     "\xBA\xDE", "\xBB",     "\xBB\xDE", "\xBC",     "\xBC\xDE",  // コゴサザシジ
    "\xBD",     "\xBD\xDE", "\xBE",     "\xBE\xDE", "\xBF",     "\xBF\xDE",  // スズセゼソゾ
    "\xC0",     "\xC0\xDE", "\xC1",     "\xC1\xDE", "\xAF",     "\xC2",      // タダチヂッツ
    "\xC2\xDE", "\xC3",     "\xC3\xDE", "\xC4",     "\xC4\xDE", "\xC5",      // ヅテデトドナ
    "\xC6",     "\xC7",     "\xC8",     "\xC9",     "\xCA",     "\xCA\xDE",  // ニヌネノハバ
    "\xCA\xDF", "\xCB",     "\xCB\xDE", "\xCB\xDF", "\xCC",     "\xCC\xDE",  // パヒビピフブ
    "\xCC\xDF", "\xCD",     "\xCD\xDE", "\xCD\xDF", "\xCE",     "\xCE\xDE",  // プヘベペホボ
    "\xCE\xDF", "\xCF",     "\xD0",     {},         "\xD1",     "\xD2",      // ポマミ·ムメ
    "\xD3",     "\xAC",     "\xD4",     "\xAD",     "\xD5",     "\xAE",      // モャヤュユョ
    "\xD6",     "\xD7",     "\xD8",     "\xD9",     "\xDA",     "\xDB",      // ヨラリルレロ
    "\xDC",     "\xDC",     {},         {},         "\xA6",     "\xDD",      // ヮワヰヱヲン
    "\xB3\xDE", "\xB6",     "\xB9",                                          // ヴヵヶ
};

std::string_view DoubleByte(unsigned char lead, unsigned char trail) {
    switch (lead) {
        case 0x81:
            if (trail >= 0x40 && trail <= 0x97) return kRow81[trail - 0x40];
            break;
        case 0x82:
            if (trail >= 0x4F && trail <= 0x58) return Ascii(static_cast<char>('0' + trail - 0x4F));
            if (trail >= 0x60 && trail <= 0x79) return Ascii(static_cast<char>('A' + trail - 0x60));
            if (trail >= 0x81 && trail <= 0x9A) return Ascii(static_cast<char>('A' + trail - 0x81));
            break;
        case 0x83:
            if (trail >= 0x40 && trail <= 0x96) return kKatakana[trail - 0x40];
            break;
        case 0xEE:  // NEC-selected IBM extensions
        case 0xFA:  // IBM extensions
            if ((lead == 0xEE && trail == 0xFB) || (lead == 0xFA && trail == 0x56)) return "'";
            if ((lead == 0xEE && trail == 0xFC) || (lead == 0xFA && trail == 0x57)) return "\"";
            break;
        default:
            break;
    }
    return {};
}

}  // namespace

std::string_view HalfWidthUpper(std::string_view character) {
    if (character.size() == 1) {
        const char c = character[0];
        return c >= 'a' && c <= 'z' ? Ascii(c) : character;
    }
    if (character.size() == 2) {
        const std::string_view mapped = DoubleByte(static_cast<unsigned char>(character[0]),
                                                   static_cast<unsigned char>(character[1]));
        if (!mapped.empty()) return mapped;
    }
    return character;
}

}  // namespace lumika
