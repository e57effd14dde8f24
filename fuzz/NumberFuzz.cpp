// The number text: parsing never gives a non-finite value, and the three and ten decimal forms
// read back to within their rounding.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "NumberText.h"

using namespace murvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ParseResult r = ParseDecimal(text);
    if (!r.ok) {
        if (r.value != 0) std::abort();
        return 0;
    }
    if (!std::isfinite(r.value)) std::abort();

    // Both separators read alike.
    for (const char separator : {'.', ','}) {
        const ParseResult local = ParseDecimal(LocalizeSeparator(text, separator));
        if (!local.ok || local.value != r.value) std::abort();
    }

    const std::string three = Fmt(r.value);
    const ParseResult back = ParseDecimal(three);
    // Numbers with more than a few hundred digits may be beyond what the parser takes.
    if (std::fabs(r.value) < 1e200) {
        if (!back.ok) std::abort();
        if (std::fabs(back.value - r.value) > 0.0005 + std::fabs(r.value) * 1e-15) std::abort();
        const ParseResult ten = ParseDecimal(Fmt10(r.value));
        if (!ten.ok || std::fabs(ten.value - r.value) > 0.5e-10 + std::fabs(r.value) * 1e-15)
            std::abort();
    }
    return 0;
}
