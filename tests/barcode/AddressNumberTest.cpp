// Reading the address number: markers, kanji numerals, letters, limits.
#include <gtest/gtest.h>

#include <string>

#include "AddressNumber.h"
#include "Cp932.h"

namespace lumika {
namespace {

using test::Sjis;
using test::Utf8;

struct ExtractCase {
    const char* address;  // UTF-8
    const char* exceptionName;
    const char* expected;
};

const ExtractCase kExtractCases[] = {
    {"緑町三丁目三十番八号", "", "3-30-8"},
    {"緑町3の30の8", "", "3-30-8"},
    {"緑町３－３０－８", "", "3-30-8"},
    {"緑町3ノ30", "", "3-30"},
    {"四丁六番十九号", "", "4-6-19"},
    {"十一丁目", "", "11"},
    {"第二十一地割", "", "21"},
    {"南七線西28", "", "7-28"},
    {"二千三百四十五番地", "", "2345"},
    {"五万三千番", "", "53000"},
    {"一〇五番地", "", "105"},
    {"三万五六番", "", "30006"},
    {"緑町3-30-8 4F", "", "3-30-84"},
    {"千葉市1-2-3ABC", "", "1-2-3"},
    {"A-1-B", "", "a01a1"},
    {"b-1", "", "a11"},
    {"1/2&3.4", "", "1234"},
    {"秋田県大館市三の丸1-2", "三の丸", "1-2"},
    {"秋田県大館市三の丸1-2", "", "3-1-2"},
    // Further cases.
    {"東京都千代田区", "", ""},
    {"ビル　1－2　ｂ", "", "1-2a1"},           // full-width blanks, letters and signs
    {"三", "", "3"},                           // the closing "-" converts a final numeral run
    {"Z-9-Y", "", "c59c4"},                    // the last letters of the alphabet
    {"1-2-3-4-5-6-7-8", "", "1-2-3-4-5-6-7"},  // cut at 13
    {"1-2-3-4-5-67Z", "", "1-2-3-4-5-67c"},    // a letter code at the 13th place
    {"3F", "", "3"},
    {"一二三四五六七八九〇一二三四五兆番", "", "1234567890123"},  // beyond 64 bits
    {"大字三の丸三の丸2", "三の丸", "3-2"},  // only the first occurrence is cut
    {"三の丸", "丸1", "3"},                  // a name that does not occur cuts nothing
};

TEST(ExtractAddressNumber, ReadsTheNumberOfTheAddress) {
    for (const ExtractCase& c : kExtractCases) {
        EXPECT_EQ(ExtractAddressNumber(Sjis(c.address), Sjis(c.exceptionName)), c.expected)
            << c.address << " / " << c.exceptionName;
    }
}

TEST(ExtractAddressNumber, MatchesWholeCharactersOnly) {
    // ﾉ is 0xC9, which is also the trail byte of 暇 (0x89 0xC9).
    const std::string hima = "\x89\xc9";
    // The exception name ﾉ must not be found in the second byte of 暇.
    EXPECT_EQ(ExtractAddressNumber("3" + hima + "5-6", "\xc9"), "3-5-6");
    // Nor may the marker ﾉ: 三 before 暇 stays a kanji.
    EXPECT_EQ(ExtractAddressNumber(Sjis("三") + hima + "5", ""), "5");
    // 十 is 0x8F 0x5C: its second byte is no backslash to cut at.
    EXPECT_EQ(ExtractAddressNumber(Sjis("十番5"), "\\"), "10-5");
}

TEST(ExtractAddressNumber, WorksOnTheFirst255BytesOnly) {
    std::string filler;
    for (int i = 0; i < 126; ++i) filler += Sjis("あ");          // 252 bytes
    EXPECT_EQ(ExtractAddressNumber(filler + "12", ""), "12");    // 254 bytes and the closing "-"
    EXPECT_EQ(ExtractAddressNumber(filler + "123", ""), "123");  // 255: the "-" falls away
    EXPECT_EQ(ExtractAddressNumber(filler + "1234", ""), "123");
    // 番 would end at byte 256: it and the closing "-" fall away, and 三 is no number.
    EXPECT_EQ(ExtractAddressNumber(filler + Sjis("三番"), ""), "");
}

TEST(ExtractAddressNumber, DropsALeadByteWithoutItsTrailByte) {
    EXPECT_EQ(ExtractAddressNumber(Sjis("三") + "\x81", ""), "3");
    EXPECT_EQ(ExtractAddressNumber("\x81", ""), "");
}

struct ConvertCase {
    const char* marker;  // UTF-8
    const char* text;
    const char* expected;
};

TEST(ConvertNumeralRun, ReplacesTheFirstMarkerAndTheNumeralsBeforeIt) {
    const ConvertCase cases[] = {
        {"番", "三十番八号", "30変八号"},
        {"の", "一の二の三", "1変二の三"},  // first occurrence only
        {"番", "3番", "3変"},               // ASCII digits only get the mark
        {"丁", "緑町丁目", "緑町変目"},     // so does a kanji that is no numeral
        {"丁", "緑一町二丁", "緑一町2変"},  // the run stops at the first non-numeral
        {"番", "番", "変"},
        {"線", "緑町", "緑町"},  // no marker: unchanged
    };
    for (const ConvertCase& c : cases) {
        WorkingText text;
        text.appendText(Sjis(c.text));
        EXPECT_EQ(Utf8(ConvertNumeralRun(Sjis(c.marker), text).view()), c.expected)
            << c.marker << " " << c.text;
    }
}

TEST(ConvertNumeralRun, CutsAGrowingTextAt255Bytes) {
    std::string filler;
    for (int i = 0; i < 124; ++i) filler += Sjis("あ");  // 248 bytes
    WorkingText text;
    text.appendText(filler + Sjis("一兆番"));  // 254 bytes, 263 once converted
    const WorkingText converted = ConvertNumeralRun(Sjis("番"), text);
    EXPECT_EQ(converted.view(), filler + "1000000");
}

struct NumberCase {
    const char* run;  // UTF-8
    const char* digits;
};

TEST(KanjiNumberText, ConvertsRunsOfKanjiNumerals) {
    const NumberCase cases[] = {
        {"一〇五", "105"},
        {"〇五", "05"},  // digits alone keep their leading zeros
        {"壱弐参", "123"},
        {"十一", "11"},
        {"二十", "20"},
        {"拾", "10"},
        {"二千三百四十五", "2345"},
        {"五万三千", "53000"},
        {"三万五六", "30006"},
        {"三萬", "30000"},
        {"一万二萬", "30000"},
        {"〇五万", "50000"},
        {"一億", "100000000"},
        {"万", "0"},
        {"九千九百九十九兆九千九百九十九億九千九百九十九万九千九百九十九", "9999999999999999"},
        {"一二三四五六七八九〇一二三四五兆", "123456789012345000000000000"},
        {"一万〇", "10000"},
    };
    for (const NumberCase& c : cases) {
        EXPECT_EQ(KanjiNumberText(Sjis(c.run)), c.digits) << c.run;
    }
}

struct SmallCase {
    const char* group;  // UTF-8
    std::uint32_t value;
};

TEST(SmallUnitValue, SetsTheSlotsOfThousandsHundredsTensAndOnes) {
    const SmallCase cases[] = {
        {"二十", 20}, {"百", 100},  {"千五", 1005}, {"二千三百四十五", 2345},
        {"五六", 6},  {"拾二", 12}, {"十〇", 10},   {"百百", 100},  // slots are set, not added
    };
    for (const SmallCase& c : cases) {
        EXPECT_EQ(SmallUnitValue(Sjis(c.group)), c.value) << c.group;
    }
}

}  // namespace
}  // namespace lumika
