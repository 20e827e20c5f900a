// Test helper: the Japanese literals of the tests are UTF-8, the library's texts CP932.
#pragma once

#include <iconv.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace lumika::test {

inline std::string Convert(std::string_view text, const char* from, const char* to) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
    std::string out(text.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1)) throw std::runtime_error("not convertible");
    out.resize(out.size() - outLeft);
    return out;
}

// UTF-8 to CP932.
inline std::string Sjis(std::string_view utf8) {
    return Convert(utf8, "UTF-8", "CP932");
}

// CP932 to UTF-8, for readable failure messages.
inline std::string Utf8(std::string_view cp932) {
    return Convert(cp932, "CP932", "UTF-8");
}

}  // namespace lumika::test
