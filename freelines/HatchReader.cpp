// Reads the first pattern of a pattern file into the free line grid and the tab's three texts.
#include "HatchReader.h"

#include <filesystem>
#include <new>
#include <optional>
#include <string>

#include "DosEig.h"
#include "Msg.h"

namespace murvex::freelines {

namespace {

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UpperCopy(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = Upper(c);
    return out;
}

bool StartsWithNoCase(std::string_view line, std::string_view upperPrefix) {
    if (line.size() < upperPrefix.size()) return false;
    for (std::size_t i = 0; i < upperPrefix.size(); ++i) {
        if (Upper(line[i]) != upperPrefix[i]) return false;
    }
    return true;
}

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view Limited(std::string_view line) {
    return line.substr(0, kLineLimit);
}

}  // namespace

bool ReadUnitsLine(std::string_view line, FreeLineTexts& texts) {
    line = Limited(line);
    if (line.size() < 9 || !StartsWithNoCase(line, ";%UNITS=")) return false;
    const std::string value = UpperCopy(line.substr(8));
    if (value == "MM" || value == "INCH") texts.units = value;
    return true;
}

bool ReadNameLine(std::string_view line, bool patternSeen, FreeLineTexts& texts) {
    line = Limited(line);
    if (!IsNameLine(line)) return false;
    if (!patternSeen) texts.name = std::string(line.substr(1));
    return true;
}

bool ReadTypeLine(std::string_view line, FreeLineTexts& texts) {
    line = Limited(line);
    if (line.size() < 8 || !StartsWithNoCase(line, ";%TYPE=")) return false;
    const std::string value = UpperCopy(line.substr(7));
    if (value == "MODEL" || value == "DRAFTING") texts.type = value;
    return true;
}

bool ReadVersionLine(std::string_view line) {
    return Limited(line).size() >= 9 && StartsWithNoCase(line, "%VERSION=");
}

bool IsCommentLine(std::string_view line) {
    return line.size() >= 2 && line[0] == ';' && line[1] == ';';
}

bool IsNameLine(std::string_view line) {
    return line.size() >= 2 && line[0] == '*';
}

bool ReadPatternLine(std::string_view line, TextGrid& grid) {
    line = Limited(line);
    if (line.empty() || line[0] == ';' || line[0] == '*') return false;
    const int row = grid.RowCount() - 1;
    std::string_view rest = line;
    for (int col = kFirstDataCol; col <= kLastDataCol; ++col) {
        std::string_view field;
        const int p = CharPos(',', rest);
        if (p > 0) {
            field = rest.substr(0, static_cast<std::size_t>(p - 1));
            rest.remove_prefix(static_cast<std::size_t>(p));
        } else {
            field = rest;
            rest = std::string_view();
        }
        grid.SetCell(col, row, std::string(Trim(field)));
    }
    return true;
}

ReadResult ReadHatchLines(const LineList& lines, TextGrid& grid, FreeLineTexts& texts,
                          const std::function<void()>& onSecondPattern) {
    ReadResult result;
    ReduceToOneDataRow(grid);
    bool patternSeen = false;
    for (const std::string& whole : lines) {
        const std::string_view line = Limited(whole);
        if (!patternSeen && (ReadUnitsLine(line, texts) || ReadNameLine(line, patternSeen, texts) ||
                             ReadTypeLine(line, texts) || ReadVersionLine(line))) {
            continue;
        }
        if (IsCommentLine(line)) continue;
        if (ReadPatternLine(line, grid)) {
            patternSeen = true;
            ++result.patternLines;
            grid.SetCurrent(kFirstDataCol, grid.RowCount() - 1);
            VrijLijnPlusClick(grid);
            continue;
        }
        if (patternSeen && IsNameLine(line)) {
            result.multiplePatterns = true;
            if (onSecondPattern) onSecondPattern();
            break;
        }
    }
    grid.SetCurrent(kFirstDataCol, grid.RowCount() - 1);
    VrijLijnMinClick(grid);
    return result;
}

void OpenHatchActionExecute(Platform& platform, FileDialog& openDialog, TextGrid& grid,
                            FreeLineTexts& texts, WindowHandle appWindow) {
    if (!platform.RunFileDialog(openDialog, appWindow)) return;
    const std::string fileName = openDialog.fileName;
    try {
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(fileName, ec);
        std::optional<std::string> bytes;
        if (!ec && size <= kMaxFileBytes) bytes = ReadWholeFile(fileName);
        if (!bytes) {
            ShowError(platform, kReadErrorText, kReadErrorTitle, appWindow);
            return;
        }
        const LineList lines = SplitLines(*bytes);
        bytes.reset();
        ReadHatchLines(lines, grid, texts,
                       [&] { ShowError(platform, kMultipleText, kMultipleTitle, appWindow); });
    } catch (const std::exception&) {
        // Running out of memory half way: the grid keeps what the read had reached.
        ShowError(platform, kReadErrorText, kReadErrorTitle, appWindow);
    }
}

}  // namespace murvex::freelines
