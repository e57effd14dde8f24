// The DXF step in a build without dxflib: there is nothing to write the drawing with.
#include "DxfPicture.h"

namespace murvex {

bool HasDxfPictures() {
    return false;
}

PictureFile DxfPictureBytes(std::string_view, const Box&, bool) {
    return {PictureFileStatus::NotInBuild, {}, {}};
}

}  // namespace murvex
