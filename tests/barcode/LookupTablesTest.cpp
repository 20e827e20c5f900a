// The compiled postal code tables: contents, order and lookups.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <string>

#include "Cp932.h"
#include "LookupTables.h"
#include "WidthMapping.h"
#include "WorkingText.h"

namespace lumika {
namespace {

using test::Sjis;

TEST(ExceptionNameTable, HoldsEveryCodeAndName) {
    EXPECT_EQ(kExceptionCodes.size(), 1419u);
    EXPECT_EQ(kExceptionNameOfCode.size(), kExceptionCodes.size());
    EXPECT_EQ(kExceptionNameTexts.size(), 891u);
    const std::set<std::string_view> distinct(kExceptionNameTexts.begin(),
                                              kExceptionNameTexts.end());
    EXPECT_EQ(distinct.size(), 891u);
    // Every name serves at least one code.
    const std::set<std::uint16_t> used(kExceptionNameOfCode.begin(), kExceptionNameOfCode.end());
    EXPECT_EQ(used.size(), 891u);
    EXPECT_TRUE(std::is_sorted(kExceptionCodes.begin(), kExceptionCodes.end()));
    EXPECT_EQ(std::adjacent_find(kExceptionCodes.begin(), kExceptionCodes.end()),
              kExceptionCodes.end());
}

TEST(ExceptionNameTable, NamesAreInNormalisedForm) {
    // Addresses are normalised before the name is looked for in them, so a
    // name that normalisation would change could never be found.
    for (std::string_view name : kExceptionNameTexts) {
        EXPECT_GE(name.size(), 3u);
        EXPECT_LE(name.size(), 27u);
        for (std::size_t i = 0; i < name.size(); i += CharacterLength(name, i)) {
            const std::string_view character = name.substr(i, CharacterLength(name, i));
            EXPECT_EQ(HalfWidthUpper(character), character) << test::Utf8(name);
        }
    }
}

TEST(FindExceptionName, FindsTheNameOfEachCode) {
    EXPECT_EQ(FindExceptionName(1706045), Sjis("東池袋ｻﾝｼｬｲﾝ60"));
    EXPECT_EQ(FindExceptionName(170897), Sjis("三の丸"));
    EXPECT_EQ(FindExceptionName(691317), Sjis("東1線北"));
    EXPECT_EQ(FindExceptionName(100135), Sjis("上新城五十丁"));  // first entry
    EXPECT_EQ(FindExceptionName(9902444), Sjis("南四番町"));     // last entry
    for (std::uint32_t code : {0u, 100134u, 170898u, 1234567u, 9902445u, 9999999u}) {
        EXPECT_EQ(FindExceptionName(code), "") << code;
    }
    for (std::size_t i = 0; i < kExceptionCodes.size(); ++i) {
        EXPECT_EQ(FindExceptionName(kExceptionCodes[i]),
                  kExceptionNameTexts[kExceptionNameOfCode[i]])
            << kExceptionCodes[i];
    }
}

TEST(FindNoNumberCode, KnowsTheBusinessCodes) {
    const std::uint32_t listed[] = {
        18501, 18521, 18585,   18588,   18612,   28501,   28502,   28503, 38501,
        38502, 38503, 38504,   38505,   38510,   38511,   38512,   38515, 38519,
        38520, 38530, 9993795, 9993797, 9994292, 9995292, 9998292,
    };
    for (std::uint32_t code : listed) EXPECT_TRUE(FindNoNumberCode(code)) << code;
    for (std::uint32_t code : {0u, 18500u, 18502u, 1000013u, 2630023u, 9998293u, 9999999u}) {
        EXPECT_FALSE(FindNoNumberCode(code)) << code;
    }
    for (std::uint32_t code : kExceptionCodes) EXPECT_FALSE(FindNoNumberCode(code)) << code;
}

TEST(FindNoNumberCode, FindsEveryCodeOfTheDataFile) {
    std::ifstream file(Q2_SOURCE_DIR "/barcode/data/nonumber.txt");
    ASSERT_TRUE(file);
    std::string line;
    std::size_t count = 0;
    while (std::getline(file, line)) {
        const auto code = static_cast<std::uint32_t>(std::stoul(line));
        if (!FindExceptionName(code).empty()) continue;
        EXPECT_TRUE(FindNoNumberCode(code)) << line;
        ++count;
    }
    EXPECT_GT(count, 20000u);
    EXPECT_TRUE(std::is_sorted(kNoNumberCodes.begin(), kNoNumberCodes.end()));
    EXPECT_EQ(std::adjacent_find(kNoNumberCodes.begin(), kNoNumberCodes.end()),
              kNoNumberCodes.end());
}

}  // namespace
}  // namespace lumika
