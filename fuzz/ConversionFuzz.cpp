// The figure conversion on random tiles and segments at every accuracy, "Op maat" with any
// deviation: it ends (libFuzzer's -timeout catches a slow input), and every line it writes is
// finite and reads back as a pattern line with one dash and one gap; "Op maat" never writes a
// repeat beyond its side limit, and fails only where its smallest deviation lies above the one
// asked for.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

#include "Conversion.h"
#include "PatternFile.h"

using namespace murvex;
using namespace murvex::figure;

namespace {

// A coordinate: mostly on or near the tile, sometimes anything a double holds.
long double Coordinate(FuzzedDataProvider& in, int tileSide) {
    const int side = std::max(tileSide, 1);
    switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return in.ConsumeIntegralInRange(0, side);
        case 1:
            return in.ConsumeProbability<long double>() * side;
        case 2:
            return in.ConsumeIntegralInRange(-3, 3) * static_cast<long double>(side) +
                   in.ConsumeIntegralInRange(-1000, 1000) / 1000.0L;
        default:
            return in.ConsumeFloatingPoint<double>();
    }
}

int Side(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 2)) {
        case 0:
            return in.ConsumeIntegralInRange(1, 100);
        case 1:
            return in.ConsumeIntegralInRange(1, 100000);
        default:
            return in.ConsumeIntegral<int>();
    }
}

void CheckLine(const std::optional<ConvertedLine>& line) {
    if (!line) return;
    const std::optional<PatternLine> read = ParsePatternLine(line->text);
    if (!read) std::abort();
    if (read->dashes.size() != 2) std::abort();
    for (const double v : {read->angle, read->x, read->y, read->shiftX, read->shiftY,
                           read->dashes[0], read->dashes[1]}) {
        if (!std::isfinite(v)) std::abort();
    }
    if (line->text.find("nan") != std::string::npos || line->text.find("inf") != std::string::npos)
        std::abort();
    if (!std::isfinite(line->tolerance) || line->tolerance < 0) std::abort();
}

void CheckCustom(const TileSize& tile, long double x1, long double y1, long double x2,
                 long double y2, long double deviation) {
    const std::optional<ConvertedLine> line =
        ConvertSegment(tile, x1, y1, x2, y2, ConversionSettings(Accuracy::OpMaat, deviation));
    CheckLine(line);
    if (line) {
        if (tile.width <= 0 || tile.height <= 0) std::abort();
        if (std::llabs(line->repeat.climb) + line->repeat.run > kRepeatSideLimit) std::abort();
        return;
    }
    const std::optional<LatticeFit> fit = FitLattice(tile, x1, y1, x2, y2, deviation);
    const std::optional<long double> needed = SmallestMaxDeviation(tile, x1, y1, x2, y2);
    // Within the smallest deviation the fit exists, and with a looser one it must exist too.
    if (needed && !FitLattice(tile, x1, y1, x2, y2, *needed)) std::abort();
    if (fit && needed && deviation < *needed) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const TileSize tile{Side(in), Side(in)};
    const long double x1 = Coordinate(in, tile.width);
    const long double y1 = Coordinate(in, tile.height);
    const long double x2 = Coordinate(in, tile.width);
    const long double y2 = Coordinate(in, tile.height);
    for (const Accuracy a : {Accuracy::Nauwkeurig, Accuracy::Middel, Accuracy::Laag}) {
        const std::optional<ConvertedLine> line = ConvertSegment(tile, x1, y1, x2, y2, a);
        if (line && (tile.width <= 0 || tile.height <= 0)) std::abort();
        CheckLine(line);
    }
    // Any deviation, also 0, negative, NaN or huge: the library must not trip over one the
    // window would refuse.
    CheckCustom(tile, x1, y1, x2, y2,
                in.ConsumeBool() ? in.ConsumeIntegralInRange(1, 5000) / 1000.0L
                                 : in.ConsumeFloatingPoint<double>());
    // The same through the grid's cell texts, whatever they hold.
    const std::string c0 = in.ConsumeRandomLengthString(24);
    const std::string c1 = in.ConsumeRandomLengthString(24);
    const std::string c2 = in.ConsumeRandomLengthString(24);
    const std::string c3 = in.ConsumeRandomLengthString(24);
    const Accuracy a = AccuracyFromIndex(in.ConsumeIntegralInRange(-1, 4));
    const std::string deviationText = in.ConsumeRandomLengthString(12);
    const std::optional<long double> deviation = ParseMaxDeviation(tile, deviationText);
    if (deviation && !MaxDeviationValid(tile, *deviation)) std::abort();
    const ConversionSettings settings(a, deviation.value_or(kDefaultMaxDeviation));
    CheckLine(ConvertFiguurLijn(tile, RowCells{c0, c1, c2, c3}, settings));
    return 0;
}
