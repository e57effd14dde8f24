// Vector picture files for tests, written byte by byte (metafiles), as text (SVG) or with
// QPdfWriter (PDF). The test files all draw one 1000 x 500 unit picture: a black square over the
// left half and a small black square in the bottom right corner, the rest white.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <initializer_list>

namespace murvex::test {

// Little-endian words and double words, appended.
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

// A metafile of these records after a standard header (placeable: the Aldus header first);
// declaredMax 0 declares the largest record's true size.
QByteArray Wmf(std::initializer_list<WmfRecord> records, bool placeable, int objects = 2,
               std::uint32_t declaredMax = 0);

inline constexpr int kCreatePen = 0x02FA;
inline constexpr int kCreateBrush = 0x02FC;
inline constexpr int kSelectObject = 0x012D;
inline constexpr int kRectangle = 0x041B;
inline constexpr int kSetBkMode = 0x0102;
inline constexpr int kPolygon = 0x0324;
inline constexpr int kPolyline = 0x0325;

QByteArray TestWmf(bool placeable = true, std::uint32_t declaredMax = 0);

// An enhanced metafile: its header, the records, the end-of-file record.
QByteArray Emf(const QByteArray& records);
QByteArray EmfRect(int l, int t, int r, int b);
QByteArray EmfBlackFillNoPen();
QByteArray TestEmf();

QByteArray TestSvg();
QByteArray TestPdf();

}  // namespace murvex::test
