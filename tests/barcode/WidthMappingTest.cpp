// The half-width and upper-case mapping the address is normalised with.
#include <gtest/gtest.h>

#include <string>

#include "Cp932.h"
#include "WidthMapping.h"
#include "WorkingText.h"

namespace lumika {
namespace {

using test::Sjis;
using test::Utf8;

std::string MapText(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); i += CharacterLength(text, i)) {
        out += HalfWidthUpper(text.substr(i, CharacterLength(text, i)));
    }
    return out;
}

TEST(HalfWidthUpper, MapsTheFormsAnAddressIsWrittenIn) {
    const struct {
        const char* from;
        const char* to;
    } cases[] = {
        {"ＡＢＺａｂｚ０９", "ABZABZ09"},
        {"abz-AZ09", "ABZ-AZ09"},
        {"！＃＆（）－．／：＠［＼］～｛｝", "!#&()-./:@[\\]~{}"},
        {"アイウカガパヴッャー・", "ｱｲｳｶｶﾞﾊﾟｳﾞｯｬｰ･"},
        {"「」、。゛゜", "｢｣､｡ﾞﾟ"},
        {"ヶヵヮ", "ｹｶﾜ"},
        {"ヰヱ", "ヰヱ"},                              // no half-width form
        {"東京都ひらがなｶﾀｶﾅ", "東京都ひらがなｶﾀｶﾅ"},  // unchanged
        {"ΑΩαПп①", "ΑΩαПп①"},                          // other letters are no ASCII
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8(MapText(Sjis(c.from))), c.to) << c.from;
    }
}

// Every double-byte character of CP932 checked against its Unicode meaning:
// the full-width forms of ASCII become ASCII (upper case), katakana become
// half-width katakana, and every other character stays as it is.
TEST(HalfWidthUpper, CoversTheWholeCp932Repertoire) {
    const std::u32string punctuation = U"\u3000\u3001\u3002\u300C\u300D\u30FB\u30FC\u309B\u309C";
    int mapped = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            const std::string character{static_cast<char>(lead), static_cast<char>(trail)};
            std::u32string unicode;
            try {
                const std::string utf32 = test::Convert(character, "CP932", "UTF-32LE");
                if (utf32.size() != 4) continue;
                unicode.push_back(static_cast<unsigned char>(utf32[0]) |
                                  static_cast<unsigned char>(utf32[1]) << 8 |
                                  static_cast<unsigned char>(utf32[2]) << 16);
            } catch (const std::runtime_error&) {
                continue;  // not a CP932 character
            }
            const char32_t u = unicode[0];
            const std::string_view result = HalfWidthUpper(character);
            if (u >= 0xFF01 && u <= 0xFF5E) {
                char ascii = static_cast<char>(u - 0xFEE0);
                if (ascii >= 'a' && ascii <= 'z') ascii = static_cast<char>(ascii - 'a' + 'A');
                EXPECT_EQ(result, std::string(1, ascii)) << std::hex << lead << trail;
                ++mapped;
            } else if ((u >= 0x30A1 && u <= 0x30F6 && u != 0x30F0 && u != 0x30F1) ||
                       punctuation.find(u) != std::u32string::npos) {
                ASSERT_FALSE(result.empty());
                EXPECT_LE(result.size(), 2u);
                for (char c : result) {
                    const auto b = static_cast<unsigned char>(c);
                    EXPECT_TRUE((b >= 0xA1 && b <= 0xDF) || b == ' ') << std::hex << lead << trail;
                }
                ++mapped;
            } else {
                EXPECT_EQ(result, character) << std::hex << lead << trail;
            }
        }
    }
    // The 94 ASCII forms, two of them twice, katakana but ヰ ヱ, the punctuation.
    EXPECT_EQ(mapped, 94 + 2 + 84 + 9);
}

}  // namespace
}  // namespace lumika
