// Polar angles.
#include "Polar.h"

#include <cmath>
#include <numbers>

namespace murvex::figure {

bool ValidPolarStep(int degrees) {
    return degrees == 15 || degrees == 30 || degrees == 45;
}

std::optional<TilePoint> PolarPoint(const FigureModel& model, TilePoint from, TilePoint mouse) {
    const InteractionState& st = model.interaction;
    if (!model.HasFigure() || !ValidPolarStep(st.polarStep)) return std::nullopt;
    const long double dx = mouse.x - from.x;
    const long double dy = mouse.y - from.y;
    const long double r = std::hypot(dx, dy);
    if (!(r > 0) || !std::isfinite(r)) return std::nullopt;
    constexpr long double kRadiansPerDegree = std::numbers::pi_v<long double> / 180;
    const long double step = st.polarStep * kRadiansPerDegree;
    const long double angle = std::atan2(dy, dx);
    const long double ray = std::nearbyint(angle / step) * step;
    const long double along = r * std::cos(angle - ray);
    const long double across = std::fabs(r * std::sin(angle - ray));
    if (!(along > 0) || !(across / model.ViewScale() < kPolarPixels)) return std::nullopt;
    long double length = along;
    if (st.snaps.grid && st.snapOn) {
        const long double g = st.snaps.gridSpacing;
        length = std::nearbyint(length / g) * g;
    }
    // Exact at the axes, where a sine or cosine of a rounded angle leaves a trace.
    long double c = std::cos(ray);
    long double s = std::sin(ray);
    if (std::fabs(c) < 1e-15L) c = 0;
    if (std::fabs(s) < 1e-15L) s = 0;
    return TilePoint{from.x + length * c, from.y + length * s};
}

}  // namespace murvex::figure
