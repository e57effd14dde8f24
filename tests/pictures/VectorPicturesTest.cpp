// The vector background pictures: metafiles written here byte by byte, SVG text and a PDF from
// QPdfWriter, each drawing the same 2:1 test picture.
#include <gtest/gtest.h>
#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPointF>
#include <QSize>
#include <QString>
#include <cstdint>
#include <initializer_list>

#include "VectorPictures.h"
#include "VectorTestFiles.h"

namespace murvex::test {
namespace {

// The test picture is 1000 x 500 units: a black square over the left half and a small black
// square in the bottom right corner, the rest white. Fitted into 300 x 300 it is 300 x 150.
const QSize kFit(300, 300);
const QSize kFitted(300, 150);

using Render = bool (*)(const QByteArray&, QSize, QImage*, QString*);
using Sniff = bool (*)(const QByteArray&);

struct Format {
    const char* name;
    Render render;
    Sniff sniff;
    QByteArray (*valid)();
};

const Format kFormats[] = {
    {"Wmf", pictures::RenderWmf, pictures::LooksLikeWmf, [] { return TestWmf(); }},
    {"Emf", pictures::RenderEmf, pictures::LooksLikeEmf, TestEmf},
    {"Svg", pictures::RenderSvg, pictures::LooksLikeSvg, TestSvg},
    {"Pdf", pictures::RenderPdf, pictures::LooksLikePdf, TestPdf},
};

bool Dark(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 64;
}
bool White(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) > 240;
}

// The fitted test picture: left half dark, the bottom right corner dark, white elsewhere.
void ExpectTestPicture(const QImage& image) {
    ASSERT_EQ(image.size(), kFitted);
    EXPECT_TRUE(Dark(image, 10, 10));
    EXPECT_TRUE(Dark(image, 140, 140));
    EXPECT_TRUE(Dark(image, 296, 146));
    EXPECT_TRUE(White(image, 160, 10));
    EXPECT_TRUE(White(image, 290, 10));  // corner square is at the bottom, not the top
    EXPECT_TRUE(White(image, 260, 146));
    EXPECT_TRUE(White(image, 160, 140));
}

TEST(VectorPictures, EachFormatRendersTheTestPictureFittedAndOnlyItsOwnSnifferKnowsIt) {
    for (const Format& format : kFormats) {
        SCOPED_TRACE(format.name);
        const QByteArray data = format.valid();
        QImage image;
        QString error;
        ASSERT_TRUE(format.render(data, kFit, &image, &error)) << error.toStdString();
        EXPECT_TRUE(error.isEmpty());
        ExpectTestPicture(image);
        for (const Format& other : kFormats)
            EXPECT_EQ(other.sniff(data.left(512)), &other == &format) << other.name;
    }
}

TEST(VectorPictures, TruncatedDataAndNonPicturesAreRefusedWithAMessage) {
    const QByteArray notAPicture = "Dit is geen afbeelding, alleen wat tekst.\n";
    for (const Format& format : kFormats) {
        const QByteArray good = format.valid();
        const struct {
            const char* name;
            QByteArray data;
        } cases[] = {
            {"Empty", QByteArray()},
            {"NotAPicture", notAPicture},
            {"CutInHalf", good.left(good.size() / 2)},
            {"LastBytesMissing", good.left(good.size() - 8)},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(format.name) + "/" + c.name);
            QImage image(5, 5, QImage::Format_RGB32);
            QString error;
            EXPECT_FALSE(format.render(c.data, kFit, &image, &error));
            EXPECT_FALSE(error.isEmpty());
            EXPECT_EQ(image.size(), QSize(5, 5)) << "the output is left as it was";
        }
        EXPECT_FALSE(format.sniff(notAPicture)) << format.name;
    }
}

TEST(VectorPictures, ProportionsFollowTheTargetsShorterSide) {
    for (const Format& format : kFormats) {
        SCOPED_TRACE(format.name);
        for (const auto& [fit, fitted] : {std::pair{QSize(300, 300), QSize(300, 150)},
                                          std::pair{QSize(100, 300), QSize(100, 50)},
                                          std::pair{QSize(400, 100), QSize(200, 100)}}) {
            QImage image;
            QString error;
            ASSERT_TRUE(format.render(format.valid(), fit, &image, &error)) << error.toStdString();
            EXPECT_EQ(image.size(), fitted);
        }
    }
}

TEST(VectorPictures, AbsurdTargetSizesAreRefusedBeforeRendering) {
    for (const Format& format : kFormats) {
        for (const QSize fit :
             {QSize(0, 300), QSize(300, -1), QSize(20000, 20000), QSize(40000, 10)}) {
            SCOPED_TRACE(std::string(format.name) + " " + std::to_string(fit.width()) + "x" +
                         std::to_string(fit.height()));
            QImage image;
            QString error;
            EXPECT_FALSE(format.render(format.valid(), fit, &image, &error));
            EXPECT_FALSE(error.isEmpty());
        }
    }
}

