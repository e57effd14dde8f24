// A tile of the free figure from a DXF drawing: the drawing read (dxflib parses it, after our own
// checks), then its geometry fitted to one repeating tile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Canvas.h"
#include "FigureModel.h"
#include "PatternHeader.h"

namespace murvex::dxf {

// Limits that keep an untrusted drawing within bounded time and memory.
inline constexpr std::size_t kMaxDxfBytes = 64u * 1024u * 1024u;  // as the other readers
// Entities in model space and blocks, and again the primitives once INSERTs are expanded.
inline constexpr std::size_t kMaxEntities = 200000;
// Segments after flattening, wrapping and merging: the figure grid holds no more rows.
inline constexpr std::size_t kMaxSegments = 100000;
// Pieces of line made in the tile before merging: the work bound of the fitting.
inline constexpr std::size_t kMaxPieces = 4000000;
inline constexpr int kMaxChordsPerCurve = 4096;
inline constexpr int kMaxInsertDepth = 32;
// Vertices of one polyline, control, fit points and knots of one spline.
inline constexpr std::size_t kMaxPointsPerEntity = 100000;
// Any coordinate, read or after transforming, beyond this is refused.
inline constexpr double kMaxCoordinate = 1e9;
// The share of the tile's smaller side a chord may stray from its curve, unless given.
inline constexpr double kDefaultChordShare = 0.002;
// The largest scale from drawing to figure units (a kilometre drawn in metres to millimetres).
inline constexpr double kMaxScale = 1e6;
// Shorter segments are dropped: the grid writes three decimals.
inline constexpr double kMinSegmentLength = 0.001;

struct Point {
    double x = 0;
    double y = 0;
};

// 2D affine geometry in world coordinates, INSERTs expanded. A conic is
// c + u cos t + v sin t for t from t0 to t0 + sweep (sweep may be negative): arcs, circles,
// ellipses and polyline bulges, under any block transform.
struct Primitive {
    enum class Kind { Segment, Conic, Spline, FitSpline };
    Kind kind = Kind::Segment;
    std::string layer;
    int group = -1;  // the polyline it came from (for the tile rectangle), else -1
    Point a, b;      // Segment
    Point c, u, v;   // Conic
    double t0 = 0, sweep = 0;
    int degree = 0;                  // Spline
    std::vector<double> knots;       // Spline
    std::vector<Point> points;       // Spline: control points; FitSpline: fit points
    std::vector<double> weights;     // Spline
    Point startTangent, endTangent;  // FitSpline, zero when not given
};

// TEGEL or TILE, in any case: the layers a tile rectangle is looked for on.
bool IsTileLayer(std::string_view layer);

// An axis-parallel closed polyline of four straight edges, or four LINEs on a tile layer that
// close so: a tile candidate.
struct Rectangle {
    std::string layer;
    int group = -1;
    Point low, high;
};

// A drawing read and checked, ready to be fitted to a tile any number of times.
struct Drawing {
    std::vector<Primitive> primitives;
    std::vector<Rectangle> rectangles;
    std::vector<std::string> layers;     // the layer table's names, then any others used
    int entitiesRead = 0;                // entities of the kinds taken in
    std::map<std::string, int> skipped;  // entities left out, by kind
    std::string units = "MM";
    bool unitsAssumed = true;  // $INSUNITS neither millimetres nor inches
    int insunits = -1;         // $INSUNITS as written, -1 without
};

// Millimetres per unit of the drawing by its $INSUNITS (inches, feet, millimetres, centimetres,
// metres), or nothing when it names none of them.
std::optional<double> MillimetresPerUnit(const Drawing& drawing);

struct DrawingResult {
    std::optional<Drawing> drawing;
    std::string error;  // why the drawing was refused (Windows-1252)
};

// Reads the bytes of a DXF drawing. Refused: over kMaxDxfBytes, binary DXF, a cut file, group
// codes that are no numbers or out of order, numbers that are not finite or beyond
// kMaxCoordinate, zero or negative radii, more than kMaxEntities (INSERTs counted as they
// multiply), a block that inserts itself.
DrawingResult ReadDrawing(std::string_view bytes);
// The same over a file.
DrawingResult ReadDrawingFile(const std::string& path);

// Origin: the drawing lies in a tile from the origin that its extents miss.
enum class TileSource { Given, TileLayer, Extents, Origin };

struct Tile {
    Point low, high;
    TileSource source = TileSource::Extents;
    std::string layer;  // the tile layer the rectangle came from
};

struct ImportOptions {
    std::optional<Tile> tile;                        // given by the user
    std::optional<std::vector<std::string>> layers;  // only these (any case); all without
    std::optional<double> chordTolerance;  // figure units; 0.2 % of the tile's smaller side without
    // Figure units per drawing unit: every coordinate read is multiplied by it before the tile
    // is looked for (a given tile and the chord tolerance are in figure units). Without: 1.
    std::optional<double> scale;
    // The scale is MillimetresPerUnit: the figure is in millimetres.
    bool toMillimetres = false;
};

struct ImportReport {
    int entitiesRead = 0;
    std::map<std::string, int> skipped;
    int curves = 0;
    int chords = 0;
    int curvesAtChordLimit = 0;  // curves whose chords stopped at kMaxChordsPerCurve
    int wrapped = 0;             // pieces moved back into the tile
    int merged = 0;              // segments that went into another one
    int dropped = 0;             // shorter than kMinSegmentLength
    double chordTolerance = 0;
    Tile tile;
    std::string units = "MM";
    bool unitsAssumed = false;
    double scale = 1;
};

struct TileFigure {
    int width = 0;
    int height = 0;
    std::vector<figure::TileSegment> segments;  // tile coordinates, inside 0..width, 0..height
    ImportReport report;
};

struct ImportResult {
    std::optional<TileFigure> figure;
    std::string error;
};

// Fits the drawing to one tile: flattens curves to chords, cuts segments at the tile's border
// and moves the parts outside back in by whole tiles, keeps coinciding segments once, merges
// collinear ones that overlap or touch, drops the too short, snaps end points within 1e-9 of
// the border onto it.
ImportResult ImportTile(const Drawing& drawing, const ImportOptions& options);

// The report as lines of Dutch text (Windows-1252), and as (key, value) pairs for JSON.
std::vector<std::string> ReportLines(const ImportReport& report);
std::string ReportJson(const ImportReport& report, std::string_view indent);

// A file name that ends in ".dxf" (any case).
bool IsDxfName(std::string_view path);

}  // namespace murvex::dxf
