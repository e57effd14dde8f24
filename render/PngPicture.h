// The PNG step of picture files. PNG pictures are painted with Qt's raster painter
// (PngPicture.cpp); a build without Qt links WithoutPng.cpp instead, which has none. Everything
// else about a picture file is standard C++ and the same in every build.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "PatternGeometry.h"
#include "PatternPicture.h"
#include "PreviewContent.h"

namespace murvex {

// Whether this build writes PNG pictures.
bool HasPngPictures();

// The PNG file of the picture PictureBytes describes. Nothing when the picture cannot be made
// (a size of no pixels, or more than the memory holds) or the build has no PNG pictures.
std::optional<std::string> PngPictureBytes(const std::vector<DrawnSegment>& segments,
                                           const Box& box, const PictureSize& size,
                                           const std::vector<OverlaySegment>& overlay);

}  // namespace murvex
