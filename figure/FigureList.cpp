// The figure list file: the tile size, the pattern header and the grid's rows, written and read.
#include "FigureList.h"

#include <cstddef>
#include <filesystem>
#include <optional>

#include "FigureEditing.h"
#include "Msg.h"
#include "NumberText.h"
#include "SaveHatch.h"
#include "Text.h"
#include "Utf8Path.h"

namespace murvex::figure {

namespace {

// The line is longer than the key and begins with it, in any case.
bool HasKey(std::string_view line, std::string_view key) {
    if (line.size() <= key.size()) return false;
    return StartsWithNoCase(line, key);
}

bool IsNameLine(std::string_view line) {
    return ParseHeaderLine(line).field == HeaderField::Name;
}
bool IsCommentLine(std::string_view line) {
    return line.size() >= 2 && line.substr(0, 2) == ";;";
}
bool IsSegmentLine(std::string_view line) {
    return !line.empty() && line[0] != ';' && line[0] != '*';
}

// Characters with codes of 32 or less count as blanks at either end.
std::string_view Trimmed(std::string_view text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The text up to the next comma (all of it without one), trimmed; rest moves past that comma.
std::string_view NextField(std::string_view& rest) {
    const std::size_t comma = rest.find(',');
    const std::string_view field = rest.substr(0, comma);
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    return Trimmed(field);
}

// Width and height of a size line, rounded; BadWidth or BadHeight when one does not parse.
struct SizeValues {
    ListReadStatus status = ListReadStatus::Ok;
    std::int64_t width = 0;
    std::int64_t height = 0;
};

SizeValues ReadSizeValues(std::string_view line) {
    const std::string upper = AsciiUpper(line.substr(7));
    std::string_view rest = upper;
    SizeValues v;
    const ParseResult w = ParseDecimal(NextField(rest));
    if (!w.ok) return {ListReadStatus::BadWidth};
    const ParseResult h = ParseDecimal(NextField(rest));
    if (!h.ok) return {ListReadStatus::BadHeight};
    v.width = RoundToInt(w.value);
    v.height = RoundToInt(h.value);
    return v;
}

void ReadSegmentLine(std::string_view line, TextGrid& grid) {
    const int row = grid.RowCount() - 1;
    std::string_view rest = line;
    for (int c = kFirstCoordCol; c <= kLastCoordCol; ++c)
        grid.SetCell(c, row, std::string(NextField(rest)));
}

void SelectLastRow(TextGrid& grid) {
    grid.SetCurrent(grid.CurrentCol(), grid.RowCount() - 1);
}

// Grid rows a reading of the lines fills, counting no further than limit + 1.
template <typename Lines>
std::size_t CountSegmentLines(const Lines& lines, std::size_t limit) {
    std::size_t count = 0;
    for (const std::string_view line : lines) {
        if (count > 0 && IsNameLine(line)) break;
        if (IsSegmentLine(line) && ++count > limit) break;
    }
    return count;
}

}  // namespace

LineList FigureListLines(const FigureModel& model, const PatternHeader& header) {
    const TextGrid& grid = model.grid;
    LineList lines;
    lines.reserve(static_cast<std::size_t>(grid.RowCount()) + 3);
    lines.push_back(";%SIZE=" + IntText(model.TileWidth()) + "," + IntText(model.TileHeight()));
    AppendHeaderLines(lines, header, HeaderLayout::FigureList);
    for (int r = 1; r < grid.RowCount(); ++r) {
        std::string line = grid.Cell(kFirstCoordCol, r);
        for (int c = kFirstCoordCol + 1; c <= kLastCoordCol; ++c) {
            line += ',';
            line += grid.Cell(c, r);
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

WriteStatus WriteFigureList(const std::string& path, const FigureModel& model,
                            const PatternHeader& header) {
    return WriteFileAtomic(path, JoinCrLf(FigureListLines(model, header)));
}

ListReadMessage MessageFor(ListReadStatus status, const std::string& path) {
    switch (status) {
        case ListReadStatus::Ok:
            return {};
        case ListReadStatus::BadWidth:
            return {kBadXSizeText, "", true};
        case ListReadStatus::BadHeight:
            return {kBadYSizeText, "", true};
        case ListReadStatus::InvalidSize:
            return {kInvalidValueText, kInvalidValueTitle, false};
        case ListReadStatus::CannotRead:
            return {"Cannot open file \"" + path + "\"", "", true};
        case ListReadStatus::TooLarge:
            return {"Cannot open file \"" + path + "\": more than 64 MiB or " +
                        IntText(static_cast<long long>(kMaxListRows)) + " segments",
                    "", true};
    }
    return {};
}

namespace {

// Lines is a LineList or the TextLines of a file's bytes: no copy of the file per line.
template <typename Lines>
ListReadResult ReadLines(const Lines& lines, FigureModel& model, Canvas& canvas,
                         PatternHeader& header, const std::function<void()>& onSecondFigure) {
    ListReadResult result;
    TextGrid& grid = model.grid;
    bool segmentsSeen = false;
    for (const std::string_view line : lines) {
        if (!segmentsSeen) {
            if (HasKey(line, ";%SIZE=")) {
                const SizeValues size = ReadSizeValues(line);
                if (size.status != ListReadStatus::Ok) {
                    result.status = size.status;
                    return result;
                }
                if (!InitFiguur(model, canvas, size.width, size.height)) {
                    result.status = ListReadStatus::InvalidSize;
                    return result;
                }
                result.tileSet = true;
                continue;
            }
            // "*NAME, description" as the free line tab reads it: the tab shows both.
            if (ReadHeaderLine(line, header, /*splitDescription=*/true)) continue;
        }
        if (IsCommentLine(line)) continue;
        if (IsSegmentLine(line)) {
            ReadSegmentLine(line, grid);
            segmentsSeen = true;
            ++result.segmentLines;
            SelectLastRow(grid);
            AddSegmentRow(grid);
            continue;
        }
        if (IsNameLine(line)) {
            result.multipleFigures = true;
            if (onSecondFigure) onSecondFigure();
            break;
        }
    }
    SelectLastRow(grid);
    DeleteFiguurRow(grid);
    RedrawFiguur(model, canvas);
    return result;
}

}  // namespace

ListReadResult ReadFigureListLines(const LineList& lines, FigureModel& model, Canvas& canvas,
                                   PatternHeader& header,
                                   const std::function<void()>& onSecondFigure) {
    return ReadLines(lines, model, canvas, header, onSecondFigure);
}

ListReadResult ReadFigureListText(std::string_view text, FigureModel& model, Canvas& canvas,
                                  PatternHeader& header,
                                  const std::function<void()>& onSecondFigure) {
    return ReadLines(TextLines(text), model, canvas, header, onSecondFigure);
}

ListReadResult ReadFigureListFile(const std::string& path, FigureModel& model, Canvas& canvas,
                                  PatternHeader& header,
                                  const std::function<void()>& onSecondFigure) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(PathFromUtf8(path), ec);
    if (ec) return {ListReadStatus::CannotRead};
    if (size > kMaxListBytes) return {ListReadStatus::TooLarge};
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) return {ListReadStatus::CannotRead};
    if (bytes->size() > kMaxListBytes) return {ListReadStatus::TooLarge};
    const TextLines lines(*bytes);
    if (CountSegmentLines(lines, kMaxListRows) > kMaxListRows) return {ListReadStatus::TooLarge};
    return ReadLines(lines, model, canvas, header, onSecondFigure);
}

FileDialog MakeSaveFigureListDialog() {
    return SaveFileDialog("Save", "Tekstbestanden", "*.txt", "txt", true);
}

FileDialog MakeOpenFigureListDialog() {
    // A tile drawn in a CAD program comes in through the same command: both are listed at once.
    FileDialog dialog = OpenFileDialog("Figuurlijsten en DXF-tekeningen", "*.txt *.dxf", "txt");
    dialog.moreFilters = "tekstbestanden (*.txt);;DXF-tekening (*.dxf)";
    return dialog;
}

bool SaveFigureList(Platform& platform, FileDialog& saveDialog, WindowHandle appWindow,
                    const FigureModel& model, const PatternHeader& header) {
    const SavePrompts prompts{
        [&](const std::string& fileName) {
            const std::string question = std::string(kOverwriteQuestion) + "\r" + fileName;
            return AskQuestion(platform, question, kOverwriteTitle, 1, appWindow);
        },
        [&] { ShowWarning(platform, kCannotDeleteText, "", appWindow); }};
    switch (SaveThroughDialog(
        platform, saveDialog, appWindow, [&] { return JoinCrLf(FigureListLines(model, header)); },
        prompts)) {
        case SaveOutcome::Written:
            return true;
        case SaveOutcome::Stopped:
            return false;
        case SaveOutcome::CannotCreate:
            ShowWarning(platform, "Cannot create file " + saveDialog.fileName, "", appWindow);
            return false;
        case SaveOutcome::CannotWrite:
            ShowWarning(platform, "Cannot write file " + saveDialog.fileName, "", appWindow);
            return false;
    }
    return false;
}

bool ChooseFigureList(Platform& platform, FileDialog& openDialog, WindowHandle appWindow,
                      bool ask) {
    if (ask && !AskQuestion(platform, kOpenQuestion, kOpenTitle, 1, appWindow)) return false;
    return platform.RunFileDialog(openDialog, appWindow);
}

ListReadResult OpenFigureListFile(Platform& platform, const std::string& path,
                                  WindowHandle appWindow, FigureModel& model, Canvas& canvas,
                                  PatternHeader& header) {
    const ListReadResult result = ReadFigureListFile(path, model, canvas, header, [&] {
        ShowError(platform, kMultipleText, kMultipleTitle, appWindow);
    });
    if (result.status != ListReadStatus::Ok) {
        const ListReadMessage m = MessageFor(result.status, path);
        if (m.warning)
            ShowWarning(platform, m.text, m.title, appWindow);
        else
            ShowError(platform, m.text, m.title, appWindow);
    }
    return result;
}

}  // namespace murvex::figure
