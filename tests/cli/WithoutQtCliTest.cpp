// murvex-cli built without Qt: render writes the SVG every build writes and refuses PNG with one
// clear line; the picture command is listed and refuses likewise.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "CliRun.h"
#include "PatternFile.h"
#include "PatternGeometry.h"
#include "PatternPicture.h"
#include "TempDir.h"

namespace murvex::clitest {
namespace {

TEST(CliWithoutQt, RenderWritesTheSvgOfEveryBuild) {
    const test::TempDir dir;
    const std::string text = "*strepen\n0,0,0,0,10\n45,0,0,0,7.5,3,-2\n";
    test::WriteText(dir.File("strepen.pat"), text);
    // Corners in any order, as in every build.
    const Result r = Cli(dir, {"render", dir.File("strepen.pat"), "--box", "20", "20", "0", "0",
                               "-o", dir.File("strepen.svg"), "--px", "40"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out + r.err, "");
    const std::string svg = test::ReadText(dir.File("strepen.svg"));
    // What the picture files of render/ make of the drawn pattern, whichever build calls them.
    const Box box{0, 0, 20, 20};
    EXPECT_EQ(svg, SegmentsToSvg(DrawPattern(ParsePatternText(text), box).segments, box,
                                 PictureSizeFor(box, 40)));
    EXPECT_NE(svg.find("viewBox=\"0 -20 20 20\">\n"), std::string::npos);
    EXPECT_NE(svg.find("\nM0 -10L20 -10\n"), std::string::npos) << svg;
}

TEST(CliWithoutQt, PngPicturesAndThePictureCommandAreRefusedAndNothingIsWritten) {
    const test::TempDir dir;
    // A PNG is refused before the pattern file is read.
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{"render", "ontbreekt.pat", "--box", "0", "0", "1", "1", "-o", dir.File("a.PNG")},
         "murvex-cli render: PNG pictures are not in this build\n"},
        {{"picture", "x.jpg", "--size", "10", "10", "-o", dir.File("b.png")},
         "murvex-cli picture: not in this build\n"},
        {{"picture"}, "murvex-cli picture: not in this build\n"},
    };
    for (const auto& [args, err] : rows) {
        SCOPED_TRACE(args.size());
        const Result r = Cli(dir, args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out + r.err, err);
    }
    EXPECT_NE(Cli(dir, {"render", "--help"}).out.find("PNG pictures are not in this build"),
              std::string::npos);
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{".stderr", ".stdout"}));
}

}  // namespace
}  // namespace murvex::clitest
