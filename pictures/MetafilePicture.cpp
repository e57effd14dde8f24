// Windows metafiles as background pictures: WMF played by libwmf's lite player into our own device
// layer, EMF records checked by libuemf and interpreted here. Both only collect the line shapes
// (lines, polylines, polygons, rectangles, ellipses, arcs, Béziers) and hand them to the common
// renderer; text, bitmaps, regions and raster operations are skipped.
#include <QByteArray>
#include <QImage>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <numbers>
#include <utility>
#include <vector>

#include <libwmf/api.h>
#include <libwmf/defs.h>
#include <libwmf/ipa.h>
#include <uemf.h>
#include <uemf_safe.h>

#include "MetafileDrawing.h"
#include "VectorPictures.h"

namespace murvex::pictures {
namespace {

using detail::Drawing;
using detail::Shape;

// Little-endian reads, each one bounds-checked against the buffer.
struct Bytes {
    const unsigned char* p = nullptr;
    std::size_t n = 0;

    bool Has(std::size_t off, std::size_t len) const { return off <= n && len <= n - off; }
    std::uint16_t ReadU16(std::size_t off) const {
        if (!Has(off, 2)) return 0;
        return static_cast<std::uint16_t>(p[off] | (p[off + 1] << 8));
    }
    std::uint32_t ReadU32(std::size_t off) const {
        if (!Has(off, 4)) return 0;
        return static_cast<std::uint32_t>(p[off]) | (static_cast<std::uint32_t>(p[off + 1]) << 8) |
               (static_cast<std::uint32_t>(p[off + 2]) << 16) |
               (static_cast<std::uint32_t>(p[off + 3]) << 24);
    }
    std::int32_t ReadI32(std::size_t off) const { return static_cast<std::int32_t>(ReadU32(off)); }
    std::int16_t ReadI16(std::size_t off) const { return static_cast<std::int16_t>(ReadU16(off)); }
    float ReadF32(std::size_t off) const {
        const std::uint32_t bits = ReadU32(off);
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return std::isfinite(f) ? f : 0.0f;
    }
};

Bytes BytesOf(const QByteArray& data) {
    return {reinterpret_cast<const unsigned char*>(data.constData()),
            static_cast<std::size_t>(data.size())};
}

// GDI arc end points are radial: the arc ends where the ray from the centre through the point
// crosses the ellipse. Qt's arc angles are parametric, so the ray's angle is converted. Angles in
// degrees, counter-clockwise on screen (y down).
double ParametricAngle(const QRectF& box, QPointF radial) {
    const double a = box.width() / 2;
    const double b = box.height() / 2;
    const double dx = radial.x() - box.center().x();
    const double dy = box.center().y() - radial.y();
    if (dx == 0 && dy == 0) return 0;
    return std::atan2(a * dy, b * dx) * 180.0 / std::numbers::pi;
}

enum class ArcKind { Arc, Chord, Pie };

// The arc from start to end in GDI's default counter-clockwise direction (clockwise = false).
QPainterPath ArcPath(const QRectF& box, QPointF start, QPointF end, ArcKind kind, bool clockwise) {
    const double a0 = ParametricAngle(box, start);
    const double a1 = ParametricAngle(box, end);
    double sweep = clockwise ? a0 - a1 : a1 - a0;
    while (sweep <= 0)
        sweep += 360;  // equal ends: the whole ellipse
    while (sweep > 360)
        sweep -= 360;
    if (clockwise) sweep = -sweep;
    QPainterPath path;
    if (kind == ArcKind::Pie) {
        path.moveTo(box.center());
        path.arcTo(box, a0, sweep);
        path.closeSubpath();
    } else {
        path.arcMoveTo(box, a0);
        path.arcTo(box, a0, sweep);
        if (kind == ArcKind::Chord) path.closeSubpath();
    }
    return path;
}

// ---------------------------------------------------------------------------------------------
// WMF through libwmf

// libwmf's allocations all go through here, so that no declared size in a file can make it take
// more than this in total.
constexpr std::size_t kWmfMemoryLimit = 256u * 1024u * 1024u;

struct WmfMemory {
    std::size_t used = 0;
};

struct alignas(std::max_align_t) BlockHeader {
    std::size_t size;
};

void* WmfMalloc(void* context, std::size_t size) {
    auto* memory = static_cast<WmfMemory*>(context);
    if (size > kWmfMemoryLimit - memory->used) return nullptr;
    auto* block = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + size));
    if (!block) return nullptr;
    block->size = size;
    memory->used += size;
    return block + 1;
}

void WmfFree(void* context, void* mem) {
    if (!mem) return;
    auto* memory = static_cast<WmfMemory*>(context);
    BlockHeader* block = static_cast<BlockHeader*>(mem) - 1;
    memory->used -= block->size;
    std::free(block);
}

void* WmfRealloc(void* context, void* mem, std::size_t size) {
    if (!mem) return WmfMalloc(context, size);
    auto* memory = static_cast<WmfMemory*>(context);
    BlockHeader* block = static_cast<BlockHeader*>(mem) - 1;
    const std::size_t old = block->size;
    if (size > old && size - old > kWmfMemoryLimit - memory->used) return nullptr;
    auto* moved = static_cast<BlockHeader*>(std::realloc(block, sizeof(BlockHeader) + size));
    if (!moved) return nullptr;
    moved->size = size;
    memory->used = memory->used - old + size;
    return moved + 1;
}

constexpr std::uint16_t kMetaEof = 0x0000;
constexpr std::uint16_t kMetaPolygon = 0x0324;
constexpr std::uint16_t kMetaPolyline = 0x0325;
constexpr std::uint16_t kMetaPolyPolygon = 0x0538;
constexpr std::size_t kPlaceableSize = 22;
constexpr std::size_t kWmfHeaderSize = 18;
// Every record libwmf reads has its parameters at fixed indexes below this many words; its record
// buffer is made at least this large so that a short record cannot make it read past the buffer.
constexpr std::uint32_t kWmfMinRecordWords = 64;

