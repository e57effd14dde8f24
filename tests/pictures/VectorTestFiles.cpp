// Vector picture files for tests.
#include "VectorTestFiles.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRectF>
#include <algorithm>

namespace murvex::test {

QByteArray Wmf(std::initializer_list<WmfRecord> records, bool placeable, int objects,
               std::uint32_t declaredMax) {
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

QByteArray TestWmf(bool placeable, std::uint32_t declaredMax) {
    return Wmf({{kCreatePen, {5, 0, 0, 0, 0}},  // object 0: null pen
                {kCreateBrush, {0, 0, 0, 0}},   // object 1: solid black brush
                {kSelectObject, {0}},
                {kSelectObject, {1}},
                {kRectangle, {500, 500, 0, 0}},  // bottom, right, top, left
                {kRectangle, {500, 1000, 450, 950}}},
               placeable, 2, declaredMax);
}

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

}  // namespace murvex::test
