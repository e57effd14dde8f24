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

namespace murvex::test {
namespace {

// The test picture is 1000 x 500 units: a black square over the left half and a small black
// square in the bottom right corner, the rest white. Fitted into 300 x 300 it is 300 x 150.
const QSize kFit(300, 300);
const QSize kFitted(300, 150);

class Le {
  public:
    Le& U16(int v) {
        bytes_.append(static_cast<char>(v & 0xFF));
        bytes_.append(static_cast<char>((v >> 8) & 0xFF));
        return *this;
    }
    Le& U32(std::uint32_t v) {
        U16(static_cast<int>(v & 0xFFFF));
        return U16(static_cast<int>(v >> 16));
    }
    Le& Words(std::initializer_list<int> words) {
        for (int w : words)
            U16(w);
        return *this;
    }
    QByteArray bytes_;
};

// --- WMF: records are size in 16-bit words (u32), function (u16), parameters in reverse order.
struct WmfRecord {
    int function;
    std::initializer_list<int> params;
};

QByteArray Wmf(std::initializer_list<WmfRecord> records, bool placeable, int objects = 2,
               std::uint32_t declaredMax = 0) {
    Le body;
    std::uint32_t largest = 3;
    for (const WmfRecord& r : records) {
        const auto words = static_cast<std::uint32_t>(3 + r.params.size());
        largest = std::max(largest, words);
        body.U32(words).U16(r.function).Words(r.params);
    }
    body.U32(3).U16(0);  // end record
    Le file;
    if (placeable) {
        Le head;
        head.U32(0x9AC6CDD7u).Words({0, 0, 0, 1000, 500, 1440}).U32(0);
        int sum = 0;
        for (int i = 0; i < 10; ++i)
            sum ^= static_cast<unsigned char>(head.bytes_[2 * i]) |
                   (static_cast<unsigned char>(head.bytes_[2 * i + 1]) << 8);
        head.U16(sum);
        file.bytes_ += head.bytes_;
    }
    const auto totalWords = static_cast<std::uint32_t>(9 + body.bytes_.size() / 2);
    file.Words({1, 9, 0x0300}).U32(totalWords).U16(objects);
    file.U32(declaredMax ? declaredMax : largest).U16(0);
    file.bytes_ += body.bytes_;
    return file.bytes_;
}

constexpr int kCreatePen = 0x02FA;
constexpr int kCreateBrush = 0x02FC;
constexpr int kSelectObject = 0x012D;
constexpr int kRectangle = 0x041B;
constexpr int kSetBkMode = 0x0102;
constexpr int kPolygon = 0x0324;
constexpr int kPolyline = 0x0325;

QByteArray TestWmf(bool placeable = true, std::uint32_t declaredMax = 0) {
    return Wmf({{kCreatePen, {5, 0, 0, 0, 0}},  // object 0: null pen
                {kCreateBrush, {0, 0, 0, 0}},   // object 1: solid black brush
                {kSelectObject, {0}},
                {kSelectObject, {1}},
                {kRectangle, {500, 500, 0, 0}},  // bottom, right, top, left
                {kRectangle, {500, 1000, 450, 950}}},
               placeable, 2, declaredMax);
}

// --- EMF: records are type (u32), size in bytes (u32), fields.
QByteArray Emf(const QByteArray& records) {
    Le head;
    head.U32(1).U32(88);
    head.U32(0).U32(0).U32(999).U32(499);        // bounds
    head.U32(0).U32(0).U32(26458).U32(13229);    // frame, 0.01 mm
    head.U32(0x464D4520u).U32(0x10000);          // " EMF", version
    head.U32(0).U32(0).U16(4).U16(0);            // bytes, records (filled below), handles
    head.U32(0).U32(0).U32(0);                   // description, palette
    head.U32(1920).U32(1080).U32(508).U32(286);  // device pixels and millimetres
    Le eof;
    eof.U32(14).U32(20).U32(0).U32(16).U32(20);
    QByteArray file = head.bytes_ + records + eof.bytes_;
    Le total;
    total.U32(static_cast<std::uint32_t>(file.size()));
    file.replace(48, 4, total.bytes_);
    return file;
}

QByteArray EmfRect(int l, int t, int r, int b) {
    Le rec;
    rec.U32(43).U32(24).U32(l).U32(t).U32(r).U32(b);
    return rec.bytes_;
}

QByteArray EmfBlackFillNoPen() {
    Le rec;
    rec.U32(39).U32(24).U32(1).U32(0).U32(0x000000).U32(0);  // brush 1: solid black
    rec.U32(37).U32(12).U32(1);
    rec.U32(37).U32(12).U32(0x80000008u);  // stock NULL_PEN
    return rec.bytes_;
}

QByteArray TestEmf() {
    return Emf(EmfBlackFillNoPen() + EmfRect(0, 0, 500, 500) + EmfRect(950, 450, 1000, 500));
}

// --- SVG and PDF
QByteArray TestSvg() {
    return "<?xml version=\"1.0\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1000\" height=\"500\" "
           "viewBox=\"0 0 1000 500\">\n"
           "  <rect x=\"0\" y=\"0\" width=\"500\" height=\"500\" fill=\"black\"/>\n"
           "  <rect x=\"950\" y=\"450\" width=\"50\" height=\"50\" fill=\"black\"/>\n"
           "</svg>\n";
}

QByteArray TestPdf() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(QPageLayout(QPageSize(QSizeF(200, 100), QPageSize::Millimeter),
                                         QPageLayout::Portrait, QMarginsF()));
        QPainter painter(&writer);
        const double w = writer.width();
        const double h = writer.height();
        painter.fillRect(QRectF(0, 0, w / 2, h), Qt::black);
        painter.fillRect(QRectF(w * 0.95, h * 0.9, w * 0.05, h * 0.1), Qt::black);
    }
    return bytes;
}

