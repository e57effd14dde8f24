// Pattern pictures: the pixel size of a box, and SVG text that reads back to the same segments.
#include "PatternPicture.h"

#include <gtest/gtest.h>

#include <charconv>
#include <string>
#include <vector>

namespace murvex {
namespace {

TEST(PictureSize, TheLargerSideGetsThePixels) {
    struct Row {
        const char* name;
        Box box;
        int px;
        int width, height;
    };
    const Row rows[] = {
        {"wide", {0, 0, 2000, 1000}, 800, 800, 400},
        {"tall, away from the origin", {-50, 10, 0, 110}, 1000, 500, 1000},
        {"thin side rounds up to one pixel", {0, 0, 1000, 0.01}, 100, 100, 1},
        {"largest", {0, 0, 1, 1}, kMaxPictureSide, kMaxPictureSide, kMaxPictureSide},
        {"too many pixels", {0, 0, 1, 1}, kMaxPictureSide + 1, 0, 0},
        {"no pixels", {0, 0, 1, 1}, 0, 0, 0},
        {"no height", {0, 5, 10, 5}, 100, 0, 0},
        {"infinite width", {0, 0, 1e308 * 10, 1}, 100, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const PictureSize size = PictureSizeFor(row.box, row.px);
        EXPECT_EQ(size.width, row.width);
        EXPECT_EQ(size.height, row.height);
    }
}

// The numbers of the path's "Mx1 y1Lx2 y2" pieces, with y turned back upwards.
std::vector<DrawnSegment> PathSegments(const std::string& svg) {
    std::vector<DrawnSegment> out;
    const std::size_t d = svg.find(" d=\"");
    if (d == std::string::npos) return out;
    const char* p = svg.data() + d + 4;
    const char* end = svg.data() + svg.find('"', d + 4);
    const auto number = [&](double& v) {
        while (p < end && (*p == ' ' || *p == '\n'))
            ++p;
        const auto r = std::from_chars(p, end, v);
        EXPECT_EQ(r.ec, std::errc());
        p = r.ptr;
    };
    while (p < end) {
        while (p < end && *p == '\n')
            ++p;
        if (p == end) break;
        EXPECT_EQ(*p++, 'M');
        DrawnSegment s;
        number(s.x1);
        number(s.y1);
        EXPECT_EQ(*p++, 'L');
        number(s.x2);
        number(s.y2);
        s.y1 = -s.y1;
        s.y2 = -s.y2;
        out.push_back(s);
        if (out.size() > 100000) break;
    }
    return out;
}

TEST(PatternSvg, ReadsBackToTheSameSegments) {
    const std::vector<DrawnSegment> segments = {
        {0, 0, 5, 0}, {0.1, -2.5, 1.0 / 3, 1e-7}, {7, 7, 7, 7}, {-1e20, 3, 2e-300, -0.0}};
    const Box box{-10, -5, 20, 10};
    const std::string svg = SegmentsToSvg(segments, box, PictureSizeFor(box, 600));
    EXPECT_NE(svg.find("width=\"600\" height=\"300\" viewBox=\"-10 -10 30 15\""), std::string::npos)
        << svg;
    const std::vector<DrawnSegment> back = PathSegments(svg);
    ASSERT_EQ(back.size(), segments.size());
    for (std::size_t i = 0; i < segments.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(back[i].x1, segments[i].x1);
        EXPECT_EQ(back[i].y1, segments[i].y1);
        EXPECT_EQ(back[i].x2, segments[i].x2);
        EXPECT_EQ(back[i].y2, segments[i].y2);
    }
}

TEST(PatternSvg, NothingDrawnIsAWhitePicture) {
    const Box box{0, 0, 10, 10};
    const std::string svg = SegmentsToSvg({}, box, PictureSizeFor(box, 100));
    EXPECT_NE(svg.find("fill=\"white\""), std::string::npos);
    EXPECT_EQ(svg.find("<path"), std::string::npos);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
}

}  // namespace
}  // namespace murvex
