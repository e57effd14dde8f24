// Background pictures of the figure canvas: a picture file read into an image that fits the
// canvas.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace murvex::pictures {

// Pictures with more pixels are refused before they are decoded.
inline constexpr qint64 kMaxPicturePixels = 100LL * 1000LL * 1000LL;

struct BackgroundPictureResult {
    QImage image;   // scaled to fit the size asked for, proportions kept; null on failure
    QString error;  // the text for the error box; empty on success
    bool ok() const { return error.isEmpty(); }
};

// Reads the picture file and scales it, up or down, to fit within fit (which must not be
// empty). Centring it is the caller's. The format is taken from the file's whole contents, not
// its name, and no file but this one is read. Large pictures are decoded at the size shown where
// the format allows (JPEG, PNG); time and memory are bounded for every format. A file that is
// not a regular file, cannot be read, is no picture of a known format, is cut short, has more
// than kMaxPicturePixels or is over another bound gives an error text and no image.
BackgroundPictureResult LoadBackgroundPicture(const QString& path, QSize fit);

// The name filter of the picture open dialog: every file name pattern of the known formats.
QString BackgroundPictureMask();

}  // namespace murvex::pictures

// The figure tab names the loader as its own.
namespace murvex::app {
using pictures::BackgroundPictureMask;
using pictures::BackgroundPictureResult;
using pictures::LoadBackgroundPicture;
}  // namespace murvex::app
