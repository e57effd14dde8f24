// Small DXF texts for the import tests: records from group lists, wrapped in the sections.
#pragma once

#include <array>
#include <charconv>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "DxfImport.h"

namespace murvex::dxftest {

using Groups = std::vector<std::pair<int, std::string>>;

inline std::string Num(double v) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    return std::string(buffer, end);
}

inline std::string Record(std::string_view kind, const Groups& groups) {
    std::string out = "0\n" + std::string(kind) + "\n";
    for (const auto& [code, value] : groups)
        out += std::to_string(code) + "\n" + value + "\n";
    return out;
}

inline std::string Line(double x1, double y1, double x2, double y2, std::string layer = "0") {
    return Record("LINE", {{8, layer},
                           {10, Num(x1)},
                           {20, Num(y1)},
                           {30, "0"},
                           {11, Num(x2)},
                           {21, Num(y2)},
                           {31, "0"}});
}

// A closed LWPOLYLINE through the points, each with its bulge.
inline std::string Polyline(const std::vector<std::array<double, 3>>& points, bool closed,
                            std::string layer = "0") {
    Groups g{{8, layer}, {90, std::to_string(points.size())}, {70, closed ? "1" : "0"}};
    for (const auto& [x, y, bulge] : points) {
        g.push_back({10, Num(x)});
        g.push_back({20, Num(y)});
        if (bulge != 0) g.push_back({42, Num(bulge)});
    }
    return Record("LWPOLYLINE", g);
}

inline std::string DxfFile(std::string_view entities, std::string_view blocks = {},
                           std::string_view header = {}) {
    std::string out = "0\nSECTION\n2\nHEADER\n" + std::string(header) + "0\nENDSEC\n";
    out += "0\nSECTION\n2\nBLOCKS\n" + std::string(blocks) + "0\nENDSEC\n";
    out += "0\nSECTION\n2\nENTITIES\n" + std::string(entities) + "0\nENDSEC\n0\nEOF\n";
    return out;
}

// Import options with the tile given.
inline dxf::ImportOptions TileOption(double x0, double y0, double x1, double y1) {
    dxf::ImportOptions o;
    o.tile = dxf::Tile{{x0, y0}, {x1, y1}, dxf::TileSource::Given, {}};
    return o;
}

}  // namespace murvex::dxftest
