// Paths are UTF-8 text everywhere in Murvex. std::filesystem takes a std::string in the system's
// narrow encoding, which on Windows is the ANSI code page: these go through char8_t instead.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace murvex {

inline std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// Where the folder part of path ends: the last '/', on Windows also the last '\'; npos for none.
inline std::size_t LastPathSeparator(std::string_view path) {
#ifdef _WIN32
    return path.find_last_of("/\\");
#else
    return path.find_last_of('/');
#endif
}

}  // namespace murvex
