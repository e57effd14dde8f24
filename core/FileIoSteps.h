// What the save flows of the two systems share (inside core only).
#pragma once

#include <string_view>

#include "PatternFile.h"

namespace murvex::detail {

// True when the test hook fails this step; errno then holds the hook's error.
bool Faulted(WriteStep step);

// Whether name has the form of our temporary files: ".murvex-" and six letters or digits.
bool IsTemporaryName(std::string_view name);

}  // namespace murvex::detail
