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
    const Answer answer = ShowMessageBox(platform, UnsavedQuestion(tabCaption), kUnsavedTitle,
                                         style::kYesNoCancel, owner);
    if (answer == Answer::Yes) return save();
    return answer == Answer::No;
}

}  // namespace murvex
