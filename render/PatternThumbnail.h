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

// A side x side picture of the lines inside ThumbnailBox, black on white. A pattern without
// lines gives a white picture.
QImage PatternThumbnail(const std::vector<PatternLine>& lines, int side);

}  // namespace murvex