// Walks the records before libwmf sees them: every record inside the file, the polygon point
// counts inside their records, an end record present. On success `maxRecordWords` is the largest
// record actually present. The header's own maximum is not trusted: libwmf sizes its buffer by it.
bool CheckWmfRecords(const Bytes& b, std::size_t headerAt, std::uint32_t* maxRecordWords,
                     QString* error) {
    std::size_t off = headerAt + kWmfHeaderSize;
    std::uint32_t largest = 3;
    for (;;) {
        if (!b.Has(off, 6)) {
            *error = QStringLiteral("The metafile is incomplete: it ends before its last record");
            return false;
        }
        const std::uint32_t words = b.ReadU32(off);
        const std::uint16_t function = b.ReadU16(off + 4);
        if (words < 3) {
            *error = QStringLiteral("The metafile is damaged: a record has an impossible size");
            return false;
        }
        const std::uint64_t bytes = 2ull * words;
        if (bytes > b.n - off) {
            *error = QStringLiteral("The metafile is incomplete: a record runs past the end");
            return false;
        }
        largest = std::max(largest, words);
        const std::size_t params = off + 6;
        const std::uint64_t paramWords = words - 3;
        if (function == kMetaPolygon || function == kMetaPolyline) {
            if (paramWords < 1 || 1 + 2ull * b.ReadU16(params) > paramWords) {
                *error =
                    QStringLiteral("The metafile is damaged: a polygon has more points than fit");
                return false;
            }
        } else if (function == kMetaPolyPolygon) {
            const std::uint64_t polys = paramWords >= 1 ? b.ReadU16(params) : 0;
            std::uint64_t points = 0;
            bool fits = paramWords >= 1 && 1 + polys <= paramWords;
            for (std::uint64_t i = 0; fits && i < polys; ++i)
                points += b.ReadU16(params + 2 + 2 * static_cast<std::size_t>(i));
            if (!fits || 1 + polys + 2 * points > paramWords) {
                *error =
                    QStringLiteral("The metafile is damaged: a polygon has more points than fit");
                return false;
            }
        }
        if (function == kMetaEof && words == 3) break;
        off += static_cast<std::size_t>(bytes);
    }
    *maxRecordWords = largest;
    return true;
}

struct WmfDevice {
    Drawing* drawing = nullptr;
};

Drawing& DrawingOf(wmfAPI* api) {
    return *static_cast<WmfDevice*>(api->device_data)->drawing;
}

QPointF Pt(wmfD_Coord c) {
    return {c.x, c.y};
}

