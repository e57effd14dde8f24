// The PNG step in a build without Qt: there is no raster painter to make the pixels with.
#include "PngPicture.h"

namespace murvex {

bool HasPngPictures() {
    return false;
}

std::optional<std::string> PngPictureBytes(const std::vector<DrawnSegment>&, const Box&,
                                           const PictureSize&, const std::vector<OverlaySegment>&) {
    return std::nullopt;
}

std::optional<std::string> PaintedPngBytes(const PictureSize&,
                                           const std::function<void(QImage&)>&) {
    return std::nullopt;
}

}  // namespace murvex
