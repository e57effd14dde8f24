// The preview's view of a drawing: where the picture looks, zooming, panning, the scale bar.
#include "PreviewView.h"

#include <algorithm>
#include <cmath>

#include "NumberText.h"

namespace murvex {

Box ViewTransform::Visible(int width, int height) const {
    return {left, top - height / scale, left + width / scale, top};
}

ViewTransform FitView(const Box& box, int width, int height, int margin) {
    const double w = box.x1 - box.x0;
    const double h = box.y1 - box.y0;
    const double cx = (box.x0 + box.x1) / 2;
    const double cy = (box.y0 + box.y1) / 2;
    width = std::max(width, 1);
    height = std::max(height, 1);
    // The margin never takes more than a quarter of a side.
    const double usableW = std::max(1.0, width - 2.0 * std::min(margin, width / 4));
    const double usableH = std::max(1.0, height - 2.0 * std::min(margin, height / 4));
    double scale = 1.0;
    const bool hasW = std::isfinite(w) && w > 0;
    const bool hasH = std::isfinite(h) && h > 0;
    if (hasW && hasH) {
        scale = std::min(usableW / w, usableH / h);
    } else if (hasW) {
        scale = usableW / w;
    } else if (hasH) {
        scale = usableH / h;
    }
    if (!std::isfinite(cx) || !std::isfinite(cy)) return {0.0, 0.0, 1.0};
    return {cx - width / 2.0 / scale, cy + height / 2.0 / scale, scale};
}

ViewTransform ZoomAbout(const ViewTransform& view, double px, double py, double factor,
                        double minScale, double maxScale) {
    if (!std::isfinite(factor) || factor <= 0) return view;
    const double scale = std::clamp(view.scale * factor, minScale, maxScale);
    const ViewPoint at = view.ToDrawing(px, py);
    return {at.x - px / scale, at.y + py / scale, scale};
}

ViewTransform PanBy(const ViewTransform& view, double dx, double dy) {
    return {view.left - dx / view.scale, view.top + dy / view.scale, view.scale};
}

double ScaleBarLength(double scale, double maxPixels) {
    if (!std::isfinite(scale) || !std::isfinite(maxPixels) || scale <= 0 || maxPixels <= 0)
        return 0.0;
    const double most = maxPixels / scale;  // drawing units
    // The decimal powers are read as text, so that 0.001 is the double nearest to it.
    int exponent = static_cast<int>(std::floor(std::log10(most)));
    // log10 may land a hair off for exact powers of ten.
    if (DecimalValue(1, exponent) > most) --exponent;
    if (DecimalValue(1, exponent + 1) <= most) ++exponent;
    for (const long long step : {5, 2, 1}) {
        const double length = DecimalValue(step, exponent);
        if (length <= most) return length;
    }
    return DecimalValue(1, exponent);
}

}  // namespace murvex
