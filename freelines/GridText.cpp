// The free line tab as plain text: tab-separated rows and JSON, for the command line.
#include "GridText.h"

#include <vector>

#include "Text.h"

namespace murvex::freelines {

namespace {

constexpr char kHex[] = "0123456789abcdef";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string TabEscaped(std::string_view text, bool atRowStart) {
    std::string out;
    out.reserve(text.size());
    if (atRowStart && !text.empty() && text[0] == '#') out += '\\';
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                if (IsTerminalControl(static_cast<unsigned char>(c))) {
                    out += "\\x";
                    out += kHex[static_cast<unsigned char>(c) >> 4];
                    out += kHex[static_cast<unsigned char>(c) & 0xf];
                } else {
                    out += c;
                }
        }
    }
    return out;
}

namespace {

std::optional<std::string> Unescaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return std::nullopt;
        switch (text[i]) {
            case '\\':
                out += '\\';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case 'n':
                out += '\n';
                break;
            case '#':
                out += '#';
                break;
            case 'x': {
                if (i + 2 >= text.size()) return std::nullopt;
                const int high = HexValue(text[i + 1]);
                const int low = HexValue(text[i + 2]);
                if (high < 0 || low < 0) return std::nullopt;
                out += static_cast<char>(high * 16 + low);
                i += 2;
                break;
            }
            default:
                return std::nullopt;
        }
    }
    return out;
}

}  // namespace

namespace {

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> cells;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            cells.push_back(line.substr(start));
            return cells;
        }
        cells.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
}

}  // namespace

std::string FormatTabText(const TextGrid& grid, const PatternHeader& texts) {
    std::string out;
    out += "#units\t" + TabEscaped(texts.units, false) + "\n";
    out += "#type\t" + TabEscaped(texts.type, false) + "\n";
    out += "#name\t" + TabEscaped(texts.name, false) + "\n";
    if (!texts.description.empty())
        out += "#description\t" + TabEscaped(texts.description, false) + "\n";
    for (int r = 1; r < grid.RowCount(); ++r) {
        for (int c = kFirstDataCol; c <= LastDataCol(grid); ++c) {
            if (c > kFirstDataCol) out += '\t';
            out += TabEscaped(grid.Cell(c, r), c == kFirstDataCol);
        }
        out += '\n';
    }
    return out;
}

std::string FormatJson(const TextGrid& grid, const PatternHeader& texts, bool multiplePatterns) {
    std::string out = "{\n";
    out += "  \"units\": " + JsonString(texts.units) + ",\n";
    out += "  \"type\": " + JsonString(texts.type) + ",\n";
    out += "  \"name\": " + JsonString(texts.name) + ",\n";
    out += "  \"description\": " + JsonString(texts.description) + ",\n";
    out += std::string("  \"multiplePatterns\": ") + (multiplePatterns ? "true" : "false") + ",\n";
    out += "  \"rows\": [";
    for (int r = 1; r < grid.RowCount(); ++r) {
        out += r > 1 ? ",\n    [" : "\n    [";
        for (int c = kFirstDataCol; c <= LastDataCol(grid); ++c) {
            if (c > kFirstDataCol) out += ", ";
            out += JsonString(grid.Cell(c, r));
        }
        out += ']';
    }
    out += "\n  ]\n}\n";
    return out;
}

TabTextReading ParseTabText(std::string_view text, PatternHeader& texts) {
    TabTextReading reading;
    TextGrid& grid = reading.grid;
    bool firstRow = true;
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        const auto fail = [&](const std::string& why) {
            reading.ok = false;
            reading.error = "line " + IntText(lineNumber) + ": " + why;
            return reading;
        };
        if (!line.empty() && line[0] == '#') {
            const std::size_t tab = line.find('\t');
            const std::string_view key = line.substr(0, tab);
            std::string* target = key == "#units"         ? &texts.units
                                  : key == "#type"        ? &texts.type
                                  : key == "#name"        ? &texts.name
                                  : key == "#description" ? &texts.description
                                                          : nullptr;
            if (!target) continue;  // a comment
            if (tab == std::string_view::npos) return fail("a tab must follow " + std::string(key));
            const auto value = Unescaped(line.substr(tab + 1));
            if (!value) return fail("a backslash must be followed by \\, t, r, n or #");
            *target = *value;
            continue;
        }
        const std::vector<std::string_view> cells = SplitTabs(line);
        if (cells.size() > static_cast<std::size_t>(kMaxLineFields))
            return fail("more than " + IntText(kMaxLineFields) + " cells");
        if (!firstRow) {
            grid.SetCurrent(kFirstDataCol, grid.RowCount() - 1);
            InsertRowAtCurrent(grid);
        }
        firstRow = false;
        const int row = grid.RowCount() - 1;
        GrowDashColumns(grid, static_cast<int>(cells.size()));
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const auto value = Unescaped(cells[i]);
            if (!value) return fail("a backslash must be followed by \\, t, r, n or #");
            grid.SetCell(kFirstDataCol + static_cast<int>(i), row, *value);
        }
    }
    FitDashColumns(grid);
    grid.SetCurrent(kFirstDataCol, 1);
    return reading;
}

}  // namespace murvex::freelines
