// What to tell the user at once after "Maak hatch" wrote a file that some CAD programs misread,
// and which "Compatibel opslaan" would have written so that they read it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "CompatiblePattern.h"
#include "PatternFile.h"

namespace murvex::figure {

inline constexpr const char* kReaderNoticeTitle = "Pas op!";
inline constexpr const char* kReaderNoticeCheck = "Niet meer vragen";

// The notice for lines written in style to fileName (empty: not compared with the pattern's
// name): the readers that trip over what the compatible way of writing avoids (long lines, a
// name without description, an empty line inside a pattern), named once each, and "Compatibel
// opslaan" as the remedy. Nothing when the lines were written the compatible way or no such
// reader trips.
std::optional<std::string> ReaderNotice(const LineList& lines, std::string_view fileName,
                                        PatternStyle style);

}  // namespace murvex::figure
