// A file named on the command line, as a file manager passes it ("Exec=murvex %f"): opened in
// the tab that reads files of its kind.
#pragma once

#include <QString>

#include "Platform.h"

namespace murvex::app {

class TMainForm;

enum class StartupFileKind { Pattern, FigureList, Other };

// A pattern file by its extension ".pat" (any case); a figure list by its first line, the size
// line (";%SIZE=", any case) that every written figure list starts with, whatever its name.
StartupFileKind ClassifyStartupFile(const QString& path);

// The platform of the window with one addition: the next file dialog can be answered with a preset
// file, as if the user had chosen it there. Every other call goes to the wrapped platform.
class PresetDialogPlatform : public Platform {
  public:
    explicit PresetDialogPlatform(Platform& inner) : inner_(inner) {}

    // The next RunFileDialog returns true with this path (8-bit, as the dialog reports names)
    // without showing anything; the calls after it show the dialog again.
    void PresetNextDialog(std::string path);

    // While set, the next question box (OK and Cancel) is answered OK without showing: the
    // file named on the command line is the user's answer to "open this file?".
    void AnswerQuestions(bool answer) { answerQuestion_ = answer; }

    int MessageBox(const std::string& text, const std::string& title, unsigned style,
                   WindowHandle owner) override;
    void ShowApplicationError(const std::string& text) override {
        inner_.ShowApplicationError(text);
    }
    bool RunFileDialog(FileDialog& dialog, WindowHandle owner) override;
    bool FileExists(const std::string& path) override { return inner_.FileExists(path); }
    bool MoveToRecycleBin(const std::string& path) override {
        return inner_.MoveToRecycleBin(path);
    }
    bool DeleteFileForGood(const std::string& path) override {
        return inner_.DeleteFileForGood(path);
    }
    Cursor CurrentCursor() override { return inner_.CurrentCursor(); }
    void SetCursor(Cursor cursor) override { inner_.SetCursor(cursor); }
    void ProcessMessages() override { inner_.ProcessMessages(); }
    bool OpenUrl(const std::string& url, WindowHandle owner) override {
        return inner_.OpenUrl(url, owner);
    }
    char DecimalSeparator() override { return inner_.DecimalSeparator(); }

  private:
    Platform& inner_;
    bool preset_ = false;
    bool answerQuestion_ = false;
    std::string presetPath_;
};

// The start-up hook for a file named on the command line; window must have been built on
// platform. A pattern file opens in the free line tab, a figure list in the figure tab, each
// through that tab's open command as if chosen in its open dialog (a file that cannot be read
// gets that command's read error). Any other file is refused with a warning box.
void OpenStartupFile(TMainForm& window, PresetDialogPlatform& platform, const QString& path);

}  // namespace murvex::app
