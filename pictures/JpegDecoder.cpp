// JPEG pictures through libjpeg, with an error handler that returns instead of ending the process.
#include "JpegDecoder.h"

#include <QByteArray>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace murvex::pictures {
namespace {

// Larger pictures are refused before any pixel memory is taken.
constexpr unsigned long kMaxPixels = 100ul * 1000ul * 1000ul;
// libjpeg's own working memory (coefficient buffers of progressive pictures above all); a
// picture that needs more is refused instead of taking gigabytes.
constexpr long kMaxDecoderMemory = 64l * 1024l * 1024l;

struct ErrorManager {
    jpeg_error_mgr pub;  // first, so that libjpeg's pointer is also ours
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool corrupt;
};

[[noreturn]] void OnError(j_common_ptr info) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings about the data (libjpeg fills the gaps with grey and goes on) count as errors; the
// ones about metadata that does not change the pixels are ignored, and so is tracing.
void OnMessage(j_common_ptr info, int level) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    if (level >= 0 || err->corrupt) return;
    const int code = info->err->msg_code;
    if (code == JWRN_JFIF_MAJOR || code == JWRN_ADOBE_XFORM || code == JWRN_BOGUS_ICC) return;
    err->corrupt = true;
    (*info->err->format_message)(info, err->message);
}

// Everything that must survive a longjmp lives outside the function that calls setjmp.
struct Decoder {
    jpeg_decompress_struct info{};
    ErrorManager err{};
    QImage image;
    std::vector<unsigned char> row;

    // Returns false with err.message set when libjpeg refuses the data.
    bool Run(const unsigned char* data, std::size_t size, QSize shown, QString& error);
};

void StoreRow(const unsigned char* in, int components, bool adobeInverted, J_COLOR_SPACE space,
              int width, unsigned char* out) {
    for (int x = 0; x < width; ++x) {
        unsigned char r = 0;
        unsigned char g = 0;
        unsigned char b = 0;
        if (components == 1) {
            r = g = b = in[x];
        } else if (components == 3) {
            r = in[3 * x];
            g = in[3 * x + 1];
            b = in[3 * x + 2];
        } else if (components == 4 && (space == JCS_CMYK || space == JCS_YCCK)) {
            int c = in[4 * x];
            int m = in[4 * x + 1];
            int y = in[4 * x + 2];
            int k = in[4 * x + 3];
            if (!adobeInverted) {
                c = 255 - c;
                m = 255 - m;
                y = 255 - y;
                k = 255 - k;
            }
            r = static_cast<unsigned char>(c * k / 255);
            g = static_cast<unsigned char>(m * k / 255);
            b = static_cast<unsigned char>(y * k / 255);
        }
        out[4 * x] = r;
        out[4 * x + 1] = g;
        out[4 * x + 2] = b;
        out[4 * x + 3] = 255;
    }
}

bool Decoder::Run(const unsigned char* data, std::size_t size, QSize shown, QString& error) {
    info.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    if (setjmp(err.jump)) {
        error = QString::fromLatin1(err.message);
        return false;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxDecoderMemory;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        error = QStringLiteral("No JPEG picture");
        return false;
    }
    if (info.num_components != 1 && info.num_components != 3 && info.num_components != 4) {
        error = QStringLiteral("Unsupported JPEG colour layout");
        return false;
    }
    if (info.num_components == 3) info.out_color_space = JCS_RGB;
    // DCT scaling: the largest reduction (1/2, 1/4, 1/8) that still covers the shown size.
    info.scale_num = 1;
    info.scale_denom = 1;
    if (shown.width() > 0 && shown.height() > 0) {
        for (unsigned denom = 8; denom > 1; denom /= 2) {
            if (info.image_width / denom >= static_cast<unsigned>(shown.width()) &&
                info.image_height / denom >= static_cast<unsigned>(shown.height())) {
                info.scale_denom = denom;
                break;
            }
        }
    }
    jpeg_calc_output_dimensions(&info);
    const unsigned long pixels = static_cast<unsigned long>(info.output_width) *
                                 static_cast<unsigned long>(info.output_height);
    if (info.output_width == 0 || info.output_height == 0 || pixels > kMaxPixels) {
        error = QStringLiteral("JPEG picture too large");
        return false;
    }
    jpeg_start_decompress(&info);
    // A progressive picture has read all its scans by now.
    if (err.corrupt) {
        error = QString::fromLatin1(err.message);
        return false;
    }
    const int width = static_cast<int>(info.output_width);
    const int height = static_cast<int>(info.output_height);
    const int components = info.output_components;
    image = QImage(width, height, QImage::Format_RGBX8888);
    if (image.isNull()) {
        error = QStringLiteral("Not enough memory for the JPEG picture");
        return false;
    }
    row.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(components), 0);
    const bool adobeInverted = info.saw_Adobe_marker != 0;
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        JSAMPROW rows[1] = {row.data()};
        if (jpeg_read_scanlines(&info, rows, 1) != 1) break;
        StoreRow(row.data(), components, adobeInverted, info.out_color_space, width,
                 image.scanLine(y));
        if (err.corrupt) break;
    }
    if (err.corrupt || info.output_scanline < info.output_height) {
        error =
            err.corrupt ? QString::fromLatin1(err.message) : QStringLiteral("JPEG data ends early");
        return false;
    }
    jpeg_finish_decompress(&info);
    if (err.corrupt) {
        error = QString::fromLatin1(err.message);
        return false;
    }
    return true;
}

}  // namespace

JpegResult DecodeJpeg(const unsigned char* data, std::size_t size, QSize shown) {
    JpegResult result;
    if (!data || size == 0) {
        result.error = QStringLiteral("Empty JPEG data");
        return result;
    }
    auto decoder = std::make_unique<Decoder>();
    QString error;
    const bool ok = decoder->Run(data, size, shown, error);
    jpeg_destroy_decompress(&decoder->info);
    if (!ok) {
        result.error = error.isEmpty() ? QStringLiteral("Corrupt JPEG data") : error;
        return result;
    }
    result.image = std::move(decoder->image);
    return result;
}

JpegResult DecodeJpeg(const QByteArray& data, QSize shown) {
    return DecodeJpeg(reinterpret_cast<const unsigned char*>(data.constData()),
                      static_cast<std::size_t>(data.size()), shown);
}

}  // namespace murvex::pictures
