// The address number: normalising the address, turning numbered place parts
// into hyphenated Arabic numbers and composing the code characters.
#include "AddressNumber.h"

#include <array>

#include "WidthMapping.h"

namespace lumika {
namespace {

using namespace std::string_view_literals;

constexpr std::string_view kFullWidthBlank = "\x81\x40"sv;
constexpr std::string_view kWorkingMark = "\x95\xcf"sv;  // 変

// In the order they are replaced: 丁 番 号 地割 線 の - ﾉ ｰ
constexpr std::array<std::string_view, 9> kMarkers = {
    "\x92\x9a"sv, "\x94\xd4"sv, "\x8d\x86"sv, "\x92\x6e\x8a\x84"sv, "\x90\xfc"sv, "\x82\xcc"sv,
    "-"sv,        "\xc9"sv,     "\xb0"sv,
};

struct DigitNumeral {
    std::string_view bytes;
    int value;
};

constexpr std::array<DigitNumeral, 16> kDigitNumerals = {{
    {"\x81\x5a"sv, 0},  // 〇
    {"\x97\xeb"sv, 0},  // 零
    {"\x82\x4f"sv, 0},  // ０
    {"\x88\xea"sv, 1},  // 一
    {"\x88\xeb"sv, 1},  // 壱
    {"\x98\x9f"sv, 1},  // 弌
    {"\x93\xf1"sv, 2},  // 二
    {"\x93\xf3"sv, 2},  // 弐
    {"\x8e\x4f"sv, 3},  // 三
    {"\x8e\x51"sv, 3},  // 参
    {"\x8e\x6c"sv, 4},  // 四
    {"\x8c\xdc"sv, 5},  // 五
    {"\x98\x5a"sv, 6},  // 六
    {"\x8e\xb5"sv, 7},  // 七
    {"\x94\xaa"sv, 8},  // 八
    {"\x8b\xe3"sv, 9},  // 九
}};

constexpr std::string_view kTen = "\x8f\x5c"sv;        // 十
constexpr std::string_view kTenFormal = "\x8f\x45"sv;  // 拾
constexpr std::string_view kHundred = "\x95\x53"sv;    // 百
constexpr std::string_view kThousand = "\x90\xe7"sv;   // 千

struct GroupUnit {
    std::string_view bytes;
    std::size_t zeros;
};

// The units that split a run into groups, in the order they are looked for.
constexpr std::array<GroupUnit, 4> kGroupUnits = {{
    {"\x92\x9b"sv, 12},  // 兆
    {"\x89\xad"sv, 8},   // 億
    {"\x96\x9c"sv, 4},   // 万
    {"\xe4\xdd"sv, 4},   // 萬
}};

// -1 when the character is no digit numeral.
int DigitValue(std::string_view character) {
    for (const DigitNumeral& numeral : kDigitNumerals) {
        if (numeral.bytes == character) return numeral.value;
    }
    return -1;
}

bool IsSmallUnit(std::string_view c) {
    return c == kTen || c == kTenFormal || c == kHundred || c == kThousand;
}

bool IsUnitNumeral(std::string_view character) {
    if (IsSmallUnit(character)) return true;
    for (const GroupUnit& unit : kGroupUnits) {
        if (unit.bytes == character) return true;
    }
    return false;
}

bool IsKanjiNumeral(std::string_view character) {
    return DigitValue(character) >= 0 || IsUnitNumeral(character);
}

bool HoldsUnitNumeral(std::string_view run) {
    for (std::size_t i = 0; i + 1 < run.size(); i += 2) {
        if (IsUnitNumeral(run.substr(i, 2))) return true;
    }
    return false;
}

// The digits of the digit numerals of a run, in order, leading zeros kept.
std::string DigitNumeralText(std::string_view run) {
    std::string digits;
    for (std::size_t i = 0; i + 1 < run.size(); i += 2) {
        const int value = DigitValue(run.substr(i, 2));
        if (value >= 0) digits += static_cast<char>('0' + value);
    }
    return digits;
}

// An exact non-negative integer of any size, as little-endian decimal digits:
// a run of kanji numerals can be far beyond 64 bits (一二三四五六七八九兆).
class DecimalSum {
public:
    // Adds the decimal number `digits` followed by `zeros` zeros.
    void add(std::string_view digits, std::size_t zeros) {
        int carry = 0;
        std::size_t position = zeros;
        for (auto d = digits.rbegin(); d != digits.rend() || carry != 0; ++position) {
            int sum = carry;
            if (d != digits.rend()) sum += *d++ - '0';
            if (position >= reversed_.size()) reversed_.resize(position + 1, 0);
            sum += reversed_[position];
            reversed_[position] = static_cast<char>(sum % 10);
            carry = sum / 10;
        }
    }

