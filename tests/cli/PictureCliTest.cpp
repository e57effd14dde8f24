// murvex-cli picture: the figure tab's picture loader from the command line, its output rules and
// its memory on pictures far larger than they are shown.
#include <sys/resource.h>

#include <gtest/gtest.h>
#include <QImage>

#include <filesystem>
#include <string>
#include <vector>

#include "CliRun.h"
#include "Sanitizers.h"
#include "TempDir.h"

namespace murvex {
namespace {

using clitest::Cli;
using test::TempDir;

std::string Saved(const TempDir& dir, const char* name, const QImage& image, const char* format) {
    const std::string path = dir.File(name);
    EXPECT_TRUE(image.save(QString::fromStdString(path), format));
    return path;
}

QSize SizeOf(const std::string& path) {
    return QImage(QString::fromStdString(path)).size();
}

TEST(CliPicture, WritesThePictureFittedToTheCanvasOrTheErrorBoxText) {
    TempDir dir;
    QImage tall(40, 80, QImage::Format_RGB32);
    tall.fill(QColor(20, 120, 220));
    const std::string in = Saved(dir, "staand.png", tall, "PNG");
    const std::string out = dir.File("uit.png");
    ASSERT_EQ(Cli(dir, {"picture", in, "--size", "302", "152", "-o", out}).status, 0);
    EXPECT_EQ(SizeOf(out), QSize(76, 152));
    EXPECT_EQ(QImage(QString::fromStdString(out)).pixelColor(38, 76), QColor(20, 120, 220));
    // An existing file stays unless --force.
    EXPECT_EQ(Cli(dir, {"picture", in, "--size", "100", "100", "-o", out}).status, 1);
    EXPECT_EQ(SizeOf(out), QSize(76, 152));
    EXPECT_EQ(Cli(dir, {"picture", in, "--size", "100", "100", "-o", out, "--force"}).status, 0);
    EXPECT_EQ(SizeOf(out), QSize(50, 100));

    const std::string text = dir.File("tekst.png");
    test::WriteText(text, "Dit is geen afbeelding.\r\n");
    const std::string none = dir.File("niets.png");
    const clitest::Result unreadable = Cli(dir, {"picture", text, "--size", "3", "1", "-o", none});
    EXPECT_EQ(unreadable.status, 1);
    EXPECT_EQ(unreadable.err, "Afbeelding kan niet gelezen worden: " + text + "\n");
    for (const char* side : {"0", "8193", "1,5", "x"}) {
        SCOPED_TRACE(side);
        const clitest::Result invalid = Cli(dir, {"picture", in, "--size", side, "1", "-o", none});
        EXPECT_EQ(invalid.status, 2);
        EXPECT_EQ(invalid.err, "Er is een ongeldige waarde ingevoerd\n");
    }
    EXPECT_FALSE(std::filesystem::exists(none));
}

// 10000 x 10000 pixels shown at 300 x 150: decoded at their full size they take 400 MB or more;
// decoded at the size shown they stay far below the bound. The limit is this process's for the
// one run, inherited by murvex-cli.
TEST(CliPicture, LargePicturesShownSmallStayWithinTheMemoryBound) {
    TempDir dir;
    std::vector<std::string> files;
    {
        QImage grey(10000, 10000, QImage::Format_Grayscale8);
        grey.fill(90);
        files = {Saved(dir, "groot.png", grey, "PNG"), Saved(dir, "groot.jpg", grey, "JPEG")};
    }
    rlimit old{};
    ::getrlimit(RLIMIT_DATA, &old);
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const std::string out = dir.File("uit.png");
#if !defined(MURVEX_ADDRESS_SANITIZER)  // the sanitizer's shadow memory does not fit such a limit
        const rlimit bound{200u << 20, old.rlim_max};
        ::setrlimit(RLIMIT_DATA, &bound);
#endif
        const clitest::Result r =
            Cli(dir, {"picture", file, "--size", "300", "150", "-o", out, "--force"});
        ::setrlimit(RLIMIT_DATA, &old);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(SizeOf(out), QSize(150, 150));
    }
}

}  // namespace
}  // namespace murvex
