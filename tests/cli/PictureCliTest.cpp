// murvex-cli picture: the figure tab's picture loader from the command line, its output rules and
// its memory on pictures far larger than they are shown.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <QImage>

#include <filesystem>
#include <string>
#include <vector>

#include "TempDir.h"

namespace murvex {
namespace {

using test::ReadText;
using test::TempDir;
using test::WriteText;

struct Outcome {
    int status = -1;
    std::string err;
};

// Runs murvex-cli with its data size (heap and other private memory) limited as given.
Outcome Picture(const TempDir& dir, std::vector<std::string> args,
                rlim_t dataLimit = RLIM_INFINITY) {
    const std::string errFile = dir.File(".stderr");
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (err < 0) ::_exit(126);
        ::dup2(err, 2);
        const rlimit limit{dataLimit, dataLimit};
        ::setrlimit(RLIMIT_DATA, &limit);
        std::string program = MURVEX_CLI;
        std::vector<char*> argv{program.data()};
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(errFile)};
}

std::string Saved(const TempDir& dir, const char* name, const QImage& image, const char* format) {
    const std::string path = dir.File(name);
    EXPECT_TRUE(image.save(QString::fromStdString(path), format));
    return path;
}

TEST(CliPicture, WritesThePictureFittedToTheCanvasAndKeepsAnExistingFile) {
    TempDir dir;
    QImage tall(40, 80, QImage::Format_RGB32);
    tall.fill(QColor(20, 120, 220));
    const std::string in = Saved(dir, "staand.png", tall, "PNG");
    const std::string out = dir.File("uit.png");
    ASSERT_EQ(Picture(dir, {"picture", in, "--size", "302", "152", "-o", out}).status, 0);
    const QImage written(QString::fromStdString(out));
    EXPECT_EQ(written.size(), QSize(76, 152));
    EXPECT_EQ(written.pixelColor(38, 76), QColor(20, 120, 220));

    const Outcome again = Picture(dir, {"picture", in, "--size", "100", "100", "-o", out});
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("--force"), std::string::npos) << again.err;
    EXPECT_EQ(QImage(QString::fromStdString(out)).size(), QSize(76, 152));
    EXPECT_EQ(Picture(dir, {"picture", in, "--size", "100", "100", "-o", out, "--force"}).status,
              0);
    EXPECT_EQ(QImage(QString::fromStdString(out)).size(), QSize(50, 100));
}

TEST(CliPicture, RefusesWithTheErrorBoxTextOrAnInvalidValue) {
    TempDir dir;
    const std::string text = dir.File("tekst.png");
    WriteText(text, "Dit is geen afbeelding.\r\n");
    const std::string out = dir.File("uit.png");
    const Outcome unreadable = Picture(dir, {"picture", text, "--size", "300", "150", "-o", out});
    EXPECT_EQ(unreadable.status, 1);
    EXPECT_EQ(unreadable.err, "Afbeelding kan niet gelezen worden: " + text + "\n");
    for (const char* side : {"0", "8193", "1,5", "x"}) {
        SCOPED_TRACE(side);
        const Outcome invalid = Picture(dir, {"picture", text, "--size", side, "150", "-o", out});
        EXPECT_EQ(invalid.status, 2);
        EXPECT_EQ(invalid.err, "Er is een ongeldige waarde ingevoerd\n");
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

// 10000 x 10000 pixels shown at 300 x 150: decoded at their full size they would take 400 MB or
// more; decoded at the size shown they stay far below the bound.
TEST(CliPicture, LargePicturesShownSmallStayWithinTheMemoryBound) {
    TempDir dir;
    std::vector<std::string> files;
    {
        QImage grey(10000, 10000, QImage::Format_Grayscale8);
        grey.fill(90);
        files = {Saved(dir, "groot.png", grey, "PNG"), Saved(dir, "groot.jpg", grey, "JPEG")};
    }
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const std::string out = dir.File("uit.png");
        const Outcome r = Picture(
            dir, {"picture", file, "--size", "300", "150", "-o", out, "--force"}, 200u << 20);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(QImage(QString::fromStdString(out)).size(), QSize(150, 150));
    }
}

}  // namespace
}  // namespace murvex
