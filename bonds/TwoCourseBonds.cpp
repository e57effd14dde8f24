// Kettingverband, Koppenverband, Klezoorverband, Staandverband and Vlaamsverband: two courses,
// the second moved along, repeating every two courses.
#include "BondFrame.h"

namespace murvex::bonds::detail {

using enum Spaced;

// One header and two stretchers per course; the second course moved along by D3 + L + 2J.
Layout Kettingverband(const Dims& d) {
    const double L = d.L;
    const double J = d.J;
    const double K = d.K;
    const double D3 = d.D3;
    const double P = 2 * L + K + 3 * J;
    const double S = 2 * d.Hv;
    const double y = d.Hv;
    Layout layout;
    layout.blocks = {
        {0, 0, K, P, S, BottomAndTop, {.atOrigin = true}},
        {K + J, 0, L, P, S, BottomAndTop},
        {2 * J + K + L, 0, L, P, S, BottomAndTop},
        {D3 + L + 2 * J, y, K, P, S, None},
        {D3 + L + 2 * J + K + J, y, L, P, S, Top},
        {D3 + L + 2 * J + K + 2 * J + L, y, L, P, S, BottomAndTop},
    };
    return layout;
}

// Headers only; the second course moved along by D3 + J.
Layout Koppenverband(const Dims& d) {
    const double P = d.K + d.J;
    const double S = 2 * d.Hv;
    Layout layout;
    layout.blocks = {
        {0, 0, d.K, P, S, BottomAndTop, {.atOrigin = true}},
        {d.D3 + d.J, d.Hv, d.K, P, S, Top},
    };
    return layout;
}

// Stretchers only; the second course moved along by D3.
Layout Klezoorverband(const Dims& d) {
    const double P = d.L + d.J;
    const double S = 2 * d.Hv;
    Layout layout;
    layout.blocks = {
        {0, 0, d.L, P, S, BottomAndTop, {.atOrigin = true}},
        {d.D3, d.Hv, d.L, P, S, Top},
    };
    return layout;
}

// A course of headers, then a course of stretchers moved along by D3.
Layout Staandverband(const Dims& d) {
    const double S = 2 * d.Hv;
    Layout layout;
    layout.blocks = {
        {0, 0, d.K, d.K + d.J, S, BottomAndTop, {.atOrigin = true}},
        {d.D3, d.Hv, d.L, d.L + d.J, S, Top},
    };
    return layout;
}

// One header and one stretcher per course; the second course moved along by D.
Layout Vlaamsverband(const Dims& d) {
    const double L = d.L;
    const double J = d.J;
    const double K = d.K;
    const double D = d.D;
    const double P = L + K + 2 * J;
    const double S = 2 * d.Hv;
    const double y = d.Hv;
    Layout layout;
    layout.blocks = {
        {0, 0, K, P, S, BottomAndTop, {.atOrigin = true}},
        {K + J, 0, L, P, S, BottomAndTop},
        {D, y, K, P, S, BottomAndTop},
        {D + K + J, y, L, P, S, Top},
    };
    return layout;
}

}  // namespace murvex::bonds::detail
