// The DXF step of picture files: a drawing with the pattern lines as a hatch over the box, made
// by dxf/ (DxfPicture.cpp) where the build has dxflib; WithoutDxf.cpp has none.
#pragma once

#include <string_view>

#include "PatternGeometry.h"
#include "PictureFile.h"

namespace murvex {

// Whether this build writes DXF drawings.
bool HasDxfPictures();

// The drawing of the pattern file's first pattern as a hatch over box, with lines also the
// segments it draws there as LINE entities. Refused with the reason where the pattern cannot be
// a hatch; Incomplete where the LINE entities stop before the pattern's last (the hatch is whole).
PictureFile DxfPictureBytes(std::string_view patternText, const Box& box, bool lines);

}  // namespace murvex
