// Internal to the vector picture loaders: the shapes a metafile player found, in the player's
// device coordinates, and the common size rules.
#pragma once

#include <QColor>
#include <QPainterPath>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <vector>

class QImage;

namespace murvex::pictures::detail {

// A target larger than this is refused before any pixel memory is taken.
inline constexpr long long kMaxPixels = 100LL * 1000LL * 1000LL;
// QPainter and QImage both misbehave beyond 16-bit sides.
inline constexpr int kMaxSide = 32767;

struct Shape {
    QPainterPath path;
    bool stroke = false;
    QColor penColor = Qt::black;
    double penWidth = 0;  // device units; 0 means one image pixel
    bool fill = false;
    QColor brushColor = Qt::white;
};

// A metafile's records are small and its shapes are not: a 100 MB file could otherwise make
// gigabytes of paths. Past this many path elements or shapes in all the picture is refused; each
// shape holds a path of its own, so a million two-point lines cost more than one long line.
inline constexpr long long kMaxPathElements = 1'000'000;
inline constexpr long long kMaxShapes = 100'000;

struct Drawing {
    std::vector<Shape> shapes;
    long long elements = 0;
    bool tooComplex = false;

    // Keeps the shape unless the limit is reached.
    void Add(Shape shape) {
        elements += shape.path.elementCount();
        if (elements > kMaxPathElements || static_cast<long long>(shapes.size()) >= kMaxShapes)
            tooComplex = true;
        if (!tooComplex) shapes.push_back(std::move(shape));
    }
};

// Checks the target size; false with a message when it cannot be rendered.
bool CheckTarget(QSize fit, QString* error);

// The largest size with the proportions of `natural` that fits into `fit`, each side at least 1.
// An empty natural size (both sides 0, negative, not finite) gives an empty result.
QSize FittedSize(QSizeF natural, QSize fit);

// Renders the shapes scaled to fit, centred on white. False with a message when there is nothing
// drawable or the drawing has no extent.
bool RenderDrawing(const Drawing& drawing, QSize fit, QImage* out, QString* error);

}  // namespace murvex::pictures::detail
