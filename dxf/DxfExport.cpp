// A pattern as a DXF drawing. dxflib writes the drawing's frame (header, tables, blocks,
// objects) and the LINE entities; its HATCH writer only knows a fixed 45-degree line, so the
// pattern part of the HATCH is written here through the same writer.
#include "DxfExport.h"

#include <dl_dxf.h>
#include <dl_writer_ascii.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <utility>

#include "NumberText.h"
#include "PatternHeader.h"

namespace murvex {

namespace {

// dxflib writes only through a DL_WriterA, which streams straight into the named file with
// printf's numbers. This one keeps the text in memory, so that the caller writes the file in
// one safe step, and writes numbers without the locale. The file name given to the base is
// empty: it opens nothing.
class TextWriter final : public DL_WriterA {
  public:
    explicit TextWriter(std::string& out) : DL_WriterA("", DL_Codes::AC1015), out_(out) {}

    void dxfReal(int gc, double value) const override { Pair(gc, RealText(value)); }
    void dxfInt(int gc, int value) const override {
        char buffer[16];
        const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
        Pair(gc, std::string_view(buffer, static_cast<std::size_t>(r.ptr - buffer)));
    }
    void dxfHex(int gc, int value) const override {
        char buffer[16];
        const auto r =
            std::to_chars(buffer, buffer + sizeof buffer, static_cast<unsigned>(value), 16);
        std::string text(buffer, r.ptr);
        for (char& c : text)
            c = AsciiUpper(c);
        Pair(gc, text);
    }
    void dxfString(int gc, const char* value) const override { Pair(gc, value); }
    void dxfString(int gc, const std::string& value) const override { Pair(gc, value); }

  private:
    // The group code right-aligned in three columns on its own line, the value on the next.
    void Pair(int gc, std::string_view value) const {
        char code[16];
        const auto r = std::to_chars(code, code + sizeof code, gc);
        const std::size_t digits = static_cast<std::size_t>(r.ptr - code);
        if (digits < 3) out_.append(3 - digits, ' ');
        out_.append(code, digits);
        out_ += "\r\n";
        out_ += value;
        out_ += "\r\n";
    }

    // The shortest text that reads back to the same double, never in exponent form, always
    // with a point.
    static std::string RealText(double value) {
        if (value == 0) value = 0;  // no "-0"
        char buffer[400];
        const auto r =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
        std::string text(buffer, r.ptr);
        if (text.find('.') == std::string::npos) text += ".0";
        return text;
    }

