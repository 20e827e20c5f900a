// The two constant tables keyed by postal code and their exact-match lookups.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace lumika {

// Generated from barcode/data/ at build time. Codes are the integer value of
// their seven digits, strictly ascending.
extern const std::span<const std::uint32_t> kNoNumberCodes;
extern const std::span<const std::uint32_t> kExceptionCodes;
// For each entry of kExceptionCodes, the index of its name in kExceptionNameTexts.
extern const std::span<const std::uint16_t> kExceptionNameOfCode;
// Each distinct place name once, as CP932 bytes in normalised form.
extern const std::span<const std::string_view> kExceptionNameTexts;

// True when the barcode of this postal code carries no address number.
bool FindNoNumberCode(std::uint32_t code);

// The place name to cut from addresses of this postal code, or an empty text.
std::string_view FindExceptionName(std::uint32_t code);

}  // namespace lumika
