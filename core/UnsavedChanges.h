// Whether a tab's work changed since it was last saved, opened or made new, and the question
// before a command throws such changes away.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "GridHistory.h"
#include "Platform.h"
#include "TextGrid.h"

namespace murvex {

// The tab's state as it was last saved, opened or made new. What counts is what the state's
// history counts as a step (for a grid only the cells: moving about is no change), and undoing
// back to that state leaves nothing unsaved.
template <HistoryState State>
class SavedStateMark {
  public:
    void Set(const State& state) { saved_ = state; }
    // Without a mark every state counts as unsaved.
    bool Changed(const State& now) const { return !saved_ || !SameState(*saved_, now); }

  private:
    std::optional<State> saved_;
};
using SavedMark = SavedStateMark<TextGrid>;

inline constexpr const char* kUnsavedTitle = "Murvex";
// "Wijzigingen in <tab> opslaan?"
std::string UnsavedQuestion(const std::string& tabCaption);

// Asks with Ja, Nee and Annuleren (Ja the default) when changed. Ja runs save, and the command
// goes on only when that saved; Nee goes on; Annuleren or closing the box stops it. True when
// the command may go on.
bool MayDropChanges(Platform& platform, bool changed, const std::string& tabCaption,
                    WindowHandle owner, const std::function<bool()>& save);

}  // namespace murvex
