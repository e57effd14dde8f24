// What the save flows of the two systems share (inside core only).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

#include "PatternFile.h"

namespace murvex::detail {

// True when the test hook fails this step; errno then holds the hook's error.
bool Faulted(WriteStep step);

// Whether name has the form of our temporary files: ".murvex-" and six letters or digits.
bool IsTemporaryName(std::string_view name);

// What an open that failed with this errno means for a reader.
ReadFileStatus OpenFailure(int error);

// One system read: up to size bytes into buffer; the count, 0 at the end, or -1 with *failure set.
using ReadSome = std::function<long(char* buffer, std::size_t size, ReadFileStatus* failure)>;

// Reads to the end through readSome, refusing more than limit bytes (TooLarge, nothing kept).
ReadFileResult ReadToEnd(const ReadSome& readSome, std::uintmax_t limit);

}  // namespace murvex::detail
