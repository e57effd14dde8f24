// A scripted Platform for tests: answers from queues, records every call.
#pragma once

#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Platform.h"

namespace murvex::test {

struct MessageCall {
    std::string text;
    std::string title;
    MessageStyle style;
    WindowHandle owner = 0;
};

struct DialogCall {
    FileDialog dialog;  // as it was when shown
    WindowHandle owner = 0;
};

class FakePlatform : public Platform {
  public:
    // Scripted answers; an empty queue answers OK to boxes and Cancel to dialogs.
    std::deque<Answer> messageAnswers;
    std::deque<std::optional<std::string>> dialogAnswers;  // nullopt: the user cancels
    bool recycleSucceeds = true;      // when false, moving to the recycle bin fails
    bool useRealFiles = true;         // FileExists and the recycle bin act on the real file system
    std::set<std::string> fakeFiles;  // extra paths that "exist" when useRealFiles is false
    char decimalSeparator = '.';
    bool urlOpens = true;  // when false, no browser takes the page

    // What happened.
    std::vector<MessageCall> messages;
    std::vector<std::string> applicationErrors;
    std::vector<DialogCall> dialogs;
    std::vector<std::string> recycled;  // paths moved to the recycle bin (content kept below)
    std::vector<std::string> recycledContents;
    std::vector<std::string> deleted;
    std::vector<std::string> openedUrls;
    std::vector<Cursor> cursorChanges;
    int processMessagesCalls = 0;

    Answer MessageBox(const std::string& text, const std::string& title, MessageStyle style,
                      WindowHandle owner) override;
    // Recorded as a message; the check box is ticked when checkAnswer says so.
    bool checkAnswer = false;
    Answer MessageBoxWithCheck(const std::string& text, const std::string& title,
                               MessageStyle style, WindowHandle owner, const std::string& checkText,
                               bool& checked) override {
        checkTexts.push_back(checkText);
        checked = checkAnswer;
        return MessageBox(text, title, style, owner);
    }
    std::vector<std::string> checkTexts;
    void ShowApplicationError(const std::string& text) override;
    bool RunFileDialog(FileDialog& dialog, WindowHandle owner) override;
    bool FileExists(const std::string& path) override;
    bool MoveToRecycleBin(const std::string& path) override;
    bool DeleteFileForGood(const std::string& path) override;
    Cursor CurrentCursor() override { return cursor_; }
    void SetCursor(Cursor cursor) override;
    void ProcessMessages() override { ++processMessagesCalls; }
    bool OpenUrl(const std::string& url, WindowHandle owner) override;
    char DecimalSeparator() override { return decimalSeparator; }

  private:
    Cursor cursor_ = Cursor::Default;
};

}  // namespace murvex::test
