// Whether a tab's work changed since it was last saved, opened or made new, and the question
// before a command throws such changes away.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "Platform.h"
#include "TextGrid.h"

namespace murvex {

// The tab's state as it was last saved, opened or made new. Only the cells count: moving about
// is no change, and undoing back to that state leaves nothing unsaved.
class SavedMark {
  public:
    void Set(const TextGrid& state) { saved_ = state; }
    // Without a mark every state counts as unsaved.
    bool Changed(const TextGrid& now) const;

  private:
    std::optional<TextGrid> saved_;
};

inline constexpr const char* kUnsavedTitle = "Murvex";
// "Wijzigingen in <tab> opslaan?"
std::string UnsavedQuestion(const std::string& tabCaption);

// Asks with Ja, Nee and Annuleren (Ja the default) when changed. Ja runs save, and the command
// goes on only when that saved; Nee goes on; Annuleren or closing the box stops it. True when
// the command may go on.
bool MayDropChanges(Platform& platform, bool changed, const std::string& tabCaption,
                    WindowHandle owner, const std::function<bool()>& save);

}  // namespace murvex