TEST(VectorPictures, MetafilesWithNothingDrawableAreRefused) {
    const QByteArray onlyState = Wmf({{kSetBkMode, {1}}}, true);
    const QByteArray invisible = Wmf({{kCreatePen, {5, 0, 0, 0, 0}},
                                      {kCreateBrush, {1, 0, 0, 0}},  // null brush
                                      {kSelectObject, {0}},
                                      {kSelectObject, {1}},
                                      {kRectangle, {500, 500, 0, 0}}},
                                     true);
    Le nullBrush;
    nullBrush.U32(37).U32(12).U32(0x80000005u).U32(37).U32(12).U32(0x80000008u);
    const struct {
        const char* name;
        Render render;
        QByteArray data;
    } cases[] = {
        {"WmfOnlyState", pictures::RenderWmf, onlyState},
        {"WmfNullPenAndBrush", pictures::RenderWmf, invisible},
        {"EmfHeaderAndEnd", pictures::RenderEmf, Emf({})},
        {"EmfNullPenAndBrush", pictures::RenderEmf, Emf(nullBrush.bytes_ + EmfRect(0, 0, 10, 10))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QImage image;
        QString error;
        EXPECT_FALSE(c.render(c.data, kFit, &image, &error));
        EXPECT_TRUE(error.contains(QStringLiteral("nothing that can be drawn")))
            << error.toStdString();
    }
}

// Each kind of line shape, drawn with a 20-unit black pen between two corner marks that fix the
// extent to 1000 x 500 units (1020 x 520 with the pen).
struct Primitive {
    const char* name;
    QByteArray data;
    QPointF dark;   // units
    QPointF white;  // units
};

QPoint Pixel(const QImage& image, QPointF units) {
    const double s = image.width() / 1020.0;
    return QPoint(static_cast<int>((units.x() + 10) * s), static_cast<int>((units.y() + 10) * s));
}

QByteArray EmfShape(const QByteArray& records) {
    Le pen;
    pen.U32(38).U32(28).U32(1).U32(0).U32(20).U32(0).U32(0);      // pen 1: solid black, 20 wide
    pen.U32(37).U32(12).U32(1).U32(37).U32(12).U32(0x80000005u);  // and the null brush
    return Emf(pen.bytes_ + EmfRect(0, 0, 10, 10) + EmfRect(990, 490, 1000, 500) + records);
}

QByteArray EmfPoints(int type, std::initializer_list<int> xy, bool small = false) {
    Le rec;
    const auto n = static_cast<std::uint32_t>(xy.size() / 2);
    rec.U32(type).U32(28 + n * (small ? 4 : 8)).U32(0).U32(0).U32(0).U32(0).U32(n);
    for (int v : xy)
        small ? (void)rec.U16(v) : (void)rec.U32(static_cast<std::uint32_t>(v));
    return rec.bytes_;
}

QByteArray WmfShape(std::initializer_list<WmfRecord> records) {
    QByteArray file = Wmf({{kCreatePen, {0, 20, 0, 0, 0}},
                           {kCreateBrush, {1, 0, 0, 0}},
                           {kSelectObject, {0}},
                           {kSelectObject, {1}},
                           {kRectangle, {10, 10, 0, 0}},
                           {kRectangle, {500, 1000, 490, 990}}},
                          false);
    file.chop(6);  // reopen before the end record
    Le more;
    for (const WmfRecord& r : records)
        more.U32(static_cast<std::uint32_t>(3 + r.params.size())).U16(r.function).Words(r.params);
    more.U32(3).U16(0);
    file += more.bytes_;
    Le maxRecord;
    maxRecord.U32(64);
    file.replace(12, 4, maxRecord.bytes_);
    return file;
}

TEST(VectorPictures, MetafileLineShapesAreDrawnWhereTheyLie) {
    Le path;
    path.U32(59).U32(8).U32(27).U32(16).U32(100).U32(250).U32(54).U32(16).U32(900).U32(250);
    path.U32(60).U32(8).U32(64).U32(24).U32(0).U32(0).U32(0).U32(0);
    Le line;
    line.U32(27).U32(16).U32(100).U32(250).U32(54).U32(16).U32(900).U32(250);
    Le ellipse;
    ellipse.U32(42).U32(24).U32(300).U32(100).U32(700).U32(400);
    Le arc;  // counter-clockwise from the right end to the left end: the upper half
    arc.U32(45).U32(40).U32(300).U32(100).U32(700).U32(400).U32(700).U32(250).U32(300).U32(250);
    const Primitive emf[] = {
        {"EmfLineTo", EmfShape(line.bytes_), {500, 250}, {500, 200}},
        {"EmfPolyline",
         EmfShape(EmfPoints(4, {100, 100, 900, 100, 900, 400})),
         {900, 300},
         {500, 250}},
        {"EmfPolyline16",
         EmfShape(EmfPoints(87, {100, 100, 900, 100, 900, 400}, true)),
         {500, 100},
         {500, 250}},
        {"EmfPolygonClosed",
         EmfShape(EmfPoints(3, {100, 100, 900, 100, 900, 400})),
         {500, 250},
         {300, 150}},
        {"EmfEllipse", EmfShape(ellipse.bytes_), {500, 100}, {500, 250}},
        {"EmfArcUpperHalf", EmfShape(arc.bytes_), {500, 100}, {500, 400}},
        {"EmfBezier",
         EmfShape(EmfPoints(2, {100, 400, 100, 100, 900, 100, 900, 400})),
         {500, 175},
         {500, 100}},
        {"EmfStrokedPath", EmfShape(path.bytes_), {500, 250}, {500, 200}},
        {"WmfLineTo",
         WmfShape({{0x0214, {250, 100}}, {0x0213, {250, 900}}}),
         {500, 250},
         {500, 200}},
        {"WmfPolyline",
         WmfShape({{kPolyline, {3, 100, 100, 900, 100, 900, 400}}}),
         {900, 300},
         {500, 250}},
        {"WmfEllipse", WmfShape({{0x0418, {400, 700, 100, 300}}}), {500, 100}, {500, 250}},
        {"WmfArcUpperHalf",
         WmfShape({{0x0817, {250, 300, 250, 700, 400, 700, 100, 300}}}),
         {500, 100},
         {500, 400}},
    };
    for (const Primitive& p : emf) {
        SCOPED_TRACE(p.name);
        QImage image;
        QString error;
        ASSERT_TRUE((p.name[0] == 'E' ? pictures::RenderEmf : pictures::RenderWmf)(p.data, kFit,
                                                                                   &image, &error))
            << error.toStdString();
        EXPECT_EQ(image.width(), 300);
        EXPECT_NEAR(image.height(), 153, 1);
        const QPoint dark = Pixel(image, p.dark);
        const QPoint white = Pixel(image, p.white);
        EXPECT_LT(qGray(image.pixel(dark)), 100) << dark.x() << "," << dark.y();
        EXPECT_GT(qGray(image.pixel(white)), 240) << white.x() << "," << white.y();
    }
}

// Sizes and counts a hostile file declares are never trusted.
TEST(VectorPictures, MetafileDeclaredSizesAreCheckedAgainstTheData) {
    // libwmf sizes its record buffer from the header's maximum record size.
    QImage image;
    QString error;
    ASSERT_TRUE(pictures::RenderWmf(TestWmf(true, 0x7FFFFFFF), kFit, &image, &error))
        << error.toStdString();
    ExpectTestPicture(image);
    ASSERT_TRUE(pictures::RenderWmf(TestWmf(false), kFit, &image, &error)) << error.toStdString();
    EXPECT_EQ(image.size(), kFitted);

    Le tooManyPoints;  // polyline claiming 1000 points with 2 present
    tooManyPoints.U32(4).U32(44).U32(0).U32(0).U32(10).U32(10).U32(1000).U32(0).U32(0).U32(10).U32(
        10);
    Le manyPoints;  // a 16-bit polyline of 2.5 million points: 10 MB of file, far more as shapes
    const std::uint32_t n = 2'500'000;
    manyPoints.U32(87).U32(28 + 4 * n).U32(0).U32(0).U32(0).U32(0).U32(n);
    manyPoints.bytes_.reserve(manyPoints.bytes_.size() + 4 * n);
    for (std::uint32_t i = 0; i < n; ++i)
        manyPoints.U16(static_cast<int>(i % 1000)).U16(static_cast<int>(i % 7));
    Le blackPen;
    blackPen.U32(37).U32(12).U32(0x80000007u);
    Le hugeRecord;
    hugeRecord.U32(43).U32(0x7FFFFFF0u).U32(0).U32(0).U32(10).U32(10);
    const struct {
        const char* name;
        Render render;
        QByteArray data;
    } cases[] = {
        {"WmfPolygonCountBeyondRecord", pictures::RenderWmf,
         Wmf({{kPolygon, {200, 0, 0, 10, 10}}}, true)},
        {"EmfPointCountBeyondRecord", pictures::RenderEmf, Emf(tooManyPoints.bytes_)},
        {"EmfRecordSizeBeyondData", pictures::RenderEmf, Emf(hugeRecord.bytes_)},
        {"EmfTooManyPoints", pictures::RenderEmf,
         Emf(EmfBlackFillNoPen() + EmfRect(0, 0, 10, 10) + blackPen.bytes_ + manyPoints.bytes_)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString why;
        EXPECT_FALSE(c.render(c.data, kFit, &image, &why));
        EXPECT_FALSE(why.isEmpty());
    }
}

}  // namespace
}  // namespace murvex::test
