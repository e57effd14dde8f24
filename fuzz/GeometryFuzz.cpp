// Pattern geometry on any pattern text: every segment is finite and lies inside the box, and the
// work stays bounded (libFuzzer's -timeout catches a slow input). The repeat finder on the same
// text: a repeat found is positive and within the bounds, and its tile's segments lie in it.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "PatternFile.h"
#include "PatternGeometry.h"
#include "PatternRepeat.h"

using namespace murvex;

namespace {

void CheckRepeat(std::string_view text, const std::vector<PatternLine>& lines) {
    RepeatBounds bounds;
    bounds.tolerance = ToleranceOfText(text);
    // Small bounds keep a run short; the arithmetic is the same at any size.
    bounds.maxSide = 5000;
    bounds.maxSegments = 5000;
    const PatternRepeat r = FindPatternRepeat(lines, bounds);
    if (r.status != RepeatStatus::Found) return;
    if (!(r.width > 0 && r.height > 0 && r.width <= bounds.maxSide * (1 + 1e-9) &&
          r.height <= bounds.maxSide * (1 + 1e-9))) {
        std::abort();
    }
    const TileDrawing t = DrawTile(lines, r.width, r.height, bounds.tolerance, 20000);
    if (t.segments.size() > 20000) std::abort();
    const double slack = 1e-6 * (1 + r.width + r.height);
    for (const DrawnSegment& s : t.segments) {
        for (const double x : {s.x1, s.x2}) {
            if (!std::isfinite(x) || x < -slack || x > r.width + slack) std::abort();
        }
        for (const double y : {s.y1, s.y2}) {
            if (!std::isfinite(y) || y < -slack || y > r.height + slack) std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    // The box from the first four bytes: a corner within +-12700 and sides up to 25500.
    const double x0 = (static_cast<int>(data[0]) - 128) * 100.0;
    const double y0 = (static_cast<int>(data[1]) - 128) * 100.0;
    const Box box{x0, y0, x0 + data[2] * 100.0, y0 + data[3] * 100.0};
    const std::string_view text(reinterpret_cast<const char*>(data + 4), size - 4);
    const std::vector<PatternLine> lines = ParsePatternText(text);

    const std::size_t cap = 20000;
    const DrawResult r = DrawPattern(lines, box, cap);
    if (r.segments.size() > cap) std::abort();
    const double tolerance = 1e-9 * (1 + std::max({std::fabs(box.x0), std::fabs(box.y0),
                                                   std::fabs(box.x1), std::fabs(box.y1)}));
    for (const DrawnSegment& s : r.segments) {
        for (const double v : {s.x1, s.y1, s.x2, s.y2}) {
            if (!std::isfinite(v)) std::abort();
        }
        for (const double x : {s.x1, s.x2}) {
            if (x < box.x0 - tolerance || x > box.x1 + tolerance) std::abort();
        }
        for (const double y : {s.y1, s.y2}) {
            if (y < box.y0 - tolerance || y > box.y1 + tolerance) std::abort();
        }
    }
    CheckRepeat(text, lines);
    return 0;
}
