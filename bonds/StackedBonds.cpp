// Halfsteensverband and Tegelverband: stretchers only, half a brick apart or stacked.
#include "BondFrame.h"

namespace murvex::bonds::detail {

// Two stretcher courses, the second moved by half a brick; its lines come edge kind by edge
// kind (bottoms and tops first, then lefts and rights).
Layout Halfsteensverband(const Dims& d) {
    const double S = 2 * d.Hv;
    Layout layout;
    layout.order = EdgeOrder::HorizontalFirst;
    layout.blocks = {
        {0, 0, d.L, d.Lv, S, Spaced::None, {.atOrigin = true, .roundOrigin = true}},
        {d.Lv / 2, d.Hv, d.L, d.Lv, S, Spaced::None, {.roundOrigin = true}},
    };
    return layout;
}

// Every course straight above the one below.
Layout Tegelverband(const Dims& d) {
    Layout layout;
    layout.blocks = {
        {0, 0, d.L, d.Lv, d.Hv, Spaced::None, {.atOrigin = true, .roundOrigin = true}}};
    return layout;
}

}  // namespace murvex::bonds::detail
