// The JPEG decoder on any bytes, at full size and scaled to the shown size: a result is either
// an error without a picture or a picture of a sane size without an error.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "JpegDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // The first byte chooses the shown size, so that both ways of decoding are fuzzed.
    const QSize shown = (data[0] & 1) ? QSize(320, 200) : QSize();
    const murvex::pictures::JpegResult r = murvex::pictures::DecodeJpeg(data + 1, size - 1, shown);
    if (r.ok() == r.image.isNull()) std::abort();
    if (r.ok() && (r.image.width() <= 0 || r.image.height() <= 0)) std::abort();
    return 0;
}
