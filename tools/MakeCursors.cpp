// Writes the two drawing cursors of the figure canvas as 32 x 32 XBM pictures.
//   make-cursors OUTPUT_FOLDER
#include <array>
#include <charconv>
#include <fstream>
#include <iostream>
#include <string>

namespace {

constexpr int kSize = 32;
constexpr int kHot = 16;
using Shape = std::array<std::array<bool, kSize>, kSize>;  // [y][x], true = drawn

void HLine(Shape& s, int y, int x0, int x1) {
    for (int x = x0; x <= x1; ++x)
        s[y][x] = true;
}
void VLine(Shape& s, int x, int y0, int y1) {
    for (int y = y0; y <= y1; ++y)
        s[y][x] = true;
}

// Cross-hair whose arms stop two pixels short of a 13 x 13 frame around the hot spot, with a
// small cross of 5 pixels each way inside the frame.
Shape Tekencursor() {
    Shape s{};
    constexpr int lo = kHot - 6;  // frame 10 .. 22
    constexpr int hi = kHot + 6;
    HLine(s, lo, lo, hi);
    HLine(s, hi, lo, hi);
    VLine(s, lo, lo, hi);
    VLine(s, hi, lo, hi);
    HLine(s, kHot, 0, lo - 3);
    HLine(s, kHot, hi + 3, kSize - 1);
    VLine(s, kHot, 0, lo - 3);
    VLine(s, kHot, hi + 3, kSize - 1);
    HLine(s, kHot, kHot - 2, kHot + 2);
    VLine(s, kHot, kHot - 2, kHot + 2);
    return s;
}

// Plain one-pixel cross-hair with a gap of two pixels around a single centre dot.
Shape Kruiscursor() {
    Shape s{};
    HLine(s, kHot, 0, kHot - 3);
    HLine(s, kHot, kHot + 3, kSize - 1);
    VLine(s, kHot, 0, kHot - 3);
    VLine(s, kHot, kHot + 3, kSize - 1);
    s[kHot][kHot] = true;
    return s;
}

std::string Decimal(int value) {
    char text[16];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

std::string Hex2(unsigned value) {
    static const char digits[] = "0123456789abcdef";
    return std::string("0x") + digits[(value >> 4) & 0xF] + digits[value & 0xF];
}

bool WriteXbm(const std::string& path, const std::string& name, const Shape& s) {
    std::ofstream out(path, std::ios::binary);
    out << "#define " << name << "_width " << Decimal(kSize) << "\n";
    out << "#define " << name << "_height " << Decimal(kSize) << "\n";
    out << "#define " << name << "_x_hot " << Decimal(kHot) << "\n";
    out << "#define " << name << "_y_hot " << Decimal(kHot) << "\n";
    out << "static unsigned char " << name << "_bits[] = {\n";
    int count = 0;
    for (int y = 0; y < kSize; ++y) {
        for (int byte = 0; byte < kSize / 8; ++byte) {
            unsigned value = 0;
            for (int bit = 0; bit < 8; ++bit) {
                if (s[y][byte * 8 + bit]) value |= 1u << bit;  // XBM: least significant bit first
            }
            out << (count % 12 == 0 ? "   " : " ") << Hex2(value);
            ++count;
            out << (count == kSize * kSize / 8 ? " };\n" : (count % 12 == 0 ? ",\n" : ","));
        }
    }
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make-cursors OUTPUT_FOLDER\n";
        return 2;
    }
    const std::string folder = argv[1];
    const bool ok = WriteXbm(folder + "/TEKENCURSOR.xbm", "TEKENCURSOR", Tekencursor()) &&
                    WriteXbm(folder + "/KRUISCURSOR.xbm", "KRUISCURSOR", Kruiscursor());
    if (!ok) {
        std::cerr << "make-cursors: cannot write into " << folder << "\n";
        return 1;
    }
    return 0;
}
