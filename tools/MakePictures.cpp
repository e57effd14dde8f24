// Draws the explanation pictures of the bond tab: for each bond a piece of wall made from the
// bond's own pattern lines, with the four dimensions marked and labelled, written as a
// 320 x 200 JPEG through libjpeg. Also writes the program's 32 x 32 icon.
//   make-pictures OUTPUT_FOLDER
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "BondGenerator.h"
#include "PatternFile.h"
#include "PatternGeometry.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 200;
constexpr double kScale = 0.35;  // pixels per millimetre
constexpr int kOriginX = 118;    // where the pattern's (0, 0) lies in the picture
constexpr int kOriginY = 138;

const QColor kBackground(255, 255, 255);
const QColor kMortar(214, 208, 196);
const QColor kBrick(178, 84, 58);
const QColor kEdge(96, 40, 28);
const QColor kDimension(24, 52, 128);

constexpr double kL = 210;
constexpr double kLv = 220;
constexpr double kH = 50;
constexpr double kHv = 62.5;

QPointF Pixel(double x, double y) {
    return {kOriginX + x * kScale, kOriginY - y * kScale};
}

// Fills every closed cell of the outlines: the small ones are bricks; the joints form one
// network that runs through the whole wall.
void FillBricks(QImage& image, const QRect& wall) {
    const QRgb mortar = kMortar.rgb();
    std::vector<char> seen(static_cast<std::size_t>(kWidth * kHeight), 0);
    std::vector<QPoint> stack;
    std::vector<QPoint> region;
    for (int y0 = wall.top(); y0 <= wall.bottom(); ++y0) {
        for (int x0 = wall.left(); x0 <= wall.right(); ++x0) {
            if (seen[static_cast<std::size_t>(y0 * kWidth + x0)] || image.pixel(x0, y0) != mortar) {
                continue;
            }
            region.clear();
            stack.assign(1, QPoint(x0, y0));
            seen[static_cast<std::size_t>(y0 * kWidth + x0)] = 1;
            QRect box(x0, y0, 1, 1);
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                region.push_back(p);
                box |= QRect(p, QSize(1, 1));
                const QPoint next[] = {
                    {p.x() + 1, p.y()}, {p.x() - 1, p.y()}, {p.x(), p.y() + 1}, {p.x(), p.y() - 1}};
                for (const QPoint& q : next) {
                    if (!wall.contains(q)) continue;
                    auto& mark = seen[static_cast<std::size_t>(q.y() * kWidth + q.x())];
                    if (mark || image.pixel(q) != mortar) continue;
                    mark = 1;
                    stack.push_back(q);
                }
            }
            const bool joints =
                box.width() > wall.width() * 0.8 || box.height() > wall.height() * 0.8;
            if (joints) continue;
            for (const QPoint& p : region)
                image.setPixel(p, kBrick.rgb());
        }
    }
}

void Arrow(QPainter& p, QPointF a, QPointF b) {
    p.drawLine(a, b);
    const QPointF d = (b - a) / std::hypot(b.x() - a.x(), b.y() - a.y());
    const QPointF n(-d.y(), d.x());
    for (const auto& [tip, dir] : {std::pair{a, d}, std::pair{b, -d}}) {
        QPainterPath head;
        head.moveTo(tip);
        head.lineTo(tip + dir * 5 + n * 2.5);
        head.lineTo(tip + dir * 5 - n * 2.5);
        head.closeSubpath();
        p.fillPath(head, p.pen().color());
    }
}

// The x of a stretcher in the first course where one lies there, for the length marks.
double StretcherX(const std::vector<murvex::PatternLine>& lines) {
    for (const auto& line : lines) {
        if (line.angle == 0 && line.y == 0 && !line.dashes.empty() && line.dashes[0] == kL) {
            return line.x;
        }
    }
    return 0;
}

struct Picture {
    QImage image;
    bool labelsFit = true;
};

