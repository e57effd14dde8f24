// The Windows-1252 conversion against an independent strict UTF-8 decoder: well-formed code
// points come through or become '?', a malformed sequence only ever gives '?', and every
// Windows-1252 text goes to UTF-8 and back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "Cp1252.h"

using namespace murvex;

namespace {

// The code points of a strictly well-formed UTF-8 text, or nothing when it is not.
bool DecodeStrict(std::string_view s, std::vector<char32_t>& out) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        int n = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        if ((b & 0xE0) == 0xC0) {
            n = 1;
            cp = b & 0x1F;
            min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            n = 2;
            cp = b & 0x0F;
            min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            n = 3;
            cp = b & 0x07;
            min = 0x10000;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(n) >= s.size()) return false;
        for (int k = 1; k <= n; ++k) {
            const auto c = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        out.push_back(cp);
        i += static_cast<std::size_t>(n) + 1;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // Any bytes as Windows-1252: strictly well-formed UTF-8 that converts back unchanged.
    const std::string utf8 = Cp1252ToUtf8(text);
    std::vector<char32_t> points;
    if (!DecodeStrict(utf8, points) || points.size() != size) std::abort();
    if (Utf8ToCp1252(utf8) != text) std::abort();

    // Any bytes as UTF-8.
    const std::string cp = Utf8ToCp1252(text);
    std::vector<char32_t> in;
    if (DecodeStrict(text, in)) {
        // One byte per code point: the same character, or '?' where the code page has none.
        if (cp.size() != in.size()) std::abort();
        const std::string roundTrip = Cp1252ToUtf8(cp);
        std::vector<char32_t> outPoints;
        DecodeStrict(roundTrip, outPoints);
        for (std::size_t i = 0; i < in.size(); ++i) {
            if (outPoints[i] != in[i] && outPoints[i] != U'?') std::abort();
        }
    } else {
        // Malformed: never more bytes than went in, and no control character or '/' that was
        // not there as a plain byte (what overlong forms used to smuggle in).
        if (cp.size() > size) std::abort();
        for (const char c : {'\0', '\r', '\n', '/', '.'}) {
            if (cp.find(c) != std::string::npos && text.find(c) == std::string_view::npos)
                std::abort();
        }
        if (cp.find('\x80') != std::string::npos &&
            text.find("\xE2\x82\xAC") == std::string_view::npos &&
            text.find('\x80') == std::string_view::npos)
            std::abort();
    }
    return 0;
}