// Adds a shape with the pen and brush selected in the player's DC.
void AddWmfShape(wmfAPI* api, wmfDC* dc, QPainterPath path, bool closed) {
    Shape shape;
    const wmfPen* pen = dc ? dc->pen : nullptr;
    const wmfBrush* brush = dc ? dc->brush : nullptr;
    if (pen && (pen->lopnStyle & PS_STYLE_MASK) != PS_NULL) {
        shape.stroke = true;
        shape.penColor = QColor(pen->lopnColor.r, pen->lopnColor.g, pen->lopnColor.b);
        shape.penWidth = std::isfinite(pen->width) ? std::max(0.0, pen->width) : 0.0;
    }
    if (closed && brush && brush->lbStyle != BS_NULL) {
        shape.fill = true;
        shape.brushColor = QColor(brush->lbColor.r, brush->lbColor.g, brush->lbColor.b);
    }
    if (!shape.stroke && !shape.fill) return;
    path.setFillRule(dc && dc->polyfillmode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    shape.path = std::move(path);
    DrawingOf(api).Add(std::move(shape));
}

QRectF BoxOf(wmfD_Coord tl, wmfD_Coord br) {
    return QRectF(Pt(tl), Pt(br)).normalized();
}

void WmfLine(wmfAPI* api, wmfDrawLine_t* line) {
    QPainterPath path;
    path.moveTo(Pt(line->from));
    path.lineTo(Pt(line->to));
    AddWmfShape(api, line->dc, std::move(path), false);
}

QPainterPath PolyPath(const wmfD_Coord* pt, unsigned count, bool close) {
    QPainterPath path;
    if (!pt || count == 0) return path;
    path.moveTo(Pt(pt[0]));
    for (unsigned i = 1; i < count; ++i)
        path.lineTo(Pt(pt[i]));
    if (close) path.closeSubpath();
    return path;
}

void WmfPolyline(wmfAPI* api, wmfPolyLine_t* poly) {
    if (poly->count >= 2) AddWmfShape(api, poly->dc, PolyPath(poly->pt, poly->count, false), false);
}

void WmfPolygon(wmfAPI* api, wmfPolyLine_t* poly) {
    if (poly->count >= 2) AddWmfShape(api, poly->dc, PolyPath(poly->pt, poly->count, true), true);
}

void WmfPolyPolygon(wmfAPI* api, wmfPolyPoly_t* poly) {
    QPainterPath path;
    for (unsigned i = 0; poly->pt && poly->count && i < poly->npoly; ++i)
        if (poly->count[i] >= 2) path.addPath(PolyPath(poly->pt[i], poly->count[i], true));
    if (!path.isEmpty()) AddWmfShape(api, poly->dc, std::move(path), true);
}

void WmfRectangle(wmfAPI* api, wmfDrawRectangle_t* rect) {
    QPainterPath path;
    const QRectF box = BoxOf(rect->TL, rect->BR);
    if (rect->width > 0 && rect->height > 0)
        path.addRoundedRect(box, rect->width / 2, rect->height / 2);
    else
        path.addRect(box);
    AddWmfShape(api, rect->dc, std::move(path), true);
}

void WmfEllipse(wmfAPI* api, wmfDrawArc_t* arc) {
    QPainterPath path;
    path.addEllipse(BoxOf(arc->TL, arc->BR));
    AddWmfShape(api, arc->dc, std::move(path), true);
}

// The player gives the arc's end points relative to the centre, named the other way round: its
// `end` holds the record's start point (device layers draw clockwise from `start` to `end`).
void WmfArcOf(wmfAPI* api, wmfDrawArc_t* arc, ArcKind kind) {
    const QRectF box = BoxOf(arc->TL, arc->BR);
    const QPointF c = box.center();
    AddWmfShape(api, arc->dc, ArcPath(box, c + Pt(arc->end), c + Pt(arc->start), kind, false),
                kind != ArcKind::Arc);
}
void WmfArc(wmfAPI* api, wmfDrawArc_t* arc) {
    WmfArcOf(api, arc, ArcKind::Arc);
}
void WmfChord(wmfAPI* api, wmfDrawArc_t* arc) {
    WmfArcOf(api, arc, ArcKind::Chord);
}
void WmfPie(wmfAPI* api, wmfDrawArc_t* arc) {
    WmfArcOf(api, arc, ArcKind::Pie);
}

// Bitmaps are not decoded: the player is told there is none.
void WmfBmpRead(wmfAPI*, wmfBMP_Read_t* read) {
    read->bmp.width = 0;
    read->bmp.height = 0;
    read->bmp.data = nullptr;
}
void WmfBmpFree(wmfAPI*, wmfBMP*) {}

// The lite player needs a font interface; text is not drawn.
void WmfFontMap(wmfAPI*, wmfFont*) {}
float WmfStringWidth(wmfAPI*, wmfFont*, char*) {
    return 0;
}

void WmfInitDevice(wmfAPI* api) {
    auto* fr = static_cast<wmfFunctionReference*>(api->function_reference);
    fr->draw_line = WmfLine;
    fr->poly_line = WmfPolyline;
    fr->draw_polygon = WmfPolygon;
    fr->draw_polypolygon = WmfPolyPolygon;
    fr->draw_rectangle = WmfRectangle;
    fr->draw_ellipse = WmfEllipse;
    fr->draw_arc = WmfArc;
    fr->draw_chord = WmfChord;
    fr->draw_pie = WmfPie;
    fr->bmp_read = WmfBmpRead;
    fr->bmp_free = WmfBmpFree;
    auto* fonts = static_cast<wmfFontData*>(wmf_malloc(api, sizeof(wmfFontData)));
    if (!fonts) return;  // wmf_malloc set the error state
    fonts->map = WmfFontMap;
    fonts->stringwidth = WmfStringWidth;
    fonts->user_data = nullptr;
    api->font_data = fonts;
}

QString WmfErrorText(wmf_error_t err) {
    switch (err) {
        case wmf_E_InsMem:
            return QStringLiteral("The metafile needs more memory than is allowed");
        case wmf_E_EOF:
            return QStringLiteral("The metafile is incomplete");
        case wmf_E_None:
        case wmf_E_BadFile:
        case wmf_E_BadFormat:
        case wmf_E_DeviceError:
        case wmf_E_Glitch:
        case wmf_E_Assert:
        case wmf_E_UserExit:
            break;
    }
    return QStringLiteral("The metafile is damaged and cannot be read");
}

// ---------------------------------------------------------------------------------------------
// EMF records

constexpr std::size_t kEmfHeaderMin = 88;
// The header counts handles in 16 bits; a larger index is not a valid object and is ignored.
constexpr std::uint32_t kMaxHandles = 65536;
// Stock objects newer than libuemf's list: the device context's own brush and pen.
constexpr std::uint32_t kDcBrush = U_STOCK_OBJECT | 18;
constexpr std::uint32_t kDcPen = U_STOCK_OBJECT | 19;
// SETWORLDTRANSFORM's mode in the terms of MODIFYWORLDTRANSFORM, which libuemf does not name.
constexpr std::uint32_t kMwtSet = 4;

struct EmfPen {
    bool visible = true;
    QColor color = Qt::black;
    double width = 0;  // logical units
};

struct EmfBrush {
    bool visible = true;
    QColor color = Qt::white;
};

struct EmfObject {
    enum Kind { Pen, Brush, Other } kind = Other;
    EmfPen pen;
    EmfBrush brush;
};

struct EmfState {
    std::uint32_t mapMode = U_MM_TEXT;
    QPointF windowOrg, viewportOrg;
    QSizeF windowExt{1, 1}, viewportExt{1, 1};
    QTransform world;
    EmfPen pen;
    EmfBrush brush;
    bool winding = false;
    bool clockwise = false;
};

// One record in the data: where it starts, its type and its length in bytes (checked to lie
// inside the data).
struct EmfRecord {
    std::size_t at = 0;
    std::uint32_t type = 0;
    std::uint32_t size = 0;
};

// The point records: 32-bit or 16-bit points, continuing from the current position or not,
// straight or Bézier, open or closed.
struct PolyForm {
    bool small = false;
    bool to = false;
    bool bezier = false;
    bool closed = false;
};

class EmfPlayer {
  public:
    EmfPlayer(const Bytes& bytes, Drawing* drawing) : b_(bytes), drawing_(drawing) {}

    bool Run(QString* error);

  private:
    // A record's handler; a damaged record calls Fail, which ends the picture.
    using Handler = void (EmfPlayer::*)(const EmfRecord&);
    struct HandlerEntry {
        std::uint32_t type;
        Handler handler;
    };
    // The records read, each by libuemf's name; every other type is skipped unread.
    static Handler HandlerFor(std::uint32_t type);

    QTransform ToDevice() const;
    QPointF Point32(std::size_t off) const { return QPointF(b_.ReadI32(off), b_.ReadI32(off + 4)); }
    QPointF Point16(std::size_t off) const { return QPointF(b_.ReadI16(off), b_.ReadI16(off + 2)); }
    QRectF Box(std::size_t off) const {
        return QRectF(Point32(off), Point32(off + 8)).normalized();
    }
    QColor Colour(std::size_t off) const {
        const std::uint32_t c = b_.ReadU32(off);  // red, green, blue, reserved
        return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    }
    void Fail(QString message) {
        failed_ = true;
        error_ = std::move(message);
    }

    // Draws a logical-coordinate path, or adds it to the open path bracket.
    void Emit(const QPainterPath& logical, bool closed);
    void EmitDevice(const QPainterPath& device, bool stroke, bool fill);
    void Store(std::uint32_t index, const EmfObject& object) {
        if (index < kMaxHandles) objects_[index] = object;
    }
    void Poly(const EmfRecord& r, PolyForm form);
    void PolyPoly(const EmfRecord& r, bool closed, bool small);
    void ScaleExtent(const EmfRecord& r, QSizeF& extent);
    void WorldTransform(const EmfRecord& r, std::uint32_t mode);
    void ArcShape(const EmfRecord& r, ArcKind kind, bool fromCurrent);
    void FinishPath(bool stroke, bool fill);

    void PolyBezier(const EmfRecord& r) { Poly(r, {.bezier = true}); }
    void Polygon(const EmfRecord& r) { Poly(r, {.closed = true}); }
    void Polyline(const EmfRecord& r) { Poly(r, {}); }
    void PolyBezierTo(const EmfRecord& r) { Poly(r, {.to = true, .bezier = true}); }
    void PolylineTo(const EmfRecord& r) { Poly(r, {.to = true}); }
    void PolyBezier16(const EmfRecord& r) { Poly(r, {.small = true, .bezier = true}); }
    void Polygon16(const EmfRecord& r) { Poly(r, {.small = true, .closed = true}); }
    void Polyline16(const EmfRecord& r) { Poly(r, {.small = true}); }
    void PolyBezierTo16(const EmfRecord& r) {
        Poly(r, {.small = true, .to = true, .bezier = true});
    }
    void PolylineTo16(const EmfRecord& r) { Poly(r, {.small = true, .to = true}); }
    void PolyPolyline(const EmfRecord& r) { PolyPoly(r, false, false); }
    void PolyPolygon(const EmfRecord& r) { PolyPoly(r, true, false); }
    void PolyPolyline16(const EmfRecord& r) { PolyPoly(r, false, true); }
    void PolyPolygon16(const EmfRecord& r) { PolyPoly(r, true, true); }

    void SetWindowExtEx(const EmfRecord& r) {
        state_.windowExt = QSizeF(b_.ReadI32(r.at + 8), b_.ReadI32(r.at + 12));
    }
    void SetWindowOrgEx(const EmfRecord& r) { state_.windowOrg = Point32(r.at + 8); }
    void SetViewportExtEx(const EmfRecord& r) {
        state_.viewportExt = QSizeF(b_.ReadI32(r.at + 8), b_.ReadI32(r.at + 12));
    }
    void SetViewportOrgEx(const EmfRecord& r) { state_.viewportOrg = Point32(r.at + 8); }
    void SetMapMode(const EmfRecord& r) { state_.mapMode = b_.ReadU32(r.at + 8); }
    void SetPolyFillMode(const EmfRecord& r) { state_.winding = b_.ReadU32(r.at + 8) == U_WINDING; }
    void MoveToEx(const EmfRecord& r) { current_ = Point32(r.at + 8); }
    void ScaleViewportExtEx(const EmfRecord& r) { ScaleExtent(r, state_.viewportExt); }
    void ScaleWindowExtEx(const EmfRecord& r) { ScaleExtent(r, state_.windowExt); }
    void SaveDC(const EmfRecord& r);
    void RestoreDC(const EmfRecord& r);
    void SetWorldTransform(const EmfRecord& r) { WorldTransform(r, kMwtSet); }
    void ModifyWorldTransform(const EmfRecord& r) { WorldTransform(r, b_.ReadU32(r.at + 32)); }
    void SelectObject(const EmfRecord& r);
    void CreatePen(const EmfRecord& r);
    void ExtCreatePen(const EmfRecord& r);
    void CreateBrushIndirect(const EmfRecord& r);
    void CreatePatternBrush(const EmfRecord& r);
    void DeleteObject(const EmfRecord& r) { objects_.erase(b_.ReadU32(r.at + 8)); }
    void AngleArc(const EmfRecord& r);
    void Ellipse(const EmfRecord& r);
    void Rectangle(const EmfRecord& r);
    void RoundRect(const EmfRecord& r);
    void Arc(const EmfRecord& r) { ArcShape(r, ArcKind::Arc, false); }
    void Chord(const EmfRecord& r) { ArcShape(r, ArcKind::Chord, false); }
    void Pie(const EmfRecord& r) { ArcShape(r, ArcKind::Pie, false); }
    void ArcTo(const EmfRecord& r) { ArcShape(r, ArcKind::Arc, true); }
    void LineTo(const EmfRecord& r);
    void SetArcDirection(const EmfRecord& r) {
        state_.clockwise = b_.ReadU32(r.at + 8) == U_AD_CLOCKWISE;
    }
    void BeginPath(const EmfRecord&) {
        inPath_ = true;
        path_ = QPainterPath();
    }
    void EndPath(const EmfRecord&) { inPath_ = false; }
    void CloseFigure(const EmfRecord&) {
        if (inPath_) path_.closeSubpath();
    }
    void FillPath(const EmfRecord&) { FinishPath(false, true); }
    void StrokeAndFillPath(const EmfRecord&) { FinishPath(true, true); }
    void StrokePath(const EmfRecord&) { FinishPath(true, false); }
    // SELECTCLIPPATH too: clipping is not drawn, the path is used up.
    void AbortPath(const EmfRecord&) {
        inPath_ = false;
        path_ = QPainterPath();
    }

    Bytes b_;
    Drawing* drawing_;
    EmfState state_;
    std::vector<EmfState> saved_;
    std::map<std::uint32_t, EmfObject> objects_;  // at most kMaxHandles entries
    QPointF current_;                             // logical
    bool inPath_ = false;
    QPainterPath path_;  // device coordinates
    double pixelsPerMm_ = 96.0 / 25.4;
    bool failed_ = false;
    QString error_;
};

EmfPlayer::Handler EmfPlayer::HandlerFor(std::uint32_t type) {
    // U_EMR_EOF ends the records in Run and has no handler; text, bitmaps, regions, clipping
    // and colours are not drawn.
    static constexpr HandlerEntry kHandlers[] = {
        {U_EMR_POLYBEZIER, &EmfPlayer::PolyBezier},
        {U_EMR_POLYGON, &EmfPlayer::Polygon},
        {U_EMR_POLYLINE, &EmfPlayer::Polyline},
        {U_EMR_POLYBEZIERTO, &EmfPlayer::PolyBezierTo},
        {U_EMR_POLYLINETO, &EmfPlayer::PolylineTo},
        {U_EMR_POLYPOLYLINE, &EmfPlayer::PolyPolyline},
        {U_EMR_POLYPOLYGON, &EmfPlayer::PolyPolygon},
        {U_EMR_SETWINDOWEXTEX, &EmfPlayer::SetWindowExtEx},
        {U_EMR_SETWINDOWORGEX, &EmfPlayer::SetWindowOrgEx},
        {U_EMR_SETVIEWPORTEXTEX, &EmfPlayer::SetViewportExtEx},
        {U_EMR_SETVIEWPORTORGEX, &EmfPlayer::SetViewportOrgEx},
        {U_EMR_SETMAPMODE, &EmfPlayer::SetMapMode},
        {U_EMR_SETPOLYFILLMODE, &EmfPlayer::SetPolyFillMode},
        {U_EMR_MOVETOEX, &EmfPlayer::MoveToEx},
        {U_EMR_SCALEVIEWPORTEXTEX, &EmfPlayer::ScaleViewportExtEx},
        {U_EMR_SCALEWINDOWEXTEX, &EmfPlayer::ScaleWindowExtEx},
        {U_EMR_SAVEDC, &EmfPlayer::SaveDC},
        {U_EMR_RESTOREDC, &EmfPlayer::RestoreDC},
        {U_EMR_SETWORLDTRANSFORM, &EmfPlayer::SetWorldTransform},
        {U_EMR_MODIFYWORLDTRANSFORM, &EmfPlayer::ModifyWorldTransform},
        {U_EMR_SELECTOBJECT, &EmfPlayer::SelectObject},
        {U_EMR_CREATEPEN, &EmfPlayer::CreatePen},
        {U_EMR_CREATEBRUSHINDIRECT, &EmfPlayer::CreateBrushIndirect},
        {U_EMR_DELETEOBJECT, &EmfPlayer::DeleteObject},
        {U_EMR_ANGLEARC, &EmfPlayer::AngleArc},
        {U_EMR_ELLIPSE, &EmfPlayer::Ellipse},
        {U_EMR_RECTANGLE, &EmfPlayer::Rectangle},
        {U_EMR_ROUNDRECT, &EmfPlayer::RoundRect},
        {U_EMR_ARC, &EmfPlayer::Arc},
        {U_EMR_CHORD, &EmfPlayer::Chord},
        {U_EMR_PIE, &EmfPlayer::Pie},
        {U_EMR_LINETO, &EmfPlayer::LineTo},
        {U_EMR_ARCTO, &EmfPlayer::ArcTo},
        {U_EMR_SETARCDIRECTION, &EmfPlayer::SetArcDirection},
        {U_EMR_BEGINPATH, &EmfPlayer::BeginPath},
        {U_EMR_ENDPATH, &EmfPlayer::EndPath},
        {U_EMR_CLOSEFIGURE, &EmfPlayer::CloseFigure},
        {U_EMR_FILLPATH, &EmfPlayer::FillPath},
        {U_EMR_STROKEANDFILLPATH, &EmfPlayer::StrokeAndFillPath},
        {U_EMR_STROKEPATH, &EmfPlayer::StrokePath},
        {U_EMR_SELECTCLIPPATH, &EmfPlayer::AbortPath},
        {U_EMR_ABORTPATH, &EmfPlayer::AbortPath},
        {U_EMR_POLYBEZIER16, &EmfPlayer::PolyBezier16},
        {U_EMR_POLYGON16, &EmfPlayer::Polygon16},
        {U_EMR_POLYLINE16, &EmfPlayer::Polyline16},
        {U_EMR_POLYBEZIERTO16, &EmfPlayer::PolyBezierTo16},
        {U_EMR_POLYLINETO16, &EmfPlayer::PolylineTo16},
        {U_EMR_POLYPOLYLINE16, &EmfPlayer::PolyPolyline16},
        {U_EMR_POLYPOLYGON16, &EmfPlayer::PolyPolygon16},
        {U_EMR_CREATEMONOBRUSH, &EmfPlayer::CreatePatternBrush},
        {U_EMR_CREATEDIBPATTERNBRUSHPT, &EmfPlayer::CreatePatternBrush},
        {U_EMR_EXTCREATEPEN, &EmfPlayer::ExtCreatePen},
    };
    for (const HandlerEntry& entry : kHandlers) {
        if (entry.type == type) return entry.handler;
    }
    return nullptr;
}

QTransform EmfPlayer::ToDevice() const {
    const EmfState& s = state_;
    double sx = 1;
    double sy = 1;
    switch (s.mapMode) {
        case U_MM_LOMETRIC:
            sx = 0.1 * pixelsPerMm_;
            sy = -sx;
            break;
        case U_MM_HIMETRIC:
            sx = 0.01 * pixelsPerMm_;
            sy = -sx;
            break;
        case U_MM_LOENGLISH:
            sx = 0.254 * pixelsPerMm_;
            sy = -sx;
            break;
        case U_MM_HIENGLISH:
            sx = 0.0254 * pixelsPerMm_;
            sy = -sx;
            break;
        case U_MM_TWIPS:
            sx = 25.4 / 1440 * pixelsPerMm_;
            sy = -sx;
            break;
        case U_MM_ISOTROPIC:
        case U_MM_ANISOTROPIC:
            sx = s.windowExt.width() != 0 ? s.viewportExt.width() / s.windowExt.width() : 1;
            sy = s.windowExt.height() != 0 ? s.viewportExt.height() / s.windowExt.height() : 1;
            if (s.mapMode == U_MM_ISOTROPIC) {
                const double m = std::min(std::abs(sx), std::abs(sy));
                sx = std::copysign(m, sx);
                sy = std::copysign(m, sy);
            }
            break;
        default:
            break;  // U_MM_TEXT: one logical unit is one device pixel
    }
    if (!std::isfinite(sx) || !std::isfinite(sy) || sx == 0 || sy == 0) sx = sy = 1;
    const QTransform page(sx, 0, 0, sy, s.viewportOrg.x() - s.windowOrg.x() * sx,
                          s.viewportOrg.y() - s.windowOrg.y() * sy);
    return s.world * page;
}

void EmfPlayer::EmitDevice(const QPainterPath& device, bool stroke, bool fill) {
    Shape shape;
    shape.stroke = stroke && state_.pen.visible;
    shape.fill = fill && state_.brush.visible;
    if (!shape.stroke && !shape.fill) return;
    const QTransform t = ToDevice();
    shape.penColor = state_.pen.color;
    shape.penWidth = state_.pen.width * std::sqrt(std::abs(t.determinant()));
    shape.brushColor = state_.brush.color;
    shape.path = device;
    shape.path.setFillRule(state_.winding ? Qt::WindingFill : Qt::OddEvenFill);
    drawing_->Add(std::move(shape));
}

void EmfPlayer::Emit(const QPainterPath& logical, bool closed) {
    const QPainterPath device = ToDevice().map(logical);
    if (inPath_) {
        // An open path bracket counts against the same limit as drawn shapes.
        if (path_.elementCount() + device.elementCount() > detail::kMaxPathElements)
            drawing_->tooComplex = true;
        else
            path_.addPath(device);
        return;
    }
    EmitDevice(device, true, closed);
}

// Bounds, count, points.
void EmfPlayer::Poly(const EmfRecord& r, PolyForm form) {
    const std::uint64_t count = b_.ReadU32(r.at + 24);
    const std::uint64_t step = form.small ? 4 : 8;
    if (28 + count * step > r.size) {
        Fail(QStringLiteral("The metafile is damaged: a line has more points than fit"));
        return;
    }
    if (count > static_cast<std::uint64_t>(detail::kMaxPathElements)) {  // before building it
        drawing_->tooComplex = true;
        return;
    }
    const auto point = [&](std::uint64_t i) {
        const std::size_t off = r.at + 28 + static_cast<std::size_t>(i * step);
        return form.small ? Point16(off) : Point32(off);
    };
    QPainterPath path;
    std::uint64_t i = 0;
    if (form.to) {
        path.moveTo(current_);
    } else {
        if (count == 0) return;
        path.moveTo(point(i++));
    }
    if (form.bezier) {
        for (; i + 3 <= count; i += 3)
            path.cubicTo(point(i), point(i + 1), point(i + 2));
    } else {
        for (; i < count; ++i)
            path.lineTo(point(i));
    }
    if (form.to) current_ = path.currentPosition();
    if (form.closed) path.closeSubpath();
    if (path.elementCount() >= 2) Emit(path, form.closed);
}

// Bounds, polygon count, point count, counts, points.
void EmfPlayer::PolyPoly(const EmfRecord& r, bool closed, bool small) {
    const std::size_t rec = r.at;
    const std::uint64_t polys = b_.ReadU32(rec + 24);
    const std::uint64_t total = b_.ReadU32(rec + 28);
    const std::uint64_t step = small ? 4 : 8;
    if (32 + polys * 4 + total * step > r.size) {
        Fail(QStringLiteral("The metafile is damaged: a polygon has more points than fit"));
        return;
    }
    if (total > static_cast<std::uint64_t>(detail::kMaxPathElements)) {
        drawing_->tooComplex = true;
        return;
    }
    std::uint64_t sum = 0;
    for (std::uint64_t k = 0; k < polys; ++k)
        sum += b_.ReadU32(rec + 32 + static_cast<std::size_t>(k * 4));
    if (sum > total) {
        Fail(QStringLiteral("The metafile is damaged: a polygon has more points than fit"));
        return;
    }
    const std::size_t points = rec + 32 + static_cast<std::size_t>(polys * 4);
    QPainterPath path;
    std::uint64_t at = 0;
    for (std::uint64_t k = 0; k < polys; ++k) {
        const std::uint64_t n = b_.ReadU32(rec + 32 + static_cast<std::size_t>(k * 4));
        for (std::uint64_t i = 0; i < n; ++i, ++at) {
            const std::size_t off = points + static_cast<std::size_t>(at * step);
            const QPointF p = small ? Point16(off) : Point32(off);
            if (i == 0)
                path.moveTo(p);
            else
                path.lineTo(p);
        }
        if (closed && n > 0) path.closeSubpath();
    }
    if (!path.isEmpty()) Emit(path, closed);
}

void EmfPlayer::ScaleExtent(const EmfRecord& r, QSizeF& extent) {
    const double xn = b_.ReadI32(r.at + 8), xd = b_.ReadI32(r.at + 12);
    const double yn = b_.ReadI32(r.at + 16), yd = b_.ReadI32(r.at + 20);
    if (xd == 0 || yd == 0) return;
    extent = QSizeF(extent.width() * xn / xd, extent.height() * yn / yd);
}

// A bounded stack: deeper saves are ignored.
void EmfPlayer::SaveDC(const EmfRecord&) {
    if (saved_.size() < 1024) saved_.push_back(state_);
}

void EmfPlayer::RestoreDC(const EmfRecord& r) {
    const std::int32_t rel = b_.ReadI32(r.at + 8);
    const std::int64_t depth = static_cast<std::int64_t>(saved_.size());
    const std::int64_t keep = rel < 0 ? depth + rel : rel - 1;
    if (keep >= 0 && keep < depth) {
        state_ = saved_[static_cast<std::size_t>(keep)];
        saved_.resize(static_cast<std::size_t>(keep));
    }
}

void EmfPlayer::WorldTransform(const EmfRecord& r, std::uint32_t mode) {
    const std::size_t at = r.at;
    const QTransform x(b_.ReadF32(at + 8), b_.ReadF32(at + 12), b_.ReadF32(at + 16),
                       b_.ReadF32(at + 20), b_.ReadF32(at + 24), b_.ReadF32(at + 28));
    if (mode == U_MWT_IDENTITY) state_.world = QTransform();
    if (mode == U_MWT_LEFTMULTIPLY) state_.world = x * state_.world;
    if (mode == U_MWT_RIGHTMULTIPLY) state_.world = state_.world * x;
    if (mode == kMwtSet) state_.world = x;
    if (!state_.world.isInvertible()) state_.world = QTransform();
}

void EmfPlayer::SelectObject(const EmfRecord& r) {
    const std::uint32_t index = b_.ReadU32(r.at + 8);
    if (index & U_STOCK_OBJECT) {
        switch (index) {
            case U_WHITE_BRUSH:
            case kDcBrush:
                state_.brush = {true, Qt::white};
                break;
            case U_LTGRAY_BRUSH:
                state_.brush = {true, QColor(192, 192, 192)};
                break;
            case U_GRAY_BRUSH:
                state_.brush = {true, QColor(128, 128, 128)};
                break;
            case U_DKGRAY_BRUSH:
                state_.brush = {true, QColor(64, 64, 64)};
                break;
            case U_BLACK_BRUSH:
                state_.brush = {true, Qt::black};
                break;
            case U_NULL_BRUSH:
                state_.brush.visible = false;
                break;
            case U_WHITE_PEN:
                state_.pen = {true, Qt::white, 0};
                break;
            case U_BLACK_PEN:
            case kDcPen:
                state_.pen = {true, Qt::black, 0};
                break;
            case U_NULL_PEN:
                state_.pen.visible = false;
                break;
            default:
                break;
        }
        return;
    }
    const auto it = objects_.find(index);
    if (it == objects_.end()) return;
    if (it->second.kind == EmfObject::Pen) state_.pen = it->second.pen;
    if (it->second.kind == EmfObject::Brush) state_.brush = it->second.brush;
}

void EmfPlayer::CreatePen(const EmfRecord& r) {
    EmfObject o;
    o.kind = EmfObject::Pen;
    o.pen = {(b_.ReadU32(r.at + 12) & U_PS_STYLE_MASK) != U_PS_NULL, Colour(r.at + 24),
             std::abs(double(b_.ReadI32(r.at + 16)))};
    Store(b_.ReadU32(r.at + 8), o);
}

void EmfPlayer::ExtCreatePen(const EmfRecord& r) {
    EmfObject o;
    o.kind = EmfObject::Pen;
    const std::uint32_t style = b_.ReadU32(r.at + 28);
    const bool geometric = (style & U_PS_TYPE_MASK) != 0;
    o.pen = {(style & U_PS_STYLE_MASK) != U_PS_NULL && b_.ReadU32(r.at + 36) != U_BS_NULL,
             Colour(r.at + 40), geometric ? double(b_.ReadU32(r.at + 32)) : 0.0};
    Store(b_.ReadU32(r.at + 8), o);
}

// Hatched brushes fill with their colour.
void EmfPlayer::CreateBrushIndirect(const EmfRecord& r) {
    EmfObject o;
    o.kind = EmfObject::Brush;
    o.brush = {b_.ReadU32(r.at + 12) != U_BS_NULL, Colour(r.at + 16)};
    Store(b_.ReadU32(r.at + 8), o);
}

// Monochrome and bitmap pattern brushes are not drawn.
void EmfPlayer::CreatePatternBrush(const EmfRecord& r) {
    EmfObject o;
    o.kind = EmfObject::Brush;
    o.brush.visible = false;
    Store(b_.ReadU32(r.at + 8), o);
}

// A line from the current position, then the arc.
void EmfPlayer::AngleArc(const EmfRecord& r) {
    const QPointF c = Point32(r.at + 8);
    const double radius = b_.ReadU32(r.at + 16);
    const double start = b_.ReadF32(r.at + 20);
    const double sweep = b_.ReadF32(r.at + 24);
    const QRectF box(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius);
    QPainterPath shape;
    shape.moveTo(current_);
    shape.arcTo(box, start, sweep);
    current_ = shape.currentPosition();
    Emit(shape, false);
}

void EmfPlayer::Ellipse(const EmfRecord& r) {
    QPainterPath shape;
    shape.addEllipse(Box(r.at + 8));
    Emit(shape, true);
}

void EmfPlayer::Rectangle(const EmfRecord& r) {
    QPainterPath shape;
    shape.addRect(Box(r.at + 8));
    Emit(shape, true);
}

void EmfPlayer::RoundRect(const EmfRecord& r) {
    QPainterPath shape;
    shape.addRoundedRect(Box(r.at + 8), std::abs(b_.ReadI32(r.at + 24)) / 2.0,
                         std::abs(b_.ReadI32(r.at + 28)) / 2.0);
    Emit(shape, true);
}

// ARC, CHORD and PIE; ARCTO draws a line from the current position to the arc and moves it.
void EmfPlayer::ArcShape(const EmfRecord& r, ArcKind kind, bool fromCurrent) {
    QPainterPath shape =
        ArcPath(Box(r.at + 8), Point32(r.at + 24), Point32(r.at + 32), kind, state_.clockwise);
    if (fromCurrent) {
        QPainterPath withLine;
        withLine.moveTo(current_);
        withLine.connectPath(shape);
        shape = withLine;
        current_ = shape.currentPosition();
    }
    Emit(shape, kind != ArcKind::Arc);
}

void EmfPlayer::LineTo(const EmfRecord& r) {
    const QPointF to = Point32(r.at + 8);
    QPainterPath shape;
    shape.moveTo(current_);
    shape.lineTo(to);
    current_ = to;
    Emit(shape, false);
}

// FILLPATH, STROKEANDFILLPATH and STROKEPATH draw a closed bracket and use it up.
void EmfPlayer::FinishPath(bool stroke, bool fill) {
    if (!inPath_ && !path_.isEmpty()) EmitDevice(path_, stroke, fill);
    path_ = QPainterPath();
}

bool EmfPlayer::Run(QString* error) {
    if (b_.n < kEmfHeaderMin || b_.ReadU32(0) != U_EMR_HEADER ||
        b_.ReadU32(40) != U_ENHMETA_SIGNATURE) {
        *error = QStringLiteral("The file is not an enhanced metafile (EMF)");
        return false;
    }
    const std::int32_t devicePx = b_.ReadI32(72);
    const std::int32_t deviceMm = b_.ReadI32(80);
    if (devicePx > 0 && deviceMm > 0) pixelsPerMm_ = static_cast<double>(devicePx) / deviceMm;

    std::size_t off = 0;
    for (std::size_t index = 0;; ++index) {
        if (!b_.Has(off, 8)) {
            *error = QStringLiteral("The metafile is incomplete: it ends before its last record");
            return false;
        }
        const EmfRecord record{off, b_.ReadU32(off), b_.ReadU32(off + 4)};
        if (record.size < 8 || record.size % 4 != 0) {
            *error = QStringLiteral("The metafile is damaged: a record has an impossible size");
            return false;
        }
        if (record.size > b_.n - off) {
            *error = QStringLiteral("The metafile is incomplete: a record runs past the end");
            return false;
        }
        if (index > 0 && record.type == U_EMR_HEADER) {
            *error = QStringLiteral("The metafile is damaged: a second header");
            return false;
        }
        const Handler handler = HandlerFor(record.type);
        // libuemf knows each record type's layout and checks its sizes and counts against the
        // record's own length, which is inside the data (checked above). Only the records read
        // here are checked: libuemf complains on stderr about types it has no check for.
        if ((handler || record.type == U_EMR_EOF) &&
            !U_emf_record_safe(reinterpret_cast<const char*>(b_.p + off))) {
            *error =
                QStringLiteral("The metafile is damaged: record %1 is malformed").arg(index + 1);
            return false;
        }
        if (record.type == U_EMR_EOF) return true;
        if (handler) {
            (this->*handler)(record);
            if (failed_) {
                *error = error_;
                return false;
            }
        }
        off += record.size;
    }
}

}  // namespace

