// The figures the session and canvas benchmarks work on, and the segment they draw.
#pragma once

#include <vector>

#include "FigureSession.h"

namespace murvex::bench {

// A 300 x 300 tile holding n short segments spread over it, loaded as one step.
inline void FillSession(figure::FigureSession& session, int n) {
    std::vector<figure::TileSegment> segments;
    segments.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const long double x = (i * 37) % 300;
        const long double y = (i * 53) % 300;
        segments.push_back({{x, y}, {(x + 17 + i % 40), (y + 5 + i % 30)}});
    }
    session.LoadSegments(300, 300, segments);
}

// The i-th segment drawn by two clicks, each after a move to its pixel, as the window sends
// them; what the second click answers.
inline auto DrawSegment(figure::FigureSession& session, int i) {
    const figure::Pixel a{10 + i % 200, 20 + (i * 7) % 250};
    const figure::Pixel b{a.x + 31, a.y + 17};
    session.MouseMove(a);
    session.Click(a);
    session.MouseMove(b);
    return session.Click(b);
}

}  // namespace murvex::bench
