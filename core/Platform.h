// The platform seam: every service of the windowing system and the shell that the libraries use.
#pragma once

#include <cstdint>
#include <string>

namespace murvex {

// A window handle as the message boxes take it; 0 or less means "no owner" (the desktop).
using WindowHandle = std::intptr_t;

// Message box style bits and button codes, with the values the platform uses.
namespace mb {
inline constexpr unsigned kOk = 0x0;
inline constexpr unsigned kOkCancel = 0x1;
inline constexpr unsigned kYesNoCancel = 0x3;
inline constexpr unsigned kIconHand = 0x10;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconExclamation = 0x30;
inline constexpr unsigned kDefButton2 = 0x100;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
}  // namespace mb

// Screen cursors the libraries switch between.
enum class Cursor { Default, Busy, Other };

// A file dialog as the main window owns it: its settings and the name chosen last, which it
// offers again the next time it opens.
struct FileDialog {
    enum Kind { Open, Save };
    Kind kind = Save;
    std::string title;
    std::string filterName;   // "hatchfiles"
    std::string filterMask;   // "*.pat"
    std::string moreFilters;  // further choices, each "Name (*.ext)", separated by ";;"
    std::string defaultExt;   // "pat", without the point
    bool pathMustExist = false;
    bool fileMustExist = false;
    std::string fileName;  // in: offered name; out: chosen full path
};

class Platform {
  public:
    virtual ~Platform() = default;

    // The standard modal message box; returns the button code (mb::kIdOk, ...).
    virtual int MessageBox(const std::string& text, const std::string& title, unsigned style,
                           WindowHandle owner) = 0;
    // The application's standard error box, for errors that escape a command.
    virtual void ShowApplicationError(const std::string& text) = 0;

    // Shows the dialog modally; true with dialog.fileName set when the user chose a file.
    virtual bool RunFileDialog(FileDialog& dialog, WindowHandle owner) = 0;

    virtual bool FileExists(const std::string& path) = 0;
    // Moves a file to the recycle bin (trash); true on success.
    virtual bool MoveToRecycleBin(const std::string& path) = 0;
    // Deletes a file for good; true on success.
    virtual bool DeleteFileForGood(const std::string& path) = 0;

    virtual Cursor CurrentCursor() = 0;
    virtual void SetCursor(Cursor cursor) = 0;
    virtual void ProcessMessages() = 0;

    // Opens a web address or a local file address in the default browser.
    virtual bool OpenUrl(const std::string& url, WindowHandle owner) = 0;
    // The user's decimal separator from the regional settings.
    virtual char DecimalSeparator() = 0;
};

}  // namespace murvex
