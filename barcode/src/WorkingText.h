// CP932 character stepping and the 255-byte text the address is worked on in.
#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace lumika {

inline bool IsLeadByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Byte length of the character starting at text[i]. A lead byte with nothing
// after it counts as a single byte, so stepping never leaves the text.
inline std::size_t CharacterLength(std::string_view text, std::size_t i) {
    return IsLeadByte(text[i]) && i + 1 < text.size() ? 2 : 1;
}

// Position of the first occurrence of needle that begins on a character
// boundary at or after from (itself a boundary), or npos. A match inside a
// double-byte character is no match.
inline std::size_t FindCharacter(std::string_view text, std::string_view needle,
                                 std::size_t from = 0) {
    if (needle.empty()) return from <= text.size() ? from : std::string_view::npos;
    for (std::size_t i = from; i < text.size(); i += CharacterLength(text, i)) {
        if (text[i] == needle[0] && text.compare(i, needle.size(), needle) == 0) return i;
    }
    return std::string_view::npos;
}

// A text of at most 255 bytes in a fixed buffer. Appending works a whole
// character at a time: the first character that does not fit ends the text,
// and everything appended after it is dropped too, so a cut always falls on a
// character boundary and never leaves a gap.
class WorkingText {
public:
    static constexpr std::size_t kCapacity = 255;

    std::string_view view() const { return {bytes_.data(), size_}; }
    std::size_t size() const { return size_; }
    bool cut() const { return cut_; }

    void appendCharacter(std::string_view character) {
        if (cut_ || character.size() > kCapacity - size_) {
            cut_ = true;
            return;
        }
        for (char c : character) bytes_[size_++] = c;
    }

    // Appends the characters of a text that starts on a character boundary.
    void appendText(std::string_view text) {
        if (cut_) return;
        const std::size_t room = kCapacity - size_;
        std::size_t take = text.size();
        if (take > room) {
            take = 0;
            while (take < text.size()) {
                const std::size_t n = CharacterLength(text, take);
                if (take + n > room) break;
                take += n;
            }
            cut_ = true;
        }
        std::memcpy(bytes_.data() + size_, text.data(), take);
        size_ += take;
    }

private:
    std::array<char, kCapacity> bytes_{};
    std::size_t size_ = 0;
    bool cut_ = false;
};

}  // namespace lumika
