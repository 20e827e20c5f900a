// The customer barcode string: postal code, address number, check character.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace lumika {

// The output characters of the start and stop symbols and of CC1-CC8.
struct SymbolMap {
    char start = '(';
    char stop = ')';
    std::array<char, 8> controlCodes = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'};
};

// A ten-character text sets the map, a blank keeping its position's default;
// any other text, or none, gives the defaults.
SymbolMap ReadSymbolMap(const char* text);

struct PostalCode {
    std::array<char, 7> digits;
    std::uint32_t value;
    bool endsInDoubleZero;
};

// "NNN-NNNN" (any character in the fourth place) or "NNNNNNN"; empty when the
// text is anything else or all zeros.
std::optional<PostalCode> ValidatePostalCode(const char* text);

// The check character, in internal notation, of a body of code characters.
// Throws std::invalid_argument on a character that is no code character.
char ComputeCheckCharacter(std::string_view body);

// Everything GetCBarString does, with its results: 0 and the 23 characters
// and NUL in output, 1 for a bad postal code, 9 for a failure after it.
int BuildCBarString(const char* symbolMap, const char* postalCode, const char* address,
                    char* output);

}  // namespace lumika