    std::string& out_;
};

// A HATCH pattern line as DXF stores it: the base point as in the pattern file, the offset from
// one line to the next in drawing axes (the file gives it along and across the line).
struct HatchLine {
    double angle = 0;
    double baseX = 0;
    double baseY = 0;
    double offsetX = 0;
    double offsetY = 0;
    const std::vector<double>* dashes = nullptr;
};

HatchLine HatchLineOf(const PatternLine& line) {
    const CosSin d = CosSinDegrees(line.angle);
    return {line.angle,
            line.x,
            line.y,
            line.shiftX * d.c - line.shiftY * d.s,
            line.shiftX * d.s + line.shiftY * d.c,
            &line.dashes};
}

bool Finite(const HatchLine& h) {
    return std::isfinite(h.angle) && std::isfinite(h.baseX) && std::isfinite(h.baseY) &&
           std::isfinite(h.offsetX) && std::isfinite(h.offsetY) &&
           std::all_of(h.dashes->begin(), h.dashes->end(),
                       [](double v) { return std::isfinite(v); });
}

const DL_Attributes kHatchAttributes(kDxfHatchLayer, 256, -1, "BYLAYER", 1.0);
const DL_Attributes kLinesAttributes(kDxfLinesLayer, 256, -1, "BYLAYER", 1.0);

void WriteFrameStart(DL_Dxf& dxf, TextWriter& dw, const DxfPattern& pattern, const Box& box,
                     bool withLinesLayer) {
    dxf.writeHeader(dw);
    // Drawing units after the pattern file's units line; without one, millimetres as the
    // pattern tabs assume.
    const bool inch = pattern.units == "INCH";
    dw.dxfString(9, "$INSUNITS");
    dw.dxfInt(70, inch ? 1 : 4);
    dw.dxfString(9, "$MEASUREMENT");
    dw.dxfInt(70, inch ? 0 : 1);
    dw.dxfString(9, "$EXTMIN");
    dw.coord(10, box.x0, box.y0, 0);
    dw.dxfString(9, "$EXTMAX");
    dw.coord(10, box.x1, box.y1, 0);
    dw.sectionEnd();

    dw.sectionTables();
    dxf.writeVPort(dw);
    dw.tableLinetypes(3);
    dxf.writeLinetype(dw, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
    dxf.writeLinetype(dw, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
    dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
    dw.tableEnd();
    dw.tableLayers(withLinesLayer ? 3 : 2);
    dxf.writeLayer(dw, DL_LayerData("0", 0), DL_Attributes("", 7, -3, "CONTINUOUS", 1.0));
    dxf.writeLayer(dw, DL_LayerData(kDxfHatchLayer, 0),
                   DL_Attributes("", 7, -3, "CONTINUOUS", 1.0));
    if (withLinesLayer) {
        // Red, so that the lines stand apart from the hatch they lie on.
        dxf.writeLayer(dw, DL_LayerData(kDxfLinesLayer, 0),
                       DL_Attributes("", 1, -3, "CONTINUOUS", 1.0));
    }
    dw.tableEnd();
    dw.tableStyle(1);
    dxf.writeStyle(dw, DL_StyleData("Standard", 0, 0.0, 1.0, 0.0, 0, 2.5, "txt", ""));
    dw.tableEnd();
    dxf.writeView(dw);
    dxf.writeUcs(dw);
    dw.tableAppid(1);
    dxf.writeAppid(dw, "ACAD");
    dw.tableEnd();
    dxf.writeDimStyle(dw, 2.5, 1.25, 0.625, 0.625, 2.5);
    dxf.writeBlockRecord(dw);
    dw.tableEnd();
    dw.sectionEnd();

    dw.sectionBlocks();
    for (const char* name : {"*Model_Space", "*Paper_Space", "*Paper_Space0"}) {
        dxf.writeBlock(dw, DL_BlockData(name, 0, 0.0, 0.0, 0.0));
        dxf.writeEndBlock(dw, name);
    }
    dw.sectionEnd();
}

void WriteHatch(DL_Dxf& dxf, TextWriter& dw, const std::string& name, const Box& box,
                const std::vector<HatchLine>& lines) {
    const DL_HatchData data(1, false, 1.0, 0.0, name);
    dxf.writeHatch1(dw, data, kHatchAttributes);
    // One outer boundary: the box, counter-clockwise.
    const DL_HatchLoopData loop(4);
    dxf.writeHatchLoop1(dw, loop);
    const double xs[5] = {box.x0, box.x1, box.x1, box.x0, box.x0};
    const double ys[5] = {box.y0, box.y0, box.y1, box.y1, box.y0};
    for (int i = 0; i < 4; ++i)
        dxf.writeHatchEdge(dw, DL_HatchEdgeData(xs[i], ys[i], xs[i + 1], ys[i + 1]));
    dxf.writeHatchLoop2(dw, loop);

    dw.dxfInt(75, 0);  // hatch style: odd parity
    // A custom pattern: a pattern file's own lines, not AutoCAD's user-defined parallel lines
    // (which a CAD program rebuilds from spacing and angle alone) nor one from its own library.
    dw.dxfInt(76, 2);
    dw.dxfReal(52, 0.0);  // the lines' angles as they are
    dw.dxfReal(41, 1.0);  // and their lengths
    dw.dxfInt(77, 0);     // not doubled
    dw.dxfInt(78, static_cast<int>(lines.size()));
    for (const HatchLine& h : lines) {
        dw.dxfReal(53, h.angle);
        dw.dxfReal(43, h.baseX);
        dw.dxfReal(44, h.baseY);
        dw.dxfReal(45, h.offsetX);
        dw.dxfReal(46, h.offsetY);
        dw.dxfInt(79, static_cast<int>(h.dashes->size()));
        for (const double dash : *h.dashes)
            dw.dxfReal(49, dash);
    }
    dw.dxfInt(98, 1);  // one seed point: the box's centre
    dw.dxfReal(10, box.x0 / 2 + box.x1 / 2);
    dw.dxfReal(20, box.y0 / 2 + box.y1 / 2);
}

}  // namespace

namespace {

// The first pattern of the lines, taken one at a time (a file's lines are never copied).
template <class Lines>
DxfPattern FirstPattern(const Lines& fileLines) {
    DxfPattern out;
    bool seen = false;
    for (const std::string_view l : fileLines) {
        if (auto p = ParsePatternLine(l)) {
            out.lines.push_back(std::move(*p));
            seen = true;
            continue;
        }
        const HeaderLine header = ParseHeaderLine(Trim(l));
        if (header.field == HeaderField::Name) {
            if (seen) break;  // a second pattern
            out.name = std::string(header.value);
        } else if (header.field == HeaderField::Units && !seen) {
            const std::string units = AsciiUpper(header.value);
            if (units == "MM" || units == "INCH") out.units = units;
        }
    }
    return out;
}

}  // namespace

namespace {

// dxflib writes the objects without their owners; readers that check them (ezdxf's audit) have
// to repair each. The owner of an object is the dictionary that names it (group 350 or 360), of
// the root dictionary none ("0"); it goes right after the object's handle.
std::string WithObjectOwners(const std::string& bytes) {
    const std::string_view text(bytes);
    const std::size_t start = text.find("\r\nOBJECTS\r\n");
    if (start == std::string_view::npos) return bytes;
    std::size_t end = text.find("\r\n  0\r\nENDSEC\r\n", start);
    if (end == std::string_view::npos) return bytes;
    end += 2;  // the groups end before the ENDSEC record
    std::vector<std::pair<std::string_view, std::string_view>> groups;  // (code, value), trimmed
    for (std::size_t at = start + 11; at < end;) {
        const std::size_t codeEnd = text.find("\r\n", at);
        const std::size_t valueEnd = text.find("\r\n", codeEnd + 2);
        if (valueEnd == std::string_view::npos || valueEnd > end) return bytes;
        groups.push_back({Trim(text.substr(at, codeEnd - at)),
                          text.substr(codeEnd + 2, valueEnd - codeEnd - 2)});
        at = valueEnd + 2;
    }
    std::map<std::string_view, std::string_view> owner;
    std::string_view handle, root;
    for (const auto& [code, value] : groups) {
        if (code == "0") handle = {};
        if (code == "5") handle = value;
        if (code == "5" && root.empty()) root = value;
        if ((code == "350" || code == "360") && !handle.empty()) owner.emplace(value, handle);
    }
    std::string out(text.substr(0, start + 11));
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const auto& [code, value] = groups[i];
        out += std::string(3 - std::min<std::size_t>(3, code.size()), ' ');
        out += code;
        out += "\r\n";
        out += value;
        out += "\r\n";
        if (code != "5") continue;
        if (i + 1 < groups.size() && groups[i + 1].first == "330") continue;
        const auto found = owner.find(value);
        out += "330\r\n";
        out += found != owner.end() ? found->second : value == root ? "0" : root;
        out += "\r\n";
    }
    out += text.substr(end);
    return out;
}

}  // namespace

DxfPattern DxfPatternOf(const LineList& fileLines) {
    return FirstPattern(fileLines);
}

DxfPattern DxfPatternOf(std::string_view fileText) {
    return FirstPattern(TextLines(fileText));
}

std::string DxfPatternName(std::string_view name) {
    // The pattern's name is what comes before the description.
    name = Trim(name.substr(0, name.find(',')));
    std::string out;
    for (const char c : name.substr(0, kMaxDxfNameLength)) {
        const bool forbidden = static_cast<unsigned char>(c) < 0x20 || c == 0x7f ||
                               std::string_view("<>/\\\":;?*|=`").find(c) != std::string_view::npos;
        out += forbidden ? '_' : c;
    }
    return out.empty() ? "MURVEX" : out;
}

std::string DxfStatusText(DxfStatus status) {
    switch (status) {
        case DxfStatus::Ok:
            return {};
        case DxfStatus::EmptyBox:
            return "the box must have a width and a height";
        case DxfStatus::NoPatternLine:
            return "the file holds no pattern line";
        case DxfStatus::TooManyLines:
            return "a DXF hatch holds at most 32767 pattern lines";
        case DxfStatus::TooManyDashes:
            return "a DXF hatch holds at most 32767 dashes per pattern line";
        case DxfStatus::NotFinite:
            return "the pattern's numbers are too large for a DXF hatch";
    }
    return {};
}

DxfResult PatternDxf(const DxfPattern& pattern, const DxfOptions& options) {
    DxfResult result;
    Box box = options.box;
    if (box.x0 > box.x1) std::swap(box.x0, box.x1);
    if (box.y0 > box.y1) std::swap(box.y0, box.y1);
    const bool finiteBox = std::isfinite(box.x0) && std::isfinite(box.y0) &&
                           std::isfinite(box.x1) && std::isfinite(box.y1);
    if (!finiteBox || !(box.x1 - box.x0 > 0) || !(box.y1 - box.y0 > 0)) {
        result.status = DxfStatus::EmptyBox;
        return result;
    }
    if (pattern.lines.empty()) {
        result.status = DxfStatus::NoPatternLine;
        return result;
    }
    if (pattern.lines.size() > kMaxDxfCount) {
        result.status = DxfStatus::TooManyLines;
        return result;
    }
    std::vector<HatchLine> hatchLines;
    hatchLines.reserve(pattern.lines.size());
    for (const PatternLine& line : pattern.lines) {
        if (line.dashes.size() > kMaxDxfCount) {
            result.status = DxfStatus::TooManyDashes;
            return result;
        }
        hatchLines.push_back(HatchLineOf(line));
        if (!Finite(hatchLines.back())) {
            result.status = DxfStatus::NotFinite;
            return result;
        }
    }

    DrawResult drawn;
    if (options.lines) drawn = DrawPattern(pattern.lines, box, kMaxDxfSegments);
    result.truncated = drawn.truncated;
    result.lines = drawn.segments.size();

    TextWriter dw(result.bytes);
    DL_Dxf dxf;
    WriteFrameStart(dxf, dw, pattern, box, options.lines);
    dw.sectionEntities();
    WriteHatch(dxf, dw, DxfPatternName(pattern.name), box, hatchLines);
    for (const DrawnSegment& s : drawn.segments)
        dxf.writeLine(dw, DL_LineData(s.x1, s.y1, 0.0, s.x2, s.y2, 0.0), kLinesAttributes);
    dw.sectionEnd();
    dxf.writeObjects(dw);
    dxf.writeObjectsEnd(dw);
    dw.dxfEOF();
    result.bytes = WithObjectOwners(result.bytes);
    return result;
}

}  // namespace murvex
