// JPEG pictures through libjpeg, with an error handler that returns instead of ending the process.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <cstddef>

namespace murvex::pictures {

struct JpegResult {
    QImage image;   // null on failure
    QString error;  // empty on success
    bool ok() const { return error.isEmpty(); }
};

// Decodes a whole JPEG file held in memory. Corrupt (also where libjpeg would only warn and fill
// in grey), truncated and oversized data give an error, and so does a picture that needs more
// than a fixed amount of decoder memory. When shown is valid, a picture of at least twice that
// size is decoded scaled down by 2, 4 or 8 (never below shown), which costs a fraction of the
// time and memory; the image then has the reduced size.
JpegResult DecodeJpeg(const unsigned char* data, std::size_t size, QSize shown = {});
JpegResult DecodeJpeg(const QByteArray& data, QSize shown = {});

}  // namespace murvex::pictures
