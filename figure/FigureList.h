// The figure list file: the tile size, the pattern header and the grid's rows, written and read.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "Canvas.h"
#include "FigureModel.h"
#include "PatternFile.h"
#include "PatternHeader.h"
#include "Platform.h"

namespace murvex::figure {

inline constexpr const char* kBadXSizeText = "Onjuiste X-SIZE in bestand";
inline constexpr const char* kBadYSizeText = "Onjuiste Y-SIZE in bestand";
inline constexpr const char* kMultipleText =
    "Dit bestand bevat meerdere arceringen, alleen de eerste wordt gelezen de rest gaat verloren!";
inline constexpr const char* kMultipleTitle = "Pas op!";
inline constexpr const char* kOverwriteQuestion = "Bestand bestaat al. Overschrijven?";
inline constexpr const char* kOverwriteTitle = "Vraag";
inline constexpr const char* kCannotDeleteText = "Bestand kan niet gewist worden";
inline constexpr const char* kOpenQuestion = "Lijst openen en huidige figuur laten vervallen?";
inline constexpr const char* kOpenTitle = "Openen";

// Real figure lists are a few kilobytes. Larger files are refused before anything changes:
// every row costs a few hundred bytes in the grid and a redraw draws every row.
inline constexpr std::uintmax_t kMaxListBytes = 64u * 1024u * 1024u;
inline constexpr std::size_t kMaxListRows = 100000;

// ";%SIZE=W,H", ";%UNITS=", the name line, ";%TYPE=", then every data row's four cells as they
// stand, joined by "," (empty cells give empty fields).
LineList FigureListLines(const FigureModel& model, const PatternHeader& header);
// The lines with CR LF after each, written atomically.
WriteStatus WriteFigureList(const std::string& path, const FigureModel& model,
                            const PatternHeader& header);

enum class ListReadStatus {
    Ok,
    BadWidth,     // a size line whose width does not parse: reading stopped there
    BadHeight,    // the same for the height
    InvalidSize,  // a size line with a side below 1 (after rounding): reading stopped there
    CannotRead,   // nothing changed
    TooLarge,     // over kMaxListBytes or kMaxListRows: nothing changed
};

struct ListReadResult {
    ListReadStatus status = ListReadStatus::Ok;
    bool tileSet = false;          // a size line set up a new figure (drop the background picture)
    bool multipleFigures = false;  // a second name line after segments stopped the reading
    int segmentLines = 0;
};

// The message box for a status that is not Ok: its text, its title and whether it is the
// warning box (else the error box). A failed size line gives the warning without a title.
struct ListReadMessage {
    std::string text;
    std::string title;
    bool warning = true;
};
ListReadMessage MessageFor(ListReadStatus status, const std::string& path);

// Reads the lines into the editor as opening the list does: size, units, name ("*NAME,
// description" split as the pattern reader splits it) and type lines before the first segment,
// then segment lines into the grid's last row each, comments and anything else skipped.
// onSecondFigure runs when a name line follows segments (the reading stops there). Unless a size
// line failed, the trailing empty row is removed and the figure redrawn, which clips rows and
// deletes those that miss the tile.
ListReadResult ReadFigureListLines(const LineList& lines, FigureModel& model, Canvas& canvas,
                                   PatternHeader& header,
                                   const std::function<void()>& onSecondFigure = {});
// The same over a file's bytes (lines end at CR LF, lone CR or lone LF; a NUL ends the text).
ListReadResult ReadFigureListText(std::string_view text, FigureModel& model, Canvas& canvas,
                                  PatternHeader& header,
                                  const std::function<void()>& onSecondFigure = {});
// The same over a file; CannotRead and TooLarge leave everything as it was.
ListReadResult ReadFigureListFile(const std::string& path, FigureModel& model, Canvas& canvas,
                                  PatternHeader& header,
                                  const std::function<void()>& onSecondFigure = {});

// The two dialogs of the figure list commands.
FileDialog MakeSaveFigureListDialog();
FileDialog MakeOpenFigureListDialog();

// The save command: the save dialog, the question before an existing file goes to the recycle
// bin, the writing; every message box owned by appWindow. The figure is never changed. True
// when the list was written.
bool SaveFigureList(Platform& platform, FileDialog& saveDialog, WindowHandle appWindow,
                    const FigureModel& model, const PatternHeader& header);
// The open command up to the file: the question (unless ask is false: the caller asked about
// unsaved changes already), then the open dialog, both owned by appWindow. True when the user
// named a file (in openDialog.fileName).
bool ChooseFigureList(Platform& platform, FileDialog& openDialog, WindowHandle appWindow,
                      bool ask = true);
// The open command once a file is named (there or on the command line): the reading with its
// message boxes owned by appWindow; how it went (tileSet tells the window to drop its
// background picture).
ListReadResult OpenFigureListFile(Platform& platform, const std::string& path,
                                  WindowHandle appWindow, FigureModel& model, Canvas& canvas,
                                  PatternHeader& header);

}  // namespace murvex::figure
