// DXF drawings of picture files, written by dxf/.
#include "DxfPicture.h"

#include <utility>

#include "DxfExport.h"
#include "Text.h"

namespace murvex {

bool HasDxfPictures() {
    return true;
}

PictureFile DxfPictureBytes(std::string_view patternText, const Box& box, bool lines) {
    DxfResult drawing = PatternDxf(DxfPatternOf(patternText), DxfOptions{box, lines});
    if (drawing.status != DxfStatus::Ok)
        return {PictureFileStatus::Refused, {}, DxfStatusText(drawing.status)};
    if (!drawing.truncated) return {PictureFileStatus::Ok, std::move(drawing.bytes), {}};
    // Either the count reached its limit, or the lines were given up before it: a family too
    // dense for the box, or a box so far out that the lines cannot be counted there.
    const std::string written = IntText(static_cast<long>(drawing.lines));
    std::string text;
    if (drawing.lines >= kMaxDxfSegments) {
        text.append("the pattern draws more than ").append(IntText(kMaxDxfSegments));
        text.append(" lines in the box; the drawing holds the whole hatch but only the first ");
        text.append(written).append(" lines");
    } else {
        text.append("the drawing holds the whole hatch but only ").append(written);
        text.append(
            " lines: the pattern is too dense for the box, or the box lies too far from "
            "the origin, to draw every line");
    }
    return {PictureFileStatus::Incomplete, std::move(drawing.bytes), std::move(text)};
}

}  // namespace murvex
