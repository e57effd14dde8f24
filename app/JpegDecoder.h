// JPEG pictures through libjpeg, with an error handler that returns instead of ending the process.
#pragma once

#include <QImage>
#include <QString>
#include <cstddef>

namespace murvex::app {

struct JpegResult {
    QImage image;   // null on failure
    QString error;  // empty on success
    bool ok() const { return error.isEmpty(); }
};

// Decodes a whole JPEG file held in memory. Corrupt, truncated and oversized data give an error.
JpegResult DecodeJpeg(const unsigned char* data, std::size_t size);
JpegResult DecodeJpeg(const QByteArray& data);

}  // namespace murvex::app