using Render = bool (*)(const QByteArray&, QSize, QImage*, QString*);
using Sniff = bool (*)(const QByteArray&);

struct Format {
    const char* name;
    Render render;
    Sniff sniff;
    QByteArray (*valid)();
};

const Format kFormats[] = {
    {"Wmf", app::RenderWmf, app::LooksLikeWmf, [] { return TestWmf(); }},
    {"Emf", app::RenderEmf, app::LooksLikeEmf, TestEmf},
    {"Svg", app::RenderSvg, app::LooksLikeSvg, TestSvg},
    {"Pdf", app::RenderPdf, app::LooksLikePdf, TestPdf},
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
        {"WmfOnlyState", app::RenderWmf, onlyState},
        {"WmfNullPenAndBrush", app::RenderWmf, invisible},
        {"EmfHeaderAndEnd", app::RenderEmf, Emf({})},
        {"EmfNullPenAndBrush", app::RenderEmf, Emf(nullBrush.bytes_ + EmfRect(0, 0, 10, 10))},
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
        ASSERT_TRUE(
            (p.name[0] == 'E' ? app::RenderEmf : app::RenderWmf)(p.data, kFit, &image, &error))
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
    ASSERT_TRUE(app::RenderWmf(TestWmf(true, 0x7FFFFFFF), kFit, &image, &error))
        << error.toStdString();
    ExpectTestPicture(image);
    ASSERT_TRUE(app::RenderWmf(TestWmf(false), kFit, &image, &error)) << error.toStdString();
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
        {"WmfPolygonCountBeyondRecord", app::RenderWmf,
         Wmf({{kPolygon, {200, 0, 0, 10, 10}}}, true)},
        {"EmfPointCountBeyondRecord", app::RenderEmf, Emf(tooManyPoints.bytes_)},
        {"EmfRecordSizeBeyondData", app::RenderEmf, Emf(hugeRecord.bytes_)},
        {"EmfTooManyPoints", app::RenderEmf,
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
