// The head of a pattern: units, type and name, as every writer puts them down and every reader
// and the check take them up again.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "Text.h"

namespace murvex {

// The units a pattern without a units line is read with: what a tab shows at start-up, and what
// a library gives the patterns below its first units line.
inline constexpr const char* kDefaultUnits = "MM";

// The texts of a tab's units combo, type combo and name edit, as they stand (Windows-1252, typed
// text too). The defaults are what a tab shows at start-up.
struct PatternHeader {
    // A constructor rather than an aggregate: three texts, as most callers give them, leave the
    // description empty without a missing-initializer warning.
    PatternHeader(std::string unitsText = kDefaultUnits, std::string typeText = "MODEL",
                  std::string nameText = "naam arcering", std::string descriptionText = {})
        : units(std::move(unitsText)),
          type(std::move(typeText)),
          name(std::move(nameText)),
          description(std::move(descriptionText)) {}

    std::string units;
    std::string type;
    std::string name;
    // What follows the name after a comma ("*NAME, description"), kept to be written back; the
    // writers' own patterns have none.
    std::string description;

    bool operator==(const PatternHeader&) const = default;
};

inline constexpr const char* kSeparatorLine = ";";
std::string UnitsHeader(std::string_view units);  // ";%UNITS=" + units
std::string TypeHeader(std::string_view type);    // ";%TYPE=" + type
std::string NameLine(std::string_view name);      // "*" + name
// "*" + name, and ", " + description when there is one.
std::string NameLine(std::string_view name, std::string_view description);
// In the three texts above a CR, LF or NUL becomes a blank: each stays one line of the file.

// A pattern file separates the units line from the name with ";"; a figure list does not.
enum class HeaderLayout { PatternFile, FigureList };
// Appends the units line, (";",) the name line and the type line.
void AppendHeaderLines(LineList& lines, const PatternHeader& header,
                       HeaderLayout layout = HeaderLayout::PatternFile);

enum class HeaderField { None, Units, Type, Name };
struct HeaderLine {
    HeaderField field = HeaderField::None;
    std::string_view value;  // the text after ";%UNITS=", ";%TYPE=" or "*", as it stands
};

struct HeaderRules {
    // The readers want a value after ";%UNITS=" and ";%TYPE=" (a key alone is no header line);
    // the check counts the key alone as a units line too.
    bool keyAlone = false;
};

// ";%UNITS=" or ";%TYPE=" in any (ASCII) case, followed by the value; "*" followed by at least
// one character. Values are not trimmed.
HeaderLine ParseHeaderLine(std::string_view line, HeaderRules rules = {});

// The value of a name line as name and description: the name is everything before the first
// comma as it stands, the description everything after it without the blanks that begin it.
struct NameAndDescription {
    std::string_view name;
    std::string_view description;
};
NameAndDescription SplitNameValue(std::string_view value);

// Takes a header line into header and answers whether it was one. A units value "MM" or "INCH"
// and a type value "MODEL" or "DRAFTING" (any case) replace the text, in capitals; other values
// leave it. A name line replaces the name with everything after "*" (the description stays
// empty), or, with splitDescription, the name and description with SplitNameValue's.
bool ReadHeaderLine(std::string_view line, PatternHeader& header, bool splitDescription = false);

}  // namespace murvex
