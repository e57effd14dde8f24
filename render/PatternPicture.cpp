// Pictures of a pattern: the pixel size of a box and the drawn segments as SVG text.
#include "PatternPicture.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "Text.h"

namespace murvex {

namespace {

void Append(std::string& out, double value) {
    char buffer[32];
    // + 0.0 turns -0 into 0.
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value + 0.0).ptr;
    out.append(buffer, end);
}

// The overlay holds the figure's own points: fixed notation, never an exponent.
void AppendFixed(std::string& out, double value) {
    char buffer[400];  // room for any finite double in fixed notation
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (r.ec == std::errc()) out.append(buffer, r.ptr);
}

void Append(std::string& out, int value) {
    out += IntText(value);
}

}  // namespace

PictureSize PictureSizeFor(const Box& box, int largerSide) {
    const double w = box.x1 - box.x0;
    const double h = box.y1 - box.y0;
    if (!(w > 0) || !(h > 0) || !std::isfinite(w) || !std::isfinite(h) || largerSide < 1 ||
        largerSide > kMaxPictureSide) {
        return {};
    }
    const double scale = largerSide / std::max(w, h);
    const auto side = [&](double units) {
        return std::clamp(static_cast<int>(std::lround(units * scale)), 1, largerSide);
    };
    return {side(w), side(h), scale};
}

std::string SegmentsToSvg(const std::vector<DrawnSegment>& segments, const Box& box,
                          const PictureSize& size, const std::vector<OverlaySegment>& overlay) {
    std::string out;
    out.reserve(400 + segments.size() * 40);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"";
    Append(out, size.width);
    out += "\" height=\"";
    Append(out, size.height);
    out += "\" viewBox=\"";
    Append(out, box.x0);
    out += ' ';
    Append(out, -box.y1);
    out += ' ';
    Append(out, box.x1 - box.x0);
    out += ' ';
    Append(out, box.y1 - box.y0);
    out += "\">\n<rect x=\"";
    Append(out, box.x0);
    out += "\" y=\"";
    Append(out, -box.y1);
    out += "\" width=\"";
    Append(out, box.x1 - box.x0);
    out += "\" height=\"";
    Append(out, box.y1 - box.y0);
    out += "\" fill=\"white\"/>\n";
    if (!segments.empty()) {
        out +=
            "<path fill=\"none\" stroke=\"black\" stroke-width=\"1\" stroke-linecap=\"round\" "
            "vector-effect=\"non-scaling-stroke\" d=\"";
        for (const DrawnSegment& s : segments) {
            out += "\nM";
            Append(out, s.x1);
            out += ' ';
            Append(out, -s.y1);
            out += 'L';
            Append(out, s.x2);
            out += ' ';
            Append(out, -s.y2);
        }
        out += "\"/>\n";
    }
    for (const OverlaySegment& o : overlay) {
        char colour[8] = {'#', '0', '0', '0', '0', '0', '0', 0};
        const std::uint32_t rgb = o.rgb & 0xffffffu;
        char hex[8];
        const auto end = std::to_chars(hex, hex + sizeof hex, rgb, 16).ptr;
        std::copy(hex, end, colour + 7 - (end - hex));
        out += "<path fill=\"none\" stroke=\"";
        out += colour;
        out += "\" stroke-width=\"";
        out += o.marked ? '3' : '2';
        out += "\" vector-effect=\"non-scaling-stroke\" d=\"M";
        AppendFixed(out, o.segment.x1);
        out += ' ';
        AppendFixed(out, -o.segment.y1);
        out += 'L';
        AppendFixed(out, o.segment.x2);
        out += ' ';
        AppendFixed(out, -o.segment.y2);
        out += "\"/>\n";
    }
    out += "</svg>\n";
    return out;
}

}  // namespace murvex
