// Half-width and upper-case forms of CP932 characters, as the address is
// normalised before the address number is read from it.
#pragma once

#include <string_view>

namespace lumika {

// The half-width, upper-case form of one character (one byte, or a lead byte
// and its trail byte): a view of constant data, or the character itself when
// it has no other form. Full-width ASCII becomes ASCII, full-width katakana
// becomes half-width katakana with voiced marks as separate characters, the
// Japanese punctuation that has half-width forms takes them, ASCII lower case
// becomes upper case. Kanji, hiragana and everything else stay as they are.
std::string_view HalfWidthUpper(std::string_view character);

}  // namespace lumika
