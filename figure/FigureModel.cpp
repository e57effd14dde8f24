// The free figure: its tile, scale and snap radius, the segment grid, the editor state and the
// transforms between tile units and canvas pixels.
#include "FigureModel.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "NumberText.h"

namespace murvex::figure {

namespace {

int ClampToInt(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

}  // namespace

const std::array<std::string_view, kColCount>& FiguurGridHeaders() {
    static const std::array<std::string_view, kColCount> headers{"Nr.", "X start", "Y start",
                                                                 "X eind", "Y eind"};
    return headers;
}

TextGrid MakeFiguurGrid() {
    TextGrid grid(kColCount, 2);
    const auto& headers = FiguurGridHeaders();
    for (int c = 0; c < kColCount; ++c)
        grid.SetCell(c, 0, std::string(headers[c]));
    grid.SetCell(0, 1, "1");
    grid.SetCurrent(kFirstCoordCol, 1);
    return grid;
}

bool InitFiguur(FigureModel& model, Canvas& canvas, std::int64_t width, std::int64_t height) {
    constexpr std::int64_t kMax = std::numeric_limits<int>::max();
    if (width < 1 || height < 1 || width > kMax || height > kMax) return false;

    model.snapRadius_ = 0;
    model.interaction.drawing = false;
    model.interaction.rubberShown = false;
    model.previousRow = 0;
    model.currentRow = 0;
    // A new tile is shown whole, as at the start; the window's extra size stays.
    model.view.zoom = 1;
    model.view.offsetX = 0;
    model.view.offsetY = 0;
    model.view.fitted = true;
    model.interaction.target.reset();
    model.interaction.dragging = false;
    model.interaction.pressed = false;

    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    const double s =
        std::max(w / static_cast<double>(kCanvasSpan), h / static_cast<double>(kCanvasSpan));
    // Halves to even, as the panel's size is rounded.
    model.panelWidth_ = static_cast<int>(std::nearbyint(w / s)) + 4;
    model.panelHeight_ = static_cast<int>(std::nearbyint(h / s)) + 4;
    model.scale_ = s;
    model.tileWidth_ = w;
    model.tileHeight_ = h;
    model.snapRadius_ = static_cast<long double>(kSnapPixels) * s;

    // Deleting the last row until one data row is left keeps row 1 as it was; it is emptied
    // next, so the effect is one empty data row, selected.
    TextGrid& grid = model.grid;
    if (grid.RowCount() > 2) {
        grid.SetRowCount(2);
        grid.SetCurrent(grid.CurrentCol(), 1);
    }
    for (int c = kFirstCoordCol; c <= kLastCoordCol; ++c)
        grid.SetCell(c, 1, std::string());

    canvas.SetSize(model.CanvasWidth(), model.CanvasHeight());
    canvas.SetPenWidth(model.PenWidth());
    canvas.FillWhite();
    canvas.SetPenColor(PenColor::Black);
    return true;
}

std::optional<int> ParseWholeNumber(std::string_view text) {
    const bool plus = !text.empty() && text.front() == '+';
    if (plus) text.remove_prefix(1);
    const std::string_view digits =
        !plus && !text.empty() && text.front() == '-' ? text.substr(1) : text;
    if (digits.empty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

bool NewFigureFromTexts(FigureModel& model, Canvas& canvas, std::string_view widthText,
                        std::string_view heightText) {
    const std::optional<int> height = ParseWholeNumber(heightText);
    const std::optional<int> width = ParseWholeNumber(widthText);
    if (!height || !width) return false;
    return InitFiguur(model, canvas, *width, *height);
}

CanvasPoint FiguurToPixel(const FigureModel& model, TilePoint p) {
    const long double s = model.ViewScale();
    const ViewState& v = model.view;
    CanvasPoint out;
    out.pixel.x = ClampToInt(RoundToInt((p.x - v.offsetX) / s));
    // Measured down from the tile's top edge, as PixelToTile measures back up: the two are
    // inverses, so a clicked point is drawn under the mouse and the tile's top edge is row 0.
    out.pixel.y = ClampToInt(RoundToInt((model.TileHeight() + v.offsetY - p.y) / s));
    out.visible = out.pixel.x <= model.CanvasWidth() && out.pixel.y >= 0;
    return out;
}

TilePoint PixelToTile(const FigureModel& model, Pixel p) {
    const long double s = model.ViewScale();
    return {model.view.offsetX + p.x * s, model.TileHeight() + model.view.offsetY - p.y * s};
}

bool InsideTile(const FigureModel& model, TilePoint p) {
    return 0 <= p.x && p.x <= model.TileWidth() && 0 <= p.y && p.y <= model.TileHeight();
}

bool RowComplete(const TextGrid& grid, int row) {
    for (int c = kFirstCoordCol; c <= kLastCoordCol; ++c) {
        if (grid.Cell(c, row).empty()) return false;
    }
    return true;
}

TileSegment RowSegment(const TextGrid& grid, int row) {
    auto value = [&](int col) -> long double { return ParseDecimal(grid.Cell(col, row)).value; };
    return {{value(kColXStart), value(kColYStart)}, {value(kColXEind), value(kColYEind)}};
}

}  // namespace murvex::figure