bool LooksLikeWmf(const QByteArray& head) {
    const Bytes b = BytesOf(head);
    if (b.Has(0, 4) && b.ReadU32(0) == 0x9AC6CDD7u) return true;
    const std::uint16_t type = b.ReadU16(0);
    const std::uint16_t version = b.ReadU16(4);
    return b.Has(0, kWmfHeaderSize) && (type == 1 || type == 2) && b.ReadU16(2) == 9 &&
           (version == 0x0100 || version == 0x0300);
}

bool LooksLikeEmf(const QByteArray& head) {
    const Bytes b = BytesOf(head);
    return b.Has(0, 44) && b.ReadU32(0) == U_EMR_HEADER && b.ReadU32(40) == U_ENHMETA_SIGNATURE;
}

bool RenderWmf(const QByteArray& data, QSize fit, QImage* out, QString* error) {
    if (!detail::CheckTarget(fit, error)) return false;
    if (!LooksLikeWmf(data)) {
        *error = QStringLiteral("The file is not a Windows metafile (WMF)");
        return false;
    }
    const Bytes b = BytesOf(data);
    const std::size_t headerAt = b.ReadU32(0) == 0x9AC6CDD7u ? kPlaceableSize : 0;
    if (!b.Has(headerAt, kWmfHeaderSize) ||
        !LooksLikeWmf(data.mid(static_cast<qsizetype>(headerAt)))) {
        *error = QStringLiteral("The metafile is incomplete: its header is cut off");
        return false;
    }
    std::uint32_t maxWords = 0;
    if (!CheckWmfRecords(b, headerAt, &maxWords, error)) return false;

    // libwmf reads from our copy, whose maximum record size is the true one.
    std::vector<unsigned char> copy(b.p, b.p + b.n);
    const std::uint32_t declared = std::max(maxWords, kWmfMinRecordWords);
    for (int i = 0; i < 4; ++i)
        copy[headerAt + 12 + static_cast<std::size_t>(i)] =
            static_cast<unsigned char>(declared >> (8 * i));
    // The record buffer must not reach past the data either (libwmf checks by seeking).
    if (copy.size() < headerAt + kWmfHeaderSize + 2ull * declared)
        copy.resize(headerAt + kWmfHeaderSize + 2ull * declared, 0);

    WmfMemory memory;
    wmfAPI_Options options{};
    options.context = &memory;
    options.malloc = WmfMalloc;
    options.realloc = WmfRealloc;
    options.free = WmfFree;
    options.function = WmfInitDevice;
    const unsigned long flags =
        WMF_OPT_ALLOC | WMF_OPT_FUNCTION | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    wmfAPI* api = nullptr;
    if (wmf_lite_create(&api, flags, &options) != wmf_E_None || !api) {
        *error = QStringLiteral("The metafile reader could not be started");
        return false;
    }
    Drawing drawing;
    WmfDevice device{&drawing};
    api->device_data = &device;
    wmfD_Rect box{};
    wmf_error_t err = wmf_mem_open(api, copy.data(), static_cast<long>(copy.size()));
    if (err == wmf_E_None) err = wmf_scan(api, 0, &box);
    if (err == wmf_E_None) err = wmf_play(api, 0, &box);
    api->device_data = nullptr;
    wmf_mem_close(api);
    wmf_lite_destroy(api);
    if (err != wmf_E_None) {
        *error = WmfErrorText(err);
        return false;
    }
    return detail::RenderDrawing(drawing, fit, out, error);
}

bool RenderEmf(const QByteArray& data, QSize fit, QImage* out, QString* error) {
    if (!detail::CheckTarget(fit, error)) return false;
    Drawing drawing;
    EmfPlayer player(BytesOf(data), &drawing);
    if (!player.Run(error)) return false;
    return detail::RenderDrawing(drawing, fit, out, error);
}

}  // namespace murvex::pictures
