// Reads the first pattern of a pattern file into the free line grid and the tab's header.
#include "HatchReader.h"

#include <new>
#include <optional>
#include <string>

#include "CompatiblePattern.h"
#include "Msg.h"
#include "PatternLibrary.h"
#include "Text.h"

namespace murvex::freelines {

// A pattern taken out of a library is read here: both keep the same bounds.
static_assert(kLineLimit == kLibraryLineLimit && kMaxFileBytes == kMaxLibraryBytes);

namespace {

std::string_view Limited(std::string_view line) {
    return line.substr(0, kLineLimit);
}

// The line kinds, each on a line already cut to kLineLimit.
bool IsVersionLine(std::string_view line) {
    return line.size() >= 9 && StartsWithNoCase(line, "%VERSION=");
}
bool IsPatternLine(std::string_view line) {
    return !line.empty() && line[0] != ';' && line[0] != '*';
}

// A field as its cell shows it: a number written with more decimals than the editor's own three
// (the figure conversion writes ten) without its trailing zeros, so that "90.0000000000" reads
// "90" in a narrow column; any other text as written.
std::string CellText(std::string_view field, bool dash) {
    const std::size_t point = field.find('.');
    if (point == std::string_view::npos || field.size() - point - 1 <= 3) return std::string(field);
    return ShortNumber(field, dash);
}

// The data cells of row from the line's comma separated fields, trimmed: every field, the grid
// growing dash columns for a long dash list; the cells after the last field emptied.
void FillRow(std::string_view line, TextGrid& grid, int row) {
    std::string_view rest = line;
    int col = kFirstDataCol;
    while (true) {
        const std::size_t comma = rest.find(',');
        const std::string_view field = Trim(rest.substr(0, comma));
        // A trailing empty field needs no column of its own.
        if (!field.empty()) GrowDashColumns(grid, col);
        grid.SetCell(col, row, CellText(field, col >= kFirstDataCol + 5));
        ++col;
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    for (; col <= LastDataCol(grid); ++col)
        grid.SetCell(col, row, std::string());
}

}  // namespace

bool ReadUnitsLine(std::string_view line, PatternHeader& header) {
    line = Limited(line);
    if (ParseHeaderLine(line).field != HeaderField::Units) return false;
    ReadHeaderLine(line, header);
    return true;
}

bool ReadNameLine(std::string_view line, bool patternSeen, PatternHeader& header) {
    line = Limited(line);
    if (!IsNameLine(line)) return false;
    if (!patternSeen) ReadHeaderLine(line, header, /*splitDescription=*/true);
    return true;
}

bool ReadTypeLine(std::string_view line, PatternHeader& header) {
    line = Limited(line);
    if (ParseHeaderLine(line).field != HeaderField::Type) return false;
    ReadHeaderLine(line, header);
    return true;
}

bool ReadVersionLine(std::string_view line) {
    return IsVersionLine(Limited(line));
}

bool IsCommentLine(std::string_view line) {
    return line.size() >= 2 && line[0] == ';' && line[1] == ';';
}

bool IsNameLine(std::string_view line) {
    return ParseHeaderLine(line).field == HeaderField::Name;
}

bool ReadPatternLine(std::string_view line, TextGrid& grid) {
    line = Limited(line);
    if (!IsPatternLine(line)) return false;
    FillRow(line, grid, grid.RowCount() - 1);
    return true;
}

LineKind ClassifyLine(std::string_view line, bool patternSeen) {
    line = Limited(line);
    if (!patternSeen) {
        switch (ParseHeaderLine(line).field) {
            case HeaderField::Units:
                return LineKind::Units;
            case HeaderField::Name:
                return LineKind::Name;
            case HeaderField::Type:
                return LineKind::Type;
            case HeaderField::None:
                break;
        }
        if (IsVersionLine(line)) return LineKind::Version;
    }
    if (IsCommentLine(line)) return LineKind::Comment;
    if (IsPatternLine(line)) return LineKind::Pattern;
    if (patternSeen && IsNameLine(line)) return LineKind::SecondPattern;
    return LineKind::Ignored;
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
    Reader(TextGrid& grid, PatternHeader& header, const std::function<void()>& onSecondPattern)
        : grid_(grid), header_(header), onSecondPattern_(onSecondPattern) {
        ReduceToOneDataRow(grid_);
    }

    // False once reading stops.
    bool Offer(std::string_view whole) {
        const std::string_view line = Limited(whole);
        switch (ClassifyLine(line, patternSeen_)) {
            case LineKind::Units:
            case LineKind::Name:
            case LineKind::Type:
                ReadHeaderLine(line, header_, /*splitDescription=*/true);
                return true;
            case LineKind::Version:
            case LineKind::Comment:
            case LineKind::Ignored:
                return true;
            case LineKind::Pattern: {
                const int last = grid_.RowCount() - 1;
                FillRow(line, grid_, last);
                patternSeen_ = true;
                ++result_.patternLines;
                grid_.SetCurrent(kFirstDataCol, last);
                InsertRowAtCurrent(grid_);
                return true;
            }
            case LineKind::SecondPattern:
                result_.multiplePatterns = true;
                if (onSecondPattern_) onSecondPattern_();
                return false;
        }
        return true;
    }

    ReadResult Finish() {
        grid_.SetCurrent(kFirstDataCol, grid_.RowCount() - 1);
        DeleteCurrentRow(grid_);
        // No dash columns left over from an earlier, longer pattern.
        FitDashColumns(grid_);
        return result_;
    }

  private:
    TextGrid& grid_;
    PatternHeader& header_;
    const std::function<void()>& onSecondPattern_;
    bool patternSeen_ = false;
    ReadResult result_;
};

}  // namespace

ReadResult ReadHatchLines(const LineList& lines, TextGrid& grid, PatternHeader& header,
                          const std::function<void()>& onSecondPattern) {
    Reader reader(grid, header, onSecondPattern);
    for (const std::string& line : lines) {
        if (!reader.Offer(line)) break;
    }
    return reader.Finish();
}

ReadResult ReadHatchText(std::string_view text, TextGrid& grid, PatternHeader& header,
                         const std::function<void()>& onSecondPattern) {
    Reader reader(grid, header, onSecondPattern);
    ForEachLine(text, [&](std::string_view line) { return reader.Offer(line); });
    return reader.Finish();
}

FileReadStatus ReadHatchBytes(std::string_view bytes, TextGrid& grid, PatternHeader& header,
                              ReadResult& result, const std::function<void()>& onSecondPattern) {
    if (bytes.size() > kMaxFileBytes) return FileReadStatus::TooLarge;
    if (CountPatternRows(bytes, kMaxPatternRows) > kMaxPatternRows) {
        return FileReadStatus::TooManyRows;
    }
    result = ReadHatchText(bytes, grid, header, onSecondPattern);
    return FileReadStatus::Ok;
}

FileReadStatus ReadHatchFile(const std::string& path, TextGrid& grid, PatternHeader& header,
                             ReadResult& result, const std::function<void()>& onSecondPattern) {
    const ReadFileResult file = ReadFileLimited(path, kMaxFileBytes);
    if (file.status == ReadFileStatus::TooLarge) return FileReadStatus::TooLarge;
    if (file.status != ReadFileStatus::Ok) return FileReadStatus::CannotRead;
    return ReadHatchBytes(file.bytes, grid, header, result, onSecondPattern);
}

namespace {

template <typename Read>
bool OpenWith(Platform& platform, WindowHandle appWindow, const Read& read) {
    try {
        ReadResult result;
        const FileReadStatus status =
            read(result, [&] { ShowError(platform, kMultipleText, kMultipleTitle, appWindow); });
        if (status == FileReadStatus::Ok) return true;
        ShowError(platform, kReadErrorText, kReadErrorTitle, appWindow);
    } catch (const std::exception&) {
        // Running out of memory half way: the grid keeps what the read had reached.
        ShowError(platform, kReadErrorText, kReadErrorTitle, appWindow);
    }
    return false;
}

}  // namespace

bool OpenHatchFile(Platform& platform, const std::string& path, TextGrid& grid,
                   PatternHeader& header, WindowHandle appWindow) {
    return OpenWith(platform, appWindow,
                    [&](ReadResult& result, const std::function<void()>& onSecond) {
                        return ReadHatchFile(path, grid, header, result, onSecond);
                    });
}

bool OpenHatchBytes(Platform& platform, std::string_view bytes, TextGrid& grid,
                    PatternHeader& header, WindowHandle appWindow) {
    return OpenWith(platform, appWindow,
                    [&](ReadResult& result, const std::function<void()>& onSecond) {
                        return ReadHatchBytes(bytes, grid, header, result, onSecond);
                    });
}

}  // namespace murvex::freelines
