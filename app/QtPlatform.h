// The platform seam on Qt: message boxes, file dialogs, the trash, cursors, the browser.
#pragma once

#include "Platform.h"

class QMessageBox;
class QAbstractButton;
class QFileDialog;
class QString;

namespace murvex::app {

class QtPlatform : public Platform {
  public:
    Answer MessageBoxWithCheck(const std::string& text, const std::string& title,
                               MessageStyle style, WindowHandle owner, const std::string& checkText,
                               bool& checked) override;
    Answer MessageBox(const std::string& text, const std::string& title, MessageStyle style,
                      WindowHandle owner) override;
    void ShowApplicationError(const std::string& text) override;
    bool RunFileDialog(FileDialog& dialog, WindowHandle owner) override;
    bool FileExists(const std::string& path) override;
    bool MoveToRecycleBin(const std::string& path) override;
    bool DeleteFileForGood(const std::string& path) override;
    Cursor CurrentCursor() override;
    void SetCursor(Cursor cursor) override;
    void ProcessMessages() override;
    bool OpenUrl(const std::string& url, WindowHandle owner) override;
    char DecimalSeparator() override;

  private:
    int busyCursors_ = 0;  // override cursors this platform has pushed
};

// Gives a message box the buttons, icon, default and escape button of the style.
void ConfigureMessageBox(QMessageBox& box, MessageStyle style);
// The answer of the button the user chose (nullptr: the box was closed).
Answer ButtonCode(const QMessageBox& box, const QAbstractButton* clicked);
// The home trash: $XDG_DATA_HOME/Trash, by default ~/.local/share/Trash.
QString HomeTrashFolder();
// Makes the trash folder with its files/ and info/ folders (owner only) where they are missing.
bool MakeHomeTrash(const QString& trash);
// Whether path is a file inside the files/ folder of a trash (the home trash or a top folder's).
bool IsTrashedPath(const QString& path, const QString& homeTrash);
// Sets up a file dialog from the dialog settings, without showing it.
void ConfigureFileDialog(QFileDialog& qd, const FileDialog& dialog);

}  // namespace murvex::app
