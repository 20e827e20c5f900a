// Reading the address number of a customer barcode out of an address text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "WorkingText.h"

namespace lumika {

// The address number of address: at most 13 internal code characters (digits,
// "-", and the letter codes a0-a9, b0-b9, c0-c5). Text up to and including the
// first occurrence of exceptionName (when not empty) is ignored, so that the
// numerals of such a place name are not read as the number. Both texts CP932.
std::string ExtractAddressNumber(std::string_view address, std::string_view exceptionName);

// Replaces the first occurrence of marker in text by the working mark and the
// kanji numerals just before it by decimal digits. The result is cut to 255
// bytes on a character boundary.
WorkingText ConvertNumeralRun(std::string_view marker, const WorkingText& text);

// The decimal digits of a run of kanji numerals (double-byte characters only).
std::string KanjiNumberText(std::string_view run);

// The value of a group of kanji numerals below ten thousand, such as 二千三百四十五.
std::uint32_t SmallUnitValue(std::string_view group);

}  // namespace lumika
