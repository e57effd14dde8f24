// PNG pictures through libpng, read row by row and reduced while they are read, so that a large
// picture shown small never exists at its full size in memory.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace murvex::pictures {

struct PngResult {
    QImage image;   // null on failure
    QString error;  // empty on success
    bool ok() const { return error.isEmpty(); }
};

// The picture's size from its header, without decoding; empty when it is no PNG.
QSize PngSize(const QByteArray& data);

// True when the picture is stored interlaced: its rows come in seven passes, so it cannot be
// reduced while it is read.
bool PngInterlaced(const QByteArray& data);

// Decodes a whole non-interlaced PNG held in memory. When shown is valid and smaller than the
// picture, each pixel of the result is the average of the picture's pixels it covers (the
// result has the size shown); otherwise the picture keeps its size. Transparent parts stay
// transparent. Damaged, truncated and interlaced data give an error.
PngResult DecodePng(const QByteArray& data, QSize shown = {});

}  // namespace murvex::pictures
