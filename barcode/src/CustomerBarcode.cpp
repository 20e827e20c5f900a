// Validation of the postal code, the choice whether an address number is
// encoded, filling, the check character and the output string.
#include "CustomerBarcode.h"

#include <cstring>
#include <stdexcept>
#include <string>

#include "AddressNumber.h"
#include "LookupTables.h"

namespace lumika {
namespace {

constexpr std::size_t kAddressNumberLength = 13;
constexpr char kFiller = 'd';  // CC4

int CheckValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c == '-') return 10;
    if (c >= 'a' && c <= 'h') return 11 + (c - 'a');
    if (c >= 'A' && c <= 'H') return 11 + (c - 'A');
    throw std::invalid_argument("no code character");
}

char OutputCharacter(char c, const SymbolMap& map) {
    return c >= 'a' && c <= 'h' ? map.controlCodes[static_cast<std::size_t>(c - 'a')] : c;
}

}  // namespace

SymbolMap ReadSymbolMap(const char* text) {
    SymbolMap map;
    if (text == nullptr || strnlen(text, 11) != 10) return map;
    auto take = [](char given, char& slot) {
        if (given != ' ') slot = given;
    };
    take(text[0], map.start);
    take(text[1], map.stop);
    for (std::size_t i = 0; i < map.controlCodes.size(); ++i)
        take(text[2 + i], map.controlCodes[i]);
    return map;
}

std::optional<PostalCode> ValidatePostalCode(const char* text) {
    if (text == nullptr) return std::nullopt;
    const std::size_t length = strnlen(text, 9);
    char z[8];
    if (length == 7 && std::memchr(text, '-', 7) == nullptr) {
        std::memcpy(z, text, 3);
        z[3] = '-';
        std::memcpy(z + 4, text + 3, 4);
    } else if (length == 8) {
        std::memcpy(z, text, 8);
    } else {
        return std::nullopt;
    }
    if (std::memcmp(z, "000-0000", 8) == 0) return std::nullopt;

    // The fourth character is not looked at. The seven others must be digits:
    // a sign or a blank read as part of a number would end up in the barcode.
    PostalCode code{};
    for (std::size_t i = 0; i < 7; ++i) {
        const char c = z[i < 3 ? i : i + 1];
        if (c < '0' || c > '9') return std::nullopt;
        code.digits[i] = c;
        code.value = code.value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (code.value == 0) return std::nullopt;
    code.endsInDoubleZero = z[6] == '0' && z[7] == '0';
    return code;
}

char ComputeCheckCharacter(std::string_view body) {
    int sum = 0;
    for (char c : body) sum += CheckValue(c);
    // The value that makes the total a multiple of 19.
    const int value = (19 - sum % 19) % 19;
    if (value < 10) return static_cast<char>('0' + value);
    if (value == 10) return '-';
    return static_cast<char>('a' + (value - 11));
}

int BuildCBarString(const char* symbolMap, const char* postalCode, const char* address,
                    char* output) {
    const SymbolMap map = ReadSymbolMap(symbolMap);
    const std::optional<PostalCode> code = ValidatePostalCode(postalCode);
    if (!code) return 1;

    try {
        if (output == nullptr) return 9;
        std::string number;
        if (!code->endsInDoubleZero && !FindNoNumberCode(code->value) && address != nullptr &&
            *address != '\0') {
            number = ExtractAddressNumber(address, FindExceptionName(code->value));
        }
        if (number.size() > kAddressNumberLength) return 9;
        number.resize(kAddressNumberLength, kFiller);

        std::array<char, 20> body;
        std::memcpy(body.data(), code->digits.data(), 7);
        std::memcpy(body.data() + 7, number.data(), kAddressNumberLength);
        const char check = ComputeCheckCharacter({body.data(), body.size()});

        char text[24];
        text[0] = map.start;
        for (std::size_t i = 0; i < body.size(); ++i) text[1 + i] = OutputCharacter(body[i], map);
        text[21] = OutputCharacter(check, map);
        text[22] = map.stop;
        text[23] = '\0';
        std::memcpy(output, text, sizeof text);
        return 0;
    } catch (...) {
        return 9;
    }
}

}  // namespace lumika
