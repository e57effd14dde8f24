// Modal message boxes with fixed styles.
#include "Msg.h"

namespace murvex {

Answer ShowMessageBox(Platform& platform, const std::string& text, const std::string& title,
                      MessageStyle style, WindowHandle owner) {
    return platform.MessageBox(text, title, style, owner > 0 ? owner : 0);
}

bool ShowWarning(Platform& platform, const std::string& text, const std::string& title,
                 WindowHandle owner) {
    return ShowMessageBox(platform, text, title, style::kWarning, owner) == Answer::Ok;
}

bool ShowError(Platform& platform, const std::string& text, const std::string& title,
               WindowHandle owner) {
    return ShowMessageBox(platform, text, title, style::kError, owner) == Answer::Ok;
}

bool AskQuestion(Platform& platform, const std::string& text, const std::string& title, int kind,
                 WindowHandle owner) {
    const MessageStyle s = kind == 2 ? style::kQuestionCancelDefault : style::kQuestion;
    return ShowMessageBox(platform, text, title, s, owner) == Answer::Ok;
}

}  // namespace murvex