    std::string text() const {
        std::size_t length = reversed_.size();
        while (length > 1 && reversed_[length - 1] == 0) --length;
        if (length == 0) return "0";
        std::string out;
        for (std::size_t i = length; i > 0; --i) out += static_cast<char>('0' + reversed_[i - 1]);
        return out;
    }

private:
    std::string reversed_;
};

// Replaces the marker of markerSize bytes found at p; see ConvertNumeralRun.
// resume is set to the end of the working mark: nothing before it can match
// the marker, since the new digits and the mark are no part of any marker.
WorkingText ConvertAt(const WorkingText& text, std::size_t p, std::size_t markerSize,
                      std::size_t& resume) {
    const std::string_view view = text.view();
    std::array<std::uint8_t, WorkingText::kCapacity> starts;  // characters before p
    std::size_t count = 0;
    for (std::size_t i = 0; i < p; i += CharacterLength(view, i)) {
        starts[count++] = static_cast<std::uint8_t>(i);
    }
    std::size_t runStart = p;
    while (count > 0) {
        const std::size_t start = starts[count - 1];
        const std::string_view character = view.substr(start, runStart - start);
        if (character.size() != 2 || !IsKanjiNumeral(character)) break;
        runStart = start;
        --count;
    }

    WorkingText out;
    out.appendText(view.substr(0, runStart));
    if (runStart < p) out.appendText(KanjiNumberText(view.substr(runStart, p - runStart)));
    out.appendCharacter(kWorkingMark);
    resume = out.size();
    out.appendText(view.substr(p + markerSize));
    return out;
}

// Steps before any cutting: blanks go, a "-" closes the text so that a kanji
// numeral run at its very end is converted too, and the text is mapped to
// half-width upper case. A lead byte without its trail byte is no character
// and is dropped; left in place it would swallow the closing "-".
WorkingText NormalisedAddress(std::string_view address) {
    WorkingText text;
    for (std::size_t i = 0; i < address.size() && !text.cut();) {
        if (IsLeadByte(address[i]) && i + 1 == address.size()) break;
        const std::size_t n = CharacterLength(address, i);
        const std::string_view character = address.substr(i, n);
        i += n;
        if (character == " " || character == kFullWidthBlank) continue;
        text.appendText(HalfWidthUpper(character));
    }
    text.appendCharacter("-");
    return text;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsCapital(char c) {
    return c >= 'A' && c <= 'Z';
}

}  // namespace

WorkingText ConvertNumeralRun(std::string_view marker, const WorkingText& text) {
    const std::size_t p = FindCharacter(text.view(), marker);
    if (marker.empty() || p == std::string_view::npos) return text;
    std::size_t resume = 0;
    return ConvertAt(text, p, marker.size(), resume);
}

std::string KanjiNumberText(std::string_view run) {
    if (!HoldsUnitNumeral(run)) return DigitNumeralText(run);
    DecimalSum value;
    std::string_view rest = run;
    for (const GroupUnit& unit : kGroupUnits) {
        const std::size_t at = FindCharacter(rest, unit.bytes);
        if (at == std::string_view::npos) continue;
        const std::string_view group = rest.substr(0, at);
        rest.remove_prefix(at + unit.bytes.size());
        if (group.empty()) continue;
        if (HoldsUnitNumeral(group)) {
            value.add(std::to_string(SmallUnitValue(group)), unit.zeros);
        } else {
            value.add(DigitNumeralText(group), unit.zeros);
        }
    }
    if (!rest.empty()) value.add(std::to_string(SmallUnitValue(rest)), 0);
    return value.text();
}

std::uint32_t SmallUnitValue(std::string_view group) {
    std::uint32_t multiplier = 1;
    std::uint32_t thousands = 0, hundreds = 0, tens = 0, ones = 0;
    std::string_view last;
    for (std::size_t i = 0; i + 1 < group.size(); i += 2) {
        const std::string_view c = group.substr(i, 2);
        last = c;
        if (c == kThousand) {
            thousands = multiplier * 1000;
            multiplier = 1;
        } else if (c == kHundred) {
            hundreds = multiplier * 100;
            multiplier = 1;
        } else if (c == kTen || c == kTenFormal) {
            tens = multiplier * 10;
            multiplier = 1;
        } else if (const int digit = DigitValue(c); digit > 0) {
            multiplier = static_cast<std::uint32_t>(digit);
        }
    }
    // A trailing zero numeral adds nothing: 十〇 is ten, not eleven.
    if (!IsSmallUnit(last) && DigitValue(last) != 0) ones = multiplier;
    return thousands + hundreds + tens + ones;
}

std::string ExtractAddressNumber(std::string_view address, std::string_view exceptionName) {
    WorkingText text = NormalisedAddress(address);

    if (!exceptionName.empty()) {
        const std::size_t at = FindCharacter(text.view(), exceptionName);
        if (at != std::string_view::npos) {
            WorkingText rest;
            rest.appendText(text.view().substr(at + exceptionName.size()));
            text = rest;
        }
    }

    for (std::string_view marker : kMarkers) {
        std::size_t from = 0;
        for (;;) {
            const std::size_t p = FindCharacter(text.view(), marker, from);
            if (p == std::string_view::npos) break;
            text = ConvertAt(text, p, marker.size(), from);
        }
    }

    // Classification: only digits, capitals and "-" remain.
    const std::string_view t = text.view();
    std::array<char, WorkingText::kCapacity> c;
    std::size_t size = 0;
    for (std::size_t i = 0; i < t.size(); i += CharacterLength(t, i)) {
        const char b = t[i];
        if (CharacterLength(t, i) == 2) {
            c[size++] = '-';
        } else if (b == '&' || b == '.' || b == '/' || b == '\xa5') {
            continue;
        } else if (b == 'F' && i > 0 && IsDigit(t[i - 1])) {
            c[size++] = '-';  // a floor: 10F
        } else if (IsDigit(b) || IsCapital(b)) {
            c[size++] = b;
        } else {
            c[size++] = '-';
        }
    }

    // Runs of letters are names, not address letters.
    for (std::size_t i = 0; i < size;) {
        std::size_t end = i;
        while (end < size && IsCapital(c[end])) ++end;
        if (end - i >= 2) {
            for (std::size_t k = i; k < end; ++k) c[k] = '-';
        }
        i = end > i ? end : i + 1;
    }

    while (size > 0 && !IsDigit(c[size - 1]) && !IsCapital(c[size - 1])) --size;

    constexpr std::size_t kLength = 13;
    std::string d;
    for (std::size_t i = 0; i < size && d.size() < kLength; ++i) {
        const char ch = c[i];
        if (IsDigit(ch)) {
            d += ch;
        } else if (IsCapital(ch)) {
            if (!d.empty() && d.back() == '-') {
                d.back() = ch;
            } else {
                d += ch;
            }
        } else if (!d.empty() && i > 0 && IsDigit(c[i - 1])) {
            d += '-';
        }
    }

    std::string r;
    for (char ch : d) {
        if (r.size() >= kLength) break;
        if (!IsCapital(ch)) {
            r += ch;
            continue;
        }
        const int index = ch - 'A';
        r += static_cast<char>('a' + index / 10);  // a: A-J, b: K-T, c: U-Z
        if (r.size() < kLength) r += static_cast<char>('0' + index % 10);
    }
    return r;
}

}  // namespace lumika
