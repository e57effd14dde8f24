// The PNG step of picture files. PNG pictures are painted with Qt's raster painter
// (PngPicture.cpp); a build without Qt links WithoutPng.cpp instead, which has none. Everything
// else about a picture file is standard C++ and the same in every build.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "PatternGeometry.h"
#include "PatternPicture.h"
#include "PreviewContent.h"

class QImage;

namespace murvex {

// Whether this build writes PNG pictures.
bool HasPngPictures();

// The PNG file of the picture PictureBytes describes. Nothing when the picture cannot be made
// (a size of no pixels, or more than the memory holds) or the build has no PNG pictures.
std::optional<std::string> PngPictureBytes(const std::vector<DrawnSegment>& segments,
                                           const Box& box, const PictureSize& size,
                                           const std::vector<OverlaySegment>& overlay);

// The PNG file of what paint painted into an RGB32 image of size filled white. Nothing when the
// picture cannot be made or the build has no PNG pictures.
std::optional<std::string> PaintedPngBytes(const PictureSize& size,
                                           const std::function<void(QImage&)>& paint);

}  // namespace murvex
