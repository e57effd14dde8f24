// Kruisverband and Engelsverband: header and stretcher courses over several bricks per period.
#include "BondFrame.h"

namespace murvex::bonds::detail {

// A header course (period two courses) between stretcher courses that alternate between a plain
// course and one with a header after every five stretchers (period four courses).
Layout Kruisverband(const Dims& d) {
    const double L = d.L;
    const double J = d.J;
    const double K = d.K;
    const double D = d.D;
    const double P = 5 * L + K + 6 * J;
    const double S = 4 * d.Hv;
    const double y = 3 * d.Hv;
    Layout layout;
    layout.blocks = {
        {0, 0, K, K + J, 2 * d.Hv, Spaced::None, {.atOrigin = true, .roundOrigin = true}},
        {J + D, d.Hv, L, d.Lv, S, Spaced::None, {.roundOrigin = true}},
        {D + J, y, K, P, S},
        {D + J + K + J, y, L, P, S},
        {D + J + K + 2 * J + L, y, L, P, S},
        {D + J + K + 3 * J + 2 * L, y, L, P, S},
        {D + J + K + 4 * J + 3 * L, y, L, P, S},
        {D + J + K + 5 * J + 4 * L, y, L, P, S},
    };
    return layout;
}

// One header and three stretchers per course; the second course moved along by D + L + 2J.
Layout Engelsverband(const Dims& d) {
    const double L = d.L;
    const double J = d.J;
    const double K = d.K;
    const double D = d.D;
    const double P = 3 * L + K + 4 * J;
    const double S = 2 * d.Hv;
    const double y = d.Hv;
    using enum Spaced;
    Layout layout;
    layout.blocks = {
        {0, 0, K, P, S, BottomAndTop, {.atOrigin = true}},
        {K + J, 0, L, P, S, BottomAndTop},
        {2 * J + K + L, 0, L, P, S, BottomAndTop},
        {3 * J + K + 2 * L, 0, L, P, S, BottomAndTop},
        {D + L + 2 * J, y, K, P, S, None},
        {D + L + 2 * J + K + J, y, L, P, S, Top},
        {D + L + 2 * J + K + 2 * J + L, y, L, P, S, BottomAndTop},
        {D + L + 2 * J + K + 3 * J + 2 * L, y, L, P, S, BottomAndTop},
    };
    return layout;
}

}  // namespace murvex::bonds::detail
