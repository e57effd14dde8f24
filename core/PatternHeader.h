// The head of a pattern: units, type and name, as every writer puts them down and every reader
// and the check take them up again.
#pragma once

#include <string>
#include <string_view>

#include "Text.h"

namespace murvex {

// The texts of a tab's units combo, type combo and name edit, as they stand (Windows-1252, typed
// text too). The defaults are what a tab shows at start-up.
struct PatternHeader {
    std::string units = "MM";
    std::string type = "MODEL";
    std::string name = "naam arcering";

    bool operator==(const PatternHeader&) const = default;
};

inline constexpr const char* kSeparatorLine = ";";
std::string UnitsHeader(std::string_view units);  // ";%UNITS=" + units
std::string TypeHeader(std::string_view type);    // ";%TYPE=" + type
std::string NameLine(std::string_view name);      // "*" + name
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

// Takes a header line into header and answers whether it was one. A units value "MM" or "INCH"
// and a type value "MODEL" or "DRAFTING" (any case) replace the text, in capitals; other values
// leave it. A name line replaces the name with everything after "*".
bool ReadHeaderLine(std::string_view line, PatternHeader& header);

}  // namespace murvex
