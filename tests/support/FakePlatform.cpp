// A scripted Platform for tests: answers from queues, records every call.
#include "FakePlatform.h"

#include <cstdio>
#include <filesystem>

#include "PatternFile.h"

namespace murvex::test {

Answer FakePlatform::MessageBox(const std::string& text, const std::string& title,
                                MessageStyle style, WindowHandle owner) {
    messages.push_back({text, title, style, owner});
    if (messageAnswers.empty()) return Answer::Ok;
    const Answer answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

void FakePlatform::ShowApplicationError(const std::string& text) {
    applicationErrors.push_back(text);
}

bool FakePlatform::RunFileDialog(FileDialog& dialog, WindowHandle owner) {
    dialogs.push_back({dialog, owner});
    if (dialogAnswers.empty()) return false;
    std::optional<std::string> answer = dialogAnswers.front();
    dialogAnswers.pop_front();
    if (!answer) return false;
    dialog.fileName = *answer;
    return true;
}

bool FakePlatform::FileExists(const std::string& path) {
    if (fakeFiles.count(path)) return true;
    if (!useRealFiles) return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

bool FakePlatform::MoveToRecycleBin(const std::string& path) {
    if (!recycleSucceeds) return false;
    if (fakeFiles.erase(path)) {
        recycled.push_back(path);
        recycledContents.emplace_back();
        return true;
    }
    if (!useRealFiles) return false;
    auto content = ReadWholeFile(path);
    if (!content || std::remove(path.c_str()) != 0) return false;
    recycled.push_back(path);
    recycledContents.push_back(*content);
    return true;
}

bool FakePlatform::DeleteFileForGood(const std::string& path) {
    if (fakeFiles.erase(path)) {
        deleted.push_back(path);
        return true;
    }
    if (!useRealFiles || std::remove(path.c_str()) != 0) return false;
    deleted.push_back(path);
    return true;
}

void FakePlatform::SetCursor(Cursor cursor) {
    cursor_ = cursor;
    cursorChanges.push_back(cursor);
}

bool FakePlatform::OpenUrl(const std::string& url, WindowHandle) {
    openedUrls.push_back(url);
    return urlOpens;
}

}  // namespace murvex::test
