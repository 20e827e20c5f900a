// GetCBarString called through the shared library, as the printing side calls it.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "Cp932.h"
#include "lumika.h"

namespace {

using lumika::test::Sjis;

constexpr unsigned char kCanary = 0xA5;

// A 64-byte output buffer that shows which bytes a call touched.
struct GuardedOutput {
    std::array<unsigned char, 64> bytes;
    GuardedOutput() { bytes.fill(kCanary); }
    char* data() { return reinterpret_cast<char*>(bytes.data()); }
    std::string text() const { return reinterpret_cast<const char*>(bytes.data()); }
    bool untouchedFrom(std::size_t first) const {
        for (std::size_t i = first; i < bytes.size(); ++i) {
            if (bytes[i] != kCanary) return false;
        }
        return true;
    }
};

struct BarcodeCase {
    const char* postalCode;
    const char* address;  // UTF-8
    const char* expected;
};

const BarcodeCase kExamples[] = {
    {"263-0023", "千葉市稲毛区緑町3丁目30-8郵便ビル403号", "(26300233-30-8-403DDD5)"},
    {"1000013", "東京都千代田区霞が関一丁目3番2号", "(10000131-3-2DDDDDDDD9)"},
    {"263-0023", "緑町三丁目三十番八号", "(26300233-30-8DDDDDDD4)"},
    {"100-0000", "東京都千代田区", "(1000000DDDDDDDDDDDDD7)"},         // ends in 00
    {"0018501", "北海道札幌市1-2-3", "(0018501DDDDDDDDDDDDDB)"},       // no-number code
    {"1234567", "", "(1234567DDDDDDDDDDDDDH)"},                        // check value 18
    {"017-0897", "秋田県大館市三の丸1-2", "(01708971-2DDDDDDDDDD5)"},  // exception name
    {"017-0898", "秋田県大館市三の丸1-2", "(01708983-1-2DDDDDDDD0)"},
    {"12345678", "1-2-3", "(12356781-2-3DDDDDDDD1)"},  // fourth character dropped
    {"064-0804", "札幌市中央区南四条西29丁目1524-23第2郵便ハウス501", "(064080429-1524-23-2-3)"},
    {"910-0067", "福井県福井市新田塚3丁目80-25J1ビル2-B", "(91000673-80-25A91-2A9)"},
    // The address says ヶ where the place name has the half-width ｹ of ケ.
    {"029-5503", "岩手県和賀郡西和賀町清水ヶ野18地割5", "(02955035DDDDDDDDDDDDB)"},
};

TEST(GetCBarString, EncodesTheExampleAddresses) {
    for (const BarcodeCase& c : kExamples) {
        GuardedOutput out;
        const std::string address = Sjis(c.address);
        EXPECT_EQ(GetCBarString("()ABCDEFGH", c.postalCode, address.c_str(), out.data()), LUMIKA_OK)
            << c.postalCode << " " << c.address;
        EXPECT_EQ(out.text(), c.expected) << c.postalCode << " " << c.address;
        EXPECT_EQ(out.bytes[23], 0);
        EXPECT_TRUE(out.untouchedFrom(24)) << c.address;
    }
}

TEST(GetCBarString, RejectsBadPostalCodesWithoutWriting) {
    const char* const bad[] = {
        "",         "12345",    "000-0000",  "0000000",        "12-34567",
        "abc-defg", "123-456",  "123456789", "1234-567",       "+123456",
        " 123456",  "123-45 6", "0x12345",   "１２３４５６７",  // not ASCII digits
    };
    for (const char* code : bad) {
        GuardedOutput out;
        EXPECT_EQ(GetCBarString("()ABCDEFGH", code, "1-2-3", out.data()), LUMIKA_BAD_POSTAL_CODE)
            << code;
        EXPECT_TRUE(out.untouchedFrom(0)) << code;
    }
    GuardedOutput out;
    EXPECT_EQ(GetCBarString("()ABCDEFGH", nullptr, "1-2-3", out.data()), LUMIKA_BAD_POSTAL_CODE);
    EXPECT_TRUE(out.untouchedFrom(0));
}

TEST(GetCBarString, IgnoresTheFourthCharacterOfAnEightCharacterCode) {
    for (const char* code : {"263-0023", "263 0023", "26300023", "263x0023"}) {
        GuardedOutput out;
        EXPECT_EQ(GetCBarString(nullptr, code, "3-30-8", out.data()), LUMIKA_OK) << code;
        EXPECT_EQ(out.text(), "(26300233-30-8DDDDDDD4)") << code;
    }
}

TEST(GetCBarString, EmptyOrMissingAddressGivesFiller) {
    for (const char* address : {"", static_cast<const char*>(nullptr)}) {
        GuardedOutput out;
        EXPECT_EQ(GetCBarString(nullptr, "1234567", address, out.data()), LUMIKA_OK);
        EXPECT_EQ(out.text(), "(1234567DDDDDDDDDDDDDH)");
    }
    // Nothing usable in the address is no error either.
    GuardedOutput out;
    EXPECT_EQ(GetCBarString(nullptr, "1234567", Sjis("東京都ＡＢＣビル").c_str(), out.data()),
              LUMIKA_OK);
    EXPECT_EQ(out.text(), "(1234567DDDDDDDDDDDDDH)");
}

TEST(GetCBarString, MissingOutputBufferIsAFailureNotACrash) {
    EXPECT_EQ(GetCBarString(nullptr, "263-0023", "3-30-8", nullptr), LUMIKA_FAILED);
    EXPECT_EQ(GetCBarString(nullptr, "000-0000", "3-30-8", nullptr), LUMIKA_BAD_POSTAL_CODE);
}

struct MapCase {
    const char* map;
    const char* postalCode;
    const char* address;
    const char* expected;
};

TEST(GetCBarString, SymbolMapNamesStartStopAndControlCodes) {
    const MapCase cases[] = {
        // Any length but ten selects the defaults.
        {nullptr, "1234567", "", "(1234567DDDDDDDDDDDDDH)"},
        {"", "1234567", "", "(1234567DDDDDDDDDDDDDH)"},
        {"<>STUVWXY", "1234567", "", "(1234567DDDDDDDDDDDDDH)"},
        {"<>STUVWXYZ!", "1234567", "", "(1234567DDDDDDDDDDDDDH)"},
        // Ten characters replace start, stop, CC1-CC8, the check character too.
        {"<>STUVWXYZ", "1234567", "", "<1234567VVVVVVVVVVVVVZ>"},
        {"<>STUVWXYZ", "910-0067", "福井県福井市新田塚3丁目80-25J1ビル2-B",
         "<91000673-80-25S91-2S9>"},
        // A blank keeps its position's default.
        {"  STU WXY ", "1234567", "", "(1234567DDDDDDDDDDDDDH)"},
        {" ]STUVWXY ", "1234567", "", "(1234567VVVVVVVVVVVVVH]"},
    };
    for (const MapCase& c : cases) {
        GuardedOutput out;
        const std::string address = Sjis(c.address);
        EXPECT_EQ(GetCBarString(c.map, c.postalCode, address.c_str(), out.data()), LUMIKA_OK);
        EXPECT_EQ(out.text(), c.expected) << (c.map ? c.map : "(null)");
    }
}

TEST(GetCBarString, ReadsNoMoreThan255BytesOfTheAddress) {
    std::string longName;
    for (int i = 0; i < 130; ++i) longName += Sjis("あ");  // 260 bytes
    GuardedOutput before, after;
    EXPECT_EQ(
        GetCBarString(nullptr, "263-0023", (Sjis("3-30-8") + longName).c_str(), before.data()),
        LUMIKA_OK);
    EXPECT_EQ(before.text(), "(26300233-30-8DDDDDDD4)");
    EXPECT_EQ(GetCBarString(nullptr, "263-0023", (longName + "3-30-8").c_str(), after.data()),
              LUMIKA_OK);
    EXPECT_EQ(after.text(), "(2630023DDDDDDDDDDDDDA)");
    EXPECT_TRUE(after.untouchedFrom(24));
}

}  // namespace
