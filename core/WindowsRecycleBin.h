// The Windows recycle bin (Windows builds only; Linux has the freedesktop trash in app/).
#pragma once

#include <string>

namespace murvex {

// Moves the file at path (UTF-8) to the recycle bin, from where the user can restore it. False,
// with the file left where it is, for a folder, a missing file, a path the shell cannot take
// (MAX_PATH and over) or a refusal; where the drive has no recycle bin the shell asks before it
// deletes for good.
bool MoveFileToRecycleBin(const std::string& path);

}  // namespace murvex
