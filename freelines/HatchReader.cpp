// Reads the first pattern of a pattern file into the free line grid and the tab's three texts.
#include "HatchReader.h"

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

LineKind ClassifyLine(std::string_view line, bool patternSeen) {
    line = Limited(line);
    FreeLineTexts scratch;
    if (!patternSeen) {
        if (ReadUnitsLine(line, scratch)) return LineKind::Units;
        if (ReadNameLine(line, patternSeen, scratch)) return LineKind::Name;
        if (ReadTypeLine(line, scratch)) return LineKind::Type;
        if (ReadVersionLine(line)) return LineKind::Version;
    }
    if (IsCommentLine(line)) return LineKind::Comment;
    if (!line.empty() && line[0] != ';' && line[0] != '*') return LineKind::Pattern;
    if (patternSeen && IsNameLine(line)) return LineKind::SecondPattern;
    return LineKind::Ignored;
}

void ForEachLine(std::string_view text, const std::function<bool(std::string_view)>& visit) {
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            visit(text.substr(start));
            return;
        }
        if (!visit(text.substr(start, end - start))) return;
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
}

std::size_t CountPatternRows(std::string_view text, std::size_t limit) {
    std::size_t rows = 0;
    ForEachLine(text, [&](std::string_view line) {
        switch (ClassifyLine(line, rows > 0)) {
            case LineKind::Pattern:
                return ++rows <= limit;
            case LineKind::SecondPattern:
                return false;
            case LineKind::Units:
            case LineKind::Name:
            case LineKind::Type:
            case LineKind::Version:
            case LineKind::Comment:
            case LineKind::Ignored:
                return true;
        }
        return true;
    });
    return rows;
}

namespace {

// One read: the grid already reduced to one data row, lines offered one by one.
class Reader {
  public:
    Reader(TextGrid& grid, FreeLineTexts& texts, const std::function<void()>& onSecondPattern)
        : grid_(grid), texts_(texts), onSecondPattern_(onSecondPattern) {
        ReduceToOneDataRow(grid_);
    }

    // False once reading stops.
    bool Offer(std::string_view whole) {
        const std::string_view line = Limited(whole);
        if (!patternSeen_ &&
            (ReadUnitsLine(line, texts_) || ReadNameLine(line, patternSeen_, texts_) ||
             ReadTypeLine(line, texts_) || ReadVersionLine(line))) {
            return true;
        }
        if (IsCommentLine(line)) return true;
        if (ReadPatternLine(line, grid_)) {
            patternSeen_ = true;
            ++result_.patternLines;
            grid_.SetCurrent(kFirstDataCol, grid_.RowCount() - 1);
            VrijLijnPlusClick(grid_);
            return true;
        }
        if (patternSeen_ && IsNameLine(line)) {
            result_.multiplePatterns = true;
            if (onSecondPattern_) onSecondPattern_();
            return false;
        }
        return true;
    }

    ReadResult Finish() {
        grid_.SetCurrent(kFirstDataCol, grid_.RowCount() - 1);
        VrijLijnMinClick(grid_);
        return result_;
    }

  private:
    TextGrid& grid_;
    FreeLineTexts& texts_;
    const std::function<void()>& onSecondPattern_;
    bool patternSeen_ = false;
    ReadResult result_;
};

}  // namespace

ReadResult ReadHatchLines(const LineList& lines, TextGrid& grid, FreeLineTexts& texts,
                          const std::function<void()>& onSecondPattern) {
    Reader reader(grid, texts, onSecondPattern);
    for (const std::string& line : lines) {
        if (!reader.Offer(line)) break;
    }
    return reader.Finish();
}

ReadResult ReadHatchText(std::string_view text, TextGrid& grid, FreeLineTexts& texts,
                         const std::function<void()>& onSecondPattern) {
    Reader reader(grid, texts, onSecondPattern);
    ForEachLine(text, [&](std::string_view line) { return reader.Offer(line); });
    return reader.Finish();
}

FileReadStatus ReadHatchBytes(std::string_view bytes, TextGrid& grid, FreeLineTexts& texts,
                              ReadResult& result, const std::function<void()>& onSecondPattern) {
    if (bytes.size() > kMaxFileBytes) return FileReadStatus::TooLarge;
    if (CountPatternRows(bytes, kMaxPatternRows) > kMaxPatternRows) {
        return FileReadStatus::TooManyRows;
    }
    result = ReadHatchText(bytes, grid, texts, onSecondPattern);
    return FileReadStatus::Ok;
}

FileReadStatus ReadHatchFile(const std::string& path, TextGrid& grid, FreeLineTexts& texts,
                             ReadResult& result, const std::function<void()>& onSecondPattern) {
    const ReadFileResult file = ReadFileLimited(path, kMaxFileBytes);
    if (file.status == ReadFileStatus::TooLarge) return FileReadStatus::TooLarge;
    if (file.status != ReadFileStatus::Ok) return FileReadStatus::CannotRead;
    return ReadHatchBytes(file.bytes, grid, texts, result, onSecondPattern);
}

void OpenHatchActionExecute(Platform& platform, FileDialog& openDialog, TextGrid& grid,
                            FreeLineTexts& texts, WindowHandle appWindow) {
    if (!platform.RunFileDialog(openDialog, appWindow)) return;
    try {
        ReadResult result;
        const FileReadStatus status = ReadHatchFile(openDialog.fileName, grid, texts, result, [&] {
            ShowError(platform, kMultipleText, kMultipleTitle, appWindow);
        });
        if (status != FileReadStatus::Ok) {
            ShowError(platform, kReadErrorText, kReadErrorTitle, appWindow);
        }
    } catch (const std::exception&) {
        // Running out of memory half way: the grid keeps what the read had reached.
        ShowError(platform, kReadErrorText, kReadErrorTitle, appWindow);
    }
}

}  // namespace murvex::freelines
