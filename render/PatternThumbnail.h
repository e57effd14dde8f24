// Small pictures of patterns, as lists of patterns show them beside their names.
#pragma once

#include <vector>

#include "PatternFile.h"
#include "PatternGeometry.h"

class QImage;

namespace murvex {

// At most this many segments go into one small picture: a pattern far too dense for it costs no
// more than a moderate one.
inline constexpr std::size_t kThumbnailSegments = 20000;

// The square a small picture shows: four times the pattern's largest line spacing or dash
// period from the origin (100 drawing units when the lines give no finite size).
Box ThumbnailBox(const std::vector<PatternLine>& lines);

// A family of lines whose ink would cover more than this share of the picture is painted
// lighter, so that it covers about this share: lines closer than the pixels read as a grey
// tone, and the wider lines of the other families still show on it.
inline constexpr double kThumbnailInk = 0.4;

// A side x side picture of the lines inside ThumbnailBox, black on white (grey where a family is
// denser than kThumbnailInk). A pattern without lines gives a white picture.
QImage PatternThumbnail(const std::vector<PatternLine>& lines, int side);

}  // namespace murvex
