// Whether a tab's work changed since it was last saved, and the question before it is lost.
#include "UnsavedChanges.h"

#include "Msg.h"

namespace murvex {

std::string UnsavedQuestion(const std::string& tabCaption) {
    return "Wijzigingen in " + tabCaption + " opslaan?";
}

bool MayDropChanges(Platform& platform, bool changed, const std::string& tabCaption,
                    WindowHandle owner, const std::function<bool()>& save) {
    if (!changed) return true;
    const int answer = ShowMessageBox(platform, UnsavedQuestion(tabCaption), kUnsavedTitle,
                                      mb::kYesNoCancel | mb::kIconQuestion, owner);
    if (answer == mb::kIdYes) return save();
    return answer == mb::kIdNo;
}

}  // namespace murvex
