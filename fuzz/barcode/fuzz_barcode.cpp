// libFuzzer target: GetCBarString on any symbol map, postal code and address,
// with a guarded output buffer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "lumika.h"

namespace {

constexpr unsigned char kCanary = 0xA5;
constexpr std::size_t kMaxAddress = 1024;

// Postal codes with an exception name, a no-number code and plain ones, so that
// most inputs reach the address rules.
constexpr const char* kPostalCodes[] = {"017-0897", "1706045",  "0018501",  "029-5503", "0691317",
                                        "263-0023", "910-0067", "100-0000", "0100135",  "1046090"};

// Pieces of addresses in CP932 that random bytes rarely form: markers, kanji
// numerals, full-width digits and letters, katakana, blanks.
constexpr std::string_view kTokens[] = {
    "0",
    "1",
    "2",
    "3",
    "9",
    "-",
    " ",
    "F",
    "A",
    "Z",
    "&",
    ".",
    "/",
    "\xa5",
    "\xc9",
    "\xb0",
    "\x81\x40",
    "\x92\x9a",
    "\x94\xd4",
    "\x8d\x86",
    "\x92\x6e\x8a\x84",
    "\x90\xfc",
    "\x82\xcc",
    "\x81\x5a",
    "\x97\xeb",
    "\x82\x4f",
    "\x88\xea",
    "\x88\xeb",
    "\x98\x9f",
    "\x93\xf1",
    "\x8e\x4f",
    "\x8e\x6c",
    "\x8c\xdc",
    "\x94\xaa",
    "\x8b\xe3",
    "\x8f\x5c",
    "\x8f\x45",
    "\x95\x53",
    "\x90\xe7",
    "\x96\x9c",
    "\xe4\xdd",
    "\x89\xad",
    "\x92\x9b",
    "\x82\x50",
    "\x82\x60",
    "\x82\x81",
    "\x81\x7c",
    "\x83\x4b",
    "\x83\x6d",
    "\x81\x5b",
    "\x81\x45",
    "\x83\x96",
    "\x8e\x4f\x82\xcc\x8a\xdb",
};

bool IsCodeByte(char c, const char* controlCodes) {
    if ((c >= '0' && c <= '9') || c == '-') return true;
    return std::memchr(controlCodes, c, 8) != nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::uint8_t flags = data[0];
    const std::size_t postalLength = data[1] % 12;
    data += 2;
    size -= 2;

    // Symbol map: usually ten bytes (the length that counts), sometimes another length or none.
    std::string map;
    const bool noMap = (flags & 0x0F) == 0x0F;
    const std::size_t mapLength = (flags & 0x08) ? 10 : (flags & 0x07);
    for (std::size_t i = 0; i < mapLength && size > 0 && !noMap; ++i, ++data, --size) {
        map += static_cast<char>(*data == 0 ? ' ' : *data);
    }

    std::string postal;
    if (flags & 0x10) {
        postal = kPostalCodes[postalLength % std::size(kPostalCodes)];
    } else {
        for (std::size_t i = 0; i < postalLength && size > 0; ++i, ++data, --size) {
            // Mostly digits, so that the address is reached.
            const char c =
                (flags & 0x20) ? static_cast<char>('0' + *data % 10) : static_cast<char>(*data);
            if (c != 0) postal += c;
        }
    }

    std::string address;
    const bool tokens = flags & 0x40;
    for (std::size_t i = 0; i < size && address.size() < kMaxAddress; ++i) {
        const std::uint8_t b = data[i];
        if (tokens && b < 0x40) {
            address += kTokens[b % std::size(kTokens)];
        } else if (b != 0) {
            address += static_cast<char>(b);
        }
    }
    if (address.size() > kMaxAddress) address.resize(kMaxAddress);

    unsigned char out[64];
    std::memset(out, kCanary, sizeof out);
    const char* mapArg = noMap ? nullptr : map.c_str();
    const char* addressArg = (flags & 0x80) && address.empty() ? nullptr : address.c_str();
    const int result =
        GetCBarString(mapArg, postal.c_str(), addressArg, reinterpret_cast<char*>(out));

    if (result != LUMIKA_OK) {
        if (result != LUMIKA_BAD_POSTAL_CODE && result != LUMIKA_FAILED) std::abort();
        for (unsigned char b : out) {
            if (b != kCanary) std::abort();  // written on failure
        }
        return 0;
    }
    for (std::size_t i = LUMIKA_OUTPUT_SIZE; i < sizeof out; ++i) {
        if (out[i] != kCanary) std::abort();  // written beyond 24 bytes
    }
    if (out[23] != 0) std::abort();

    // The map as the library reads it: ten characters, blanks keeping defaults.
    char symbols[11] = "()ABCDEFGH";
    if (mapArg != nullptr && std::strlen(mapArg) == 10) {
        for (int i = 0; i < 10; ++i) {
            if (mapArg[i] != ' ') symbols[i] = mapArg[i];
        }
    }
    const char* text = reinterpret_cast<const char*>(out);
    if (text[0] != symbols[0] || text[22] != symbols[1]) std::abort();
    for (int i = 1; i <= 7; ++i) {
        if (text[i] < '0' || text[i] > '9') std::abort();
    }
    for (int i = 8; i <= 21; ++i) {
        if (!IsCodeByte(text[i], symbols + 2)) std::abort();
    }

    // Same input, same output: nothing of a call survives into the next.
    unsigned char again[64];
    std::memset(again, kCanary, sizeof again);
    if (GetCBarString(mapArg, postal.c_str(), addressArg, reinterpret_cast<char*>(again)) != 0 ||
        std::memcmp(out, again, sizeof out) != 0) {
        std::abort();
    }
    return 0;
}
