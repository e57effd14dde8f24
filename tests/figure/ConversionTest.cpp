// Figure-to-pattern conversion: the written lines to the last decimal, the case choice, the
// tolerance stages, and the lines and failed rows of "Maak hatch".
#include "Conversion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakePlatform.h"
#include "TextGrid.h"

namespace murvex::figure {
namespace {

struct Example {
    const char* name;
    Tile tile;
    RowCells cells;
    Accuracy accuracy;
    const char* line;  // nullptr: no solution
};

// Worked rows, each to the last of its ten decimals.
const Example kExamples[] = {
    {"Horizontal",
     {100, 50},
     {"10", "10", "60", "10"},
     Accuracy::Nauwkeurig,
     "0.0000000000, 10.0000000000, 10.0000000000, 0.0000000000, 50.0000000000, 50.0000000000, "
     "-50.0000000000"},
    {"VerticalUp",
     {100, 50},
     {"20", "0", "20", "30"},
     Accuracy::Nauwkeurig,
     "90.0000000000, 20.0000000000, 0.0000000000, 0.0000000000, 100.0000000000, 30.0000000000, "
     "-20.0000000000"},
    {"VerticalDown",
     {100, 50},
     {"20", "30", "20", "0"},
     Accuracy::Nauwkeurig,
     "270.0000000000, 20.0000000000, 30.0000000000, 0.0000000000, 100.0000000000, 30.0000000000, "
     "-20.0000000000"},
    {"Diagonal",
     {100, 100},
     {"0", "0", "50", "50"},
     Accuracy::Nauwkeurig,
     "45.0000000000, 0.0000000000, 0.0000000000, 70.7106781187, 70.7106781187, 70.7106781187, "
     "-70.7106781187"},
    {"MirroredDiagonal",
     {100, 50},
     {"0", "50", "40", "30"},
     Accuracy::Nauwkeurig,
     "-26.5650511771, 0.0000000000, 50.0000000000, -22.3606797750, 44.7213595500, "
     "44.7213595500, -67.0820393250"},
    {"MirroredDiagonalEnteredRightToLeft",
     {100, 50},
     {"40", "30", "0", "50"},
     Accuracy::Nauwkeurig,
     "-26.5650511771, 0.0000000000, 50.0000000000, -22.3606797750, 44.7213595500, "
     "44.7213595500, -67.0820393250"},
    {"GeneralRising",
     {100, 100},
     {"0", "0", "100", "50"},
     Accuracy::Nauwkeurig,
     "26.5650511771, 0.0000000000, 0.0000000000, 134.1640786500, 44.7213595500, "
     "111.8033988750, -111.8033988750"},
    {"GeneralFalling",
     {100, 100},
     {"10", "80", "40", "70"},
     Accuracy::Nauwkeurig,
     "-18.4349488229, 10.0000000000, 80.0000000000, 221.3594362118, -31.6227766017, "
     "31.6227766017, -284.6049894152"},
    {"FineNauwkeurig",
     {100, 100},
     {"0", "0", "30", "10.05"},
     Accuracy::Nauwkeurig,
     "18.5208494775, 0.0000000000, 0.0000000000, 20776.1882879229, 0.4741040639, "
     "31.6386235478, -21060.7770749918"},
    {"FineMiddel",
     {100, 100},
     {"0", "0", "30", "10.05"},
     Accuracy::Middel,
     "18.5208494775, 0.0000000000, 0.0000000000, 20776.1882879229, 0.4741040639, "
     "31.6386235478, -21060.7770749918"},
    {"FineLaag",
     {100, 100},
     {"0", "0", "30", "10,05"},
     Accuracy::Laag,
     "18.4349488229, 0.0000000000, 0.0000000000, 221.3594362118, 31.6227766017, "
     "31.6386235478, -284.5891424690"},
    {"FourEmptyCells",
     {100, 50},
     {"", "", "", ""},
     Accuracy::Nauwkeurig,
     "270.0000000000, 0.0000000000, 0.0000000000, 0.0000000000, 100.0000000000, 0.0000000000, "
     "-50.0000000000"},
    {"UnreadableCellCountsAsZero",
     {100, 50},
     {"abc", "10", "60", "10"},
     Accuracy::Nauwkeurig,
     "0.0000000000, 0.0000000000, 10.0000000000, 0.0000000000, 50.0000000000, 60.0000000000, "
     "-40.0000000000"},
    {"NearlyHorizontalRising",
     {100, 50},
     {"10", "10", "60", "10.2"},
     Accuracy::Nauwkeurig,
     "0.0000000000, 10.0000000000, 10.0000000000, 0.0000000000, 50.0000000000, 50.0003999984, "
     "-49.9996000016"},
    {"NearlyHorizontalFalling",
     {100, 50},
     {"10", "10.2", "60", "10"},
     Accuracy::Nauwkeurig,
     "0.0000000000, 10.0000000000, 10.2000000000, 0.0000000000, 50.0000000000, 50.0003999984, "
     "-49.9996000016"},
    {"NearlyVerticalRising",
     {100, 100},
     {"20", "0", "20.05", "30"},
     Accuracy::Nauwkeurig,
     "90.0000000000, 20.0000000000, 0.0000000000, 0.0000000000, 100.0000000000, 30.0000416666, "
     "-69.9999583334"},
    // Falling that steeply it would climb more than 149 tile heights per width.
    {"NearlyVerticalFallingFails",
     {100, 100},
     {"20", "30", "20.05", "0"},
     Accuracy::Nauwkeurig,
     nullptr},
    // Longer than its repeat distance: one continuous line of the tile width.
    {"LongerThanTheRepeatIsContinuous",
     {100, 100},
     {"0", "0", "100", "0.4"},
     Accuracy::Nauwkeurig,
     "0.0000000000, 0.0000000000, 0.0000000000, 0.0000000000, 100.0000000000, 100.0000000000, "
     "-0.0000000000"},
};

TEST(ConvertFiguurLijn, WritesEveryWorkedRowToTheLastDecimal) {
    for (const Example& ex : kExamples) {
        SCOPED_TRACE(ex.name);
        const std::optional<ConvertedLine> line = ConvertFiguurLijn(ex.tile, ex.cells, ex.accuracy);
        if (ex.line == nullptr) {
            EXPECT_FALSE(line.has_value()) << line->text;
        } else {
            ASSERT_TRUE(line.has_value());
            EXPECT_EQ(line->text, ex.line);
        }
    }
}

}  // namespace
}  // namespace murvex::figure
