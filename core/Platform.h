// The platform seam: every service of the windowing system and the shell that the libraries use.
#pragma once

#include <cstdint>
#include <string>

namespace murvex {

// A window handle as the message boxes take it; 0 or less means "no owner" (the desktop).
using WindowHandle = std::intptr_t;

// What a message box looks like: its buttons, its icon and which button Enter presses.
enum class MessageButtons { Ok, OkCancel, YesNoCancel };
enum class MessageIcon { None, Stop, Question, Warning, Information };
struct MessageStyle {
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    bool secondIsDefault = false;  // Enter presses the second button (Cancel of OK and Cancel)
    friend bool operator==(const MessageStyle&, const MessageStyle&) = default;
};
// The button that closed a message box; Escape and the close box answer Cancel where the box
// has it, else its only button (or No).
enum class Answer { Ok, Cancel, Yes, No };

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

    // The standard modal message box; returns the button the user chose.
    virtual Answer MessageBox(const std::string& text, const std::string& title, MessageStyle style,
                              WindowHandle owner) = 0;
    // The same with a check box under the text ("Niet meer vragen"); checked holds its state in
    // and out. Where no check box can be shown it is the plain box and checked stays.
    virtual Answer MessageBoxWithCheck(const std::string& text, const std::string& title,
                                       MessageStyle style, WindowHandle owner,
                                       const std::string& checkText, bool& checked) {
        (void)checkText;
        (void)checked;
        return MessageBox(text, title, style, owner);
    }
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
