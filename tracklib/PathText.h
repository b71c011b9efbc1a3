#pragma once
// A path as UTF-8 text for messages and proposed names. path::string() may throw on Windows for
// names outside the ANSI code page, and path::u8string() for a name holding an unpaired surrogate,
// which Windows allows: this never throws.

#include <filesystem>
#include <string>
#include <string_view>

namespace pw {

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
inline std::string utf8FromUtf16(std::u16string_view text)
{
    std::string utf8;
    utf8.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            utf8 += static_cast<char>(0xE0 | (c >> 12));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | (c >> 18));
            utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

// A Latin-1 text, as a track stores names, as a path: each byte is the character of that number.
inline std::filesystem::path pathFromLatin1(std::string_view latin1)
{
    std::u8string utf8;
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += static_cast<char8_t>(byte);
        } else {
            utf8 += static_cast<char8_t>(0xC0 | (byte >> 6));
            utf8 += static_cast<char8_t>(0x80 | (byte & 0x3F));
        }
    }
    return std::filesystem::path(utf8);
}

inline std::string pathText(const std::filesystem::path& path)
{
#ifdef _WIN32
    const std::wstring& native = path.native();
    return utf8FromUtf16(std::u16string(native.begin(), native.end()));
#else
    return path.native();  // the bytes as the system gave them
#endif
}

}  // namespace pw
