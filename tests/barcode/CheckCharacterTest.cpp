// The check character: the code character that makes the total a multiple of 19.
#include <gtest/gtest.h>

#include <stdexcept>

#include "CustomerBarcode.h"

namespace lumika {
namespace {

TEST(ComputeCheckCharacter, CompletesTheSumToAMultipleOf19) {
    const struct {
        const char* body;
        char check;
    } cases[] = {
        {"00000010000000000000", 'h'},  // sum 1
        {"00000080000000000000", 'a'},  // 8: value 11, CC1
        {"00000090000000000000", '-'},  // 9: value 10
        {"00000099100000000000", '0'},  // 19
        {"00000099200000000000", 'h'},  // 20: 20 mod 19 is 1
        {"0000009999-000000000", 'a'},  // 46, the hyphen worth 10: 46 mod 19 is 8
        {"0000001ddddddddddddd", '7'},  // 1 + 13 × 14 = 183
        {"0000001DDDDDDDDDDDDD", '7'},  // capitals are worth the same
        {"0000001a0b0c0d0e0f0g", 'e'},  // 1 + 11 + 12 + ... + 17 = 99
    };
    for (const auto& c : cases) EXPECT_EQ(ComputeCheckCharacter(c.body), c.check) << c.body;
}

TEST(ComputeCheckCharacter, RefusesWhatIsNoCodeCharacter) {
    EXPECT_THROW(ComputeCheckCharacter("0000001i000000000000"), std::invalid_argument);
    EXPECT_THROW(ComputeCheckCharacter("0000001 000000000000"), std::invalid_argument);
}

}  // namespace
}  // namespace lumika