Picture DrawBond(int bond, const QFont& font) {
    murvex::bonds::BondInput input;
    input.bondIndex = bond;
    input.length = kL;
    input.lengthJoint = kLv;
    input.height = kH;
    input.heightJoint = kHv;
    const auto lines = murvex::ParsePatternLines(murvex::bonds::GenerateBond(input));

    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(kBackground);
    const QRect wall(kOriginX, 0, kWidth - kOriginX, kOriginY + 1);
    const murvex::Box box{0, 0, (kWidth - 1 - kOriginX) / kScale, kOriginY / kScale};
    {
        QPainter p(&image);
        p.fillRect(wall, kMortar);
        p.setPen(QPen(kEdge, 0));
        for (const auto& s : murvex::DrawPattern(lines, box).segments) {
            p.drawLine(Pixel(s.x1, s.y1), Pixel(s.x2, s.y2));
        }
    }
    FillBricks(image, wall);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(font);
    p.setPen(QPen(kDimension, 1));
    const double sx = StretcherX(lines);
    const double labelGap = 6;

    // Lengths below the wall.
    const double y1 = kOriginY + 10;
    const double y2 = kOriginY + 34;
    const QPointF start = Pixel(sx, 0);
    p.setPen(QPen(kDimension, 1, Qt::DotLine));
    for (double x : {sx, sx + kL, sx + kLv}) {
        const QPointF top = Pixel(x, 0);
        p.drawLine(top + QPointF(0, 2), QPointF(top.x(), x == sx + kL ? y1 + 3 : y2 + 3));
    }
    p.setPen(QPen(kDimension, 1));
    Arrow(p, QPointF(start.x(), y1), QPointF(Pixel(sx + kL, 0).x(), y1));
    Arrow(p, QPointF(start.x(), y2), QPointF(Pixel(sx + kLv, 0).x(), y2));
    const QFontMetricsF fm(font);
    // Every label lies wholly inside the picture, 2 pixels from its edges.
    bool fits = true;
    const auto drawLabel = [&](const QString& text, double left, double yMid) {
        const double w = fm.horizontalAdvance(text);
        fits = fits && left >= 2 && left + w <= kWidth - 2;
        p.drawText(QPointF(left, yMid + fm.ascent() / 2 - 1), text);
    };
    // A length label goes right of its arrow, or left of it where the stretcher lies so far to
    // the right that the text would run off the picture.
    const auto lengthLabel = [&](const QString& text, double arrowEnd, double y) {
        const double w = fm.horizontalAdvance(text);
        const double right = arrowEnd + labelGap;
        drawLabel(text, right + w <= kWidth - 2 ? right : start.x() - labelGap - w, y);
    };
    lengthLabel(QStringLiteral("steenlengte"), Pixel(sx + kL, 0).x(), y1);
    lengthLabel(QStringLiteral("steenlengte + voeg"), Pixel(sx + kLv, 0).x(), y2);

    // Heights left of the wall: a brick of the first course, then one course with its joint.
    const double ax = kOriginX - 9;
    p.setPen(QPen(kDimension, 1, Qt::DotLine));
    for (double y : {0.0, kH, kHv, 2 * kHv}) {
        const QPointF edge = Pixel(0, y);
        p.drawLine(QPointF(ax - 3, edge.y()), QPointF(edge.x() - 2, edge.y()));
    }
    p.setPen(QPen(kDimension, 1));
    Arrow(p, QPointF(ax, Pixel(0, 0).y()), QPointF(ax, Pixel(0, kH).y()));
    Arrow(p, QPointF(ax, Pixel(0, kHv).y()), QPointF(ax, Pixel(0, 2 * kHv).y()));
    const auto leftLabel = [&](const QString& text, double yMid) {
        drawLabel(text, ax - 6 - fm.horizontalAdvance(text), yMid);
    };
    leftLabel(QStringLiteral("steenhoogte"), Pixel(0, kH / 2).y());
    leftLabel(QStringLiteral("steenhoogte + voeg"), Pixel(0, 1.5 * kHv).y());
    p.end();
    return {image, fits};
}

bool WriteJpeg(const QImage& picture, const std::string& path) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);  // a generator run by hand may stop on a libjpeg error
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 92, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(out) == 0;
}

// A small piece of half-brick wall.
QImage DrawIcon() {
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(kMortar);
    QPainter p(&icon);
    for (int row = 0; row < 4; ++row) {
        const int y = 1 + row * 8;
        const int shift = row % 2 ? -7 : 0;
        for (int x = shift; x < 32; x += 15)
            p.fillRect(QRect(x + 1, y, 13, 6), kBrick);
    }
    p.setPen(kEdge);
    p.drawRect(QRect(0, 0, 31, 31));
    return icon;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: make-pictures OUTPUT_FOLDER\n";
        return 2;
    }
    const std::string folder = argv[1];
    QFont font(QStringLiteral("DejaVu Sans"));
    const int tahoma = QFontDatabase::addApplicationFont("/usr/share/wine/fonts/tahoma.ttf");
    if (tahoma >= 0) font = QFont(QStringLiteral("Tahoma"));
    font.setPixelSize(11);

    bool ok = true;
    const auto& names = murvex::bonds::BondNames();
    for (int bond = 0; bond < 9; ++bond) {  // Wildverband has no picture
        const std::string name =
            QString::fromLatin1(
                names[static_cast<std::size_t>(bond)].data(),
                static_cast<qsizetype>(names[static_cast<std::size_t>(bond)].size()))
                .toLower()
                .toStdString();
        const std::string path = folder + "/uitleg_" + name + ".jpg";
        const Picture picture = DrawBond(bond, font);
        if (!picture.labelsFit) {
            std::cerr << "make-pictures: a label runs off the picture of " << name << "\n";
            ok = false;
        }
        if (!WriteJpeg(picture.image, path)) {
            std::cerr << "make-pictures: cannot write " << path << "\n";
            ok = false;
        }
    }
    if (!DrawIcon().save(QString::fromStdString(folder + "/murvex.png"))) ok = false;
    return ok ? 0 : 1;
}
