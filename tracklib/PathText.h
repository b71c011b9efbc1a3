#pragma once
// A path as UTF-8 text for messages: path::string() may throw on Windows for names outside the
// ANSI code page.

#include <filesystem>
#include <string>

namespace pw {

inline std::string pathText(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace pw
