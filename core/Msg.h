// Modal message boxes with fixed styles.
#pragma once

#include <string>

#include "Platform.h"

namespace murvex {

// The one text for a value the user typed that cannot be used, in the window and on the command
// line alike.
inline constexpr const char* kInvalidValueText = "Er is een ongeldige waarde ingevoerd";

namespace style {
inline constexpr unsigned kWarning = mb::kOk | mb::kIconExclamation;             // 48
inline constexpr unsigned kError = mb::kOk | mb::kIconHand;                      // 16
inline constexpr unsigned kQuestion = mb::kOkCancel | mb::kIconQuestion;         // 33
inline constexpr unsigned kQuestionCancelDefault = kQuestion | mb::kDefButton2;  // 289
}  // namespace style

int ShowMessageBox(Platform& platform, const std::string& text, const std::string& title,
                   unsigned style, WindowHandle owner);
bool ShowWarning(Platform& platform, const std::string& text, const std::string& title,
                 WindowHandle owner);
bool ShowError(Platform& platform, const std::string& text, const std::string& title,
               WindowHandle owner);
// kind 1: OK is the default button; kind 2: Cancel is. True only for OK.
bool AskQuestion(Platform& platform, const std::string& text, const std::string& title, int kind,
                 WindowHandle owner);

}  // namespace murvex
