// Modal message boxes with fixed styles.
#pragma once

#include <string>

#include "Platform.h"

namespace murvex {

// The one text for a value the user typed that cannot be used, in the window and on the command
// line alike.
inline constexpr const char* kInvalidValueText = "Er is een ongeldige waarde ingevoerd";

namespace style {
inline constexpr MessageStyle kWarning{MessageButtons::Ok, MessageIcon::Warning};
inline constexpr MessageStyle kError{MessageButtons::Ok, MessageIcon::Stop};
inline constexpr MessageStyle kInformation{MessageButtons::Ok, MessageIcon::Information};
inline constexpr MessageStyle kQuestion{MessageButtons::OkCancel, MessageIcon::Question};
inline constexpr MessageStyle kQuestionCancelDefault{MessageButtons::OkCancel,
                                                     MessageIcon::Question, true};
// Yes, No or Cancel, as the question whether changes are saved first.
inline constexpr MessageStyle kYesNoCancel{MessageButtons::YesNoCancel, MessageIcon::Question};
}  // namespace style

Answer ShowMessageBox(Platform& platform, const std::string& text, const std::string& title,
                      MessageStyle style, WindowHandle owner);
bool ShowWarning(Platform& platform, const std::string& text, const std::string& title,
                 WindowHandle owner);
bool ShowError(Platform& platform, const std::string& text, const std::string& title,
               WindowHandle owner);
// kind 1: OK is the default button; kind 2: Cancel is. True only for OK.
bool AskQuestion(Platform& platform, const std::string& text, const std::string& title, int kind,
                 WindowHandle owner);

}  // namespace murvex
