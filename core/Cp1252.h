// Conversion between UTF-8 (the windowing side) and Windows-1252 (the files).
#pragma once

#include <string>
#include <string_view>

namespace murvex {

// Characters without a Windows-1252 form become '?'; malformed UTF-8 bytes too.
std::string Utf8ToCp1252(std::string_view utf8);
// The five bytes Windows-1252 leaves undefined map to the C1 control of the same value.
std::string Cp1252ToUtf8(std::string_view cp1252);

}  // namespace murvex
