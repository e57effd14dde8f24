// Wildverband: whole, three-quarter and header bricks in a fixed irregular order, eight courses.
#include <array>
#include <string_view>

#include "BondFrame.h"

namespace murvex::bonds::detail {

namespace {

// x of a course's first brick as whole multiples of J, K, D and D3, summed in this order.
struct FirstX {
    int j = 0;
    int k = 0;
    int d = 0;
    int d3 = 0;
};

struct Course {
    FirstX first;
    // Brick widths left to right: K header, D three-quarter brick, L whole brick.
    std::string_view widths;
};

constexpr std::array<Course, 8> kCourses = {{
    {{0, 0, 0, 0}, "KLDDKLLDKLD"},
    {{0, 0, 0, 1}, "DLKDDLLLKKD"},
    {{1, 0, 1, 0}, "DDKLKLKDDLL"},
    {{2, 2, 0, 0}, "DDLLKLDLDL"},
    {{1, 1, 0, 0}, "DLDLDDLLKL"},
    {{1, 0, 0, 1}, "KLDLDLKLLL"},
    {{1, 1, 0, 0}, "DLKLDKLLKDD"},
    {{1, 0, 1, 0}, "LDDLLKDDDDK"},
}};

double Sum(const FirstX& f, const Dims& d) {
    double x = 0;
    bool any = false;
    const auto add = [&](int n, double v) {
        if (n == 0) return;
        const double term = n == 1 ? v : n * v;
        x = any ? x + term : term;
        any = true;
    };
    add(f.j, d.J);
    add(f.k, d.K);
    add(f.d, d.D);
    add(f.d3, d.D3);
    return x;
}

double Width(char kind, const Dims& d) {
    switch (kind) {
        case 'K':
            return d.K;
        case 'D':
            return d.D;
        default:
            return d.L;
    }
}

// A course's bricks and joints: its period when the header is the brick's own width.
double CourseLength(const Course& course, const Dims& d) {
    double length = 0;
    for (const char kind : course.widths)
        length += Width(kind, d) + d.J;
    return length;
}

}  // namespace

Layout Wildverband(const Dims& d) {
    const double P = 8 * d.L + d.K + 9 * d.J;
    const double S = 8 * d.H + 8 * d.B;
    Layout layout;
    layout.blocks.reserve(85);
    for (std::size_t c = 0; c < kCourses.size(); ++c) {
        const Course& course = kCourses[c];
        const double n = static_cast<double>(c);
        const double y = c == 0 ? 0.0 : n * d.H + n * d.B;
        const double period = d.ownWidth ? CourseLength(course, d) : P;
        double x = Sum(course.first, d);
        for (const char kind : course.widths) {
            const double w = Width(kind, d);
            Block b{x, y, w, period, S};
            if (c == 0) {
                b.spaced = Spaced::BottomAndTop;
                b.flags.atOrigin = layout.blocks.empty();
            }
            layout.blocks.push_back(b);
            x = x + w + d.J;
        }
    }
    return layout;
}

}  // namespace murvex::bonds::detail
