// The figure list reader on any bytes, followed by the redraw it ends with (as `murvex-cli
// figure-read` does it): no crash, a bounded grid, every complete row inside the closed tile and
// every line drawn on the canvas inside the picture; then the conversion and its report.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "Canvas.h"
#include "ConversionReport.h"
#include "FigureList.h"
#include "FigureModel.h"

using namespace murvex;
using namespace murvex::figure;

namespace {

// Remembers the picture's size and checks every line against it as it is drawn.
class BoundsCanvas final : public Canvas {
  public:
    void SetSize(int w, int h) override {
        if (w < 0 || h < 0) std::abort();
        width_ = w;
        height_ = h;
    }
    void FillWhite() override {}
    void SetPenColor(PenColor) override {}
    void SetPenWidth(int w) override {
        if (w != kThickPenWidth && w != kThinPenWidth) std::abort();
    }
    void MoveTo(Pixel p) override {
        Check(p);
        ++calls;
    }
    void LineTo(Pixel p) override {
        Check(p);
        ++calls;
    }
    void NotXorLine(Pixel from, Pixel to) override {
        Check(from);
        Check(to);
        ++calls;
    }
    long long calls = 0;

  private:
    // Rounding may put an end point on the pixel just past the picture's last one.
    void Check(Pixel p) const {
        if (p.x < -1 || p.y < -1 || p.x > width_ + 1 || p.y > height_ + 1) std::abort();
    }
    int width_ = 0;
    int height_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    FigureModel model;
    BoundsCanvas canvas;
    PatternHeader texts;
    int seconds = 0;
    const ListReadResult result =
        ReadFigureListText(text, model, canvas, texts, [&seconds] { ++seconds; });
    if (seconds > 1) std::abort();
    if (result.multipleFigures != (seconds == 1)) std::abort();
    if (model.grid.RowCount() < 2) std::abort();
    if (static_cast<std::size_t>(model.grid.RowCount()) > kMaxListRows + 2) std::abort();
    if (result.segmentLines < 0) std::abort();
    if (result.status != ListReadStatus::Ok || !model.HasFigure()) return 0;

    const long double w = model.TileWidth();
    const long double h = model.TileHeight();
    if (w < 1 || h < 1) std::abort();
    // Cells are rewritten with three decimals after a clip.
    const long double tolerance = 0.001L + 1e-9L * std::max(w, h);
    for (int r = 1; r < model.grid.RowCount(); ++r) {
        if (!RowComplete(model.grid, r)) continue;
        const figure::TileSegment s = RowSegment(model.grid, r);
        for (const TilePoint& p : {s.start, s.end}) {
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) std::abort();
            if (p.x < -tolerance || p.x > w + tolerance) std::abort();
            if (p.y < -tolerance || p.y > h + tolerance) std::abort();
        }
    }

    // Then `figure --report`: one row per row that is not wholly empty, in bounded work per row
    // (libFuzzer's -timeout catches a slow one).
    const TileSize tile{model.TileWidth(), model.TileHeight()};
    const auto report = ConversionReport(tile, model.grid, Accuracy::Laag);
    if (report.size() >= static_cast<std::size_t>(model.grid.RowCount())) std::abort();
    return 0;
}
