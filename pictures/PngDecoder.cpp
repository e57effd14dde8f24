// PNG pictures through libpng, reduced row by row while they are read.
#include "PngDecoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <png.h>

namespace murvex::pictures {
namespace {

constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::uint32_t BigEndian32(const QByteArray& data, qsizetype at) {
    if (data.size() < at + 4) return 0;
    const auto b = [&](qsizetype i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(data[at + i]));
    };
    return (b(0) << 24) | (b(1) << 16) | (b(2) << 8) | b(3);
}

bool HasHeader(const QByteArray& data) {
    // Signature, then the IHDR chunk: length 13, type, width, height, depth, colour, compression,
    // filter, interlace.
    return data.size() >= 33 && std::memcmp(data.constData(), kSignature, sizeof kSignature) == 0 &&
           data.mid(12, 4) == "IHDR";
}

struct Source {
    const QByteArray* data;
    qsizetype at = 0;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<Source*>(png_get_io_ptr(png));
    if (static_cast<qsizetype>(length) > source->data->size() - source->at)
        png_error(png, "PNG data ends early");
    std::memcpy(out, source->data->constData() + source->at, length);
    source->at += static_cast<qsizetype>(length);
}

struct ErrorState {
    std::jmp_buf jump;
    char message[200];
};

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
    auto* state = static_cast<ErrorState*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", message ? message : "PNG error");
    std::longjmp(state->jump, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Everything that must survive a longjmp lives outside the function that calls setjmp.
struct Decoder {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ErrorState state{};
    QImage image;
    std::vector<unsigned char> row;
    std::vector<std::uint64_t> sums;  // premultiplied R, G, B and alpha per result pixel of a row
    std::vector<std::uint32_t> counts;
    std::vector<int> columns;  // the result column of each picture column

    ~Decoder() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
    bool Run(const QByteArray& data, QSize shown, QString& error);
    void Flush(int y);
};

void Decoder::Flush(int y) {
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
        const std::uint64_t n = std::max<std::uint32_t>(counts[x], 1);
        const std::uint64_t* s = &sums[4 * static_cast<std::size_t>(x)];
        // Each colour is its sum weighted by alpha over the alpha sum.
        const std::uint64_t alpha = std::max<std::uint64_t>(s[3], 1);
        out[x] = qRgba(static_cast<int>(s[0] / alpha), static_cast<int>(s[1] / alpha),
                       static_cast<int>(s[2] / alpha), static_cast<int>(s[3] / n));
    }
    std::fill(sums.begin(), sums.end(), 0);
    std::fill(counts.begin(), counts.end(), 0);
}

bool Decoder::Run(const QByteArray& data, QSize shown, QString& error) {
    png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, OnError, OnWarning);
    if (!png) return false;
    info = png_create_info_struct(png);
    if (!info) return false;
    if (setjmp(state.jump)) {
        error = QString::fromLatin1(state.message);
        return false;
    }
    Source source{&data};
    png_set_read_fn(png, &source, ReadFromMemory);
    // Text and other ancillary chunks are not kept beyond this.
    png_set_chunk_malloc_max(png, 8u * 1024u * 1024u);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (png_get_interlace_type(png, info) != PNG_INTERLACE_NONE) {
        error = QStringLiteral("Interlaced PNG");
        return false;
    }
    png_set_expand(png);  // palette and low bit depths to 8 bits, transparency to alpha
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != 4 * static_cast<std::size_t>(width)) {
        error = QStringLiteral("Unsupported PNG layout");
        return false;
    }
    QSize target(static_cast<int>(std::min<png_uint_32>(width, 1u << 30)),
                 static_cast<int>(std::min<png_uint_32>(height, 1u << 30)));
    if (shown.isValid() && !shown.isEmpty() && shown.width() <= target.width() &&
        shown.height() <= target.height())
        target = shown;
    image = QImage(target, QImage::Format_ARGB32);
    if (image.isNull()) {
        error = QStringLiteral("Not enough memory for the PNG picture");
        return false;
    }
    row.assign(4 * static_cast<std::size_t>(width), 0);
    sums.assign(4 * static_cast<std::size_t>(target.width()), 0);
    counts.assign(static_cast<std::size_t>(target.width()), 0);
    columns.resize(width);
    for (png_uint_32 x = 0; x < width; ++x)
        columns[x] = static_cast<int>(static_cast<std::uint64_t>(x) * target.width() / width);
    int current = 0;
    for (png_uint_32 y = 0; y < height; ++y) {
        png_read_row(png, row.data(), nullptr);
        const int outY = static_cast<int>(static_cast<std::uint64_t>(y) * target.height() / height);
        if (outY != current) {
            Flush(current);
            current = outY;
        }
        for (png_uint_32 x = 0; x < width; ++x) {
            const unsigned char* p = &row[4 * static_cast<std::size_t>(x)];
            std::uint64_t* s = &sums[4 * static_cast<std::size_t>(columns[x])];
            // Premultiplied, so that transparent pixels give no colour to their neighbours.
            s[0] += p[0] * p[3];
            s[1] += p[1] * p[3];
            s[2] += p[2] * p[3];
            s[3] += p[3];
            ++counts[static_cast<std::size_t>(columns[x])];
        }
    }
    Flush(current);
    png_read_end(png, nullptr);
    return true;
}

}  // namespace

QSize PngSize(const QByteArray& data) {
    if (!HasHeader(data)) return {};
    const std::uint32_t w = BigEndian32(data, 16);
    const std::uint32_t h = BigEndian32(data, 20);
    if (w == 0 || h == 0 || w > 0x7FFFFFFF || h > 0x7FFFFFFF) return {};
    return {static_cast<int>(w), static_cast<int>(h)};
}

bool PngInterlaced(const QByteArray& data) {
    return HasHeader(data) && data[28] != 0;
}

PngResult DecodePng(const QByteArray& data, QSize shown) {
    PngResult result;
    auto decoder = std::make_unique<Decoder>();
    QString error;
    if (!decoder->Run(data, shown, error)) {
        result.error = error.isEmpty() ? QStringLiteral("Corrupt PNG data") : error;
        return result;
    }
    result.image = std::move(decoder->image);
    return result;
}

}  // namespace murvex::pictures
