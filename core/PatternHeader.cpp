// The head of a pattern: units, type and name, written and read.
#include "PatternHeader.h"

namespace murvex {

namespace {

constexpr std::string_view kUnitsKey = ";%UNITS=";
constexpr std::string_view kTypeKey = ";%TYPE=";

std::string OneLine(std::string_view prefix, std::string_view text) {
    std::string out(prefix);
    out.reserve(prefix.size() + text.size());
    for (const char c : text)
        out += (c == '\r' || c == '\n' || c == '\0') ? ' ' : c;
    return out;
}

bool HasKey(std::string_view line, std::string_view key, HeaderRules rules) {
    const std::size_t least = rules.keyAlone ? key.size() : key.size() + 1;
    return line.size() >= least && StartsWithNoCase(line, key);
}

}  // namespace

std::string UnitsHeader(std::string_view units) {
    return OneLine(kUnitsKey, units);
}
std::string TypeHeader(std::string_view type) {
    return OneLine(kTypeKey, type);
}
std::string NameLine(std::string_view name) {
    return OneLine("*", name);
}

std::string NameLine(std::string_view name, std::string_view description) {
    std::string line = NameLine(name);
    if (!description.empty()) line += OneLine(", ", description);
    return line;
}

NameAndDescription SplitNameValue(std::string_view value) {
    const std::size_t comma = value.find(',');
    if (comma == std::string_view::npos) return {value, {}};
    std::string_view description = value.substr(comma + 1);
    while (!description.empty() && (description[0] == ' ' || description[0] == '\t'))
        description.remove_prefix(1);
    return {value.substr(0, comma), description};
}

void AppendHeaderLines(LineList& lines, const PatternHeader& header, HeaderLayout layout) {
    lines.push_back(UnitsHeader(header.units));
    if (layout == HeaderLayout::PatternFile) lines.emplace_back(kSeparatorLine);
    lines.push_back(NameLine(header.name, header.description));
    lines.push_back(TypeHeader(header.type));
}

HeaderLine ParseHeaderLine(std::string_view line, HeaderRules rules) {
    if (HasKey(line, kUnitsKey, rules)) return {HeaderField::Units, line.substr(kUnitsKey.size())};
    if (HasKey(line, kTypeKey, rules)) return {HeaderField::Type, line.substr(kTypeKey.size())};
    if (line.size() >= 2 && line[0] == '*') return {HeaderField::Name, line.substr(1)};
    return {};
}

bool ReadHeaderLine(std::string_view line, PatternHeader& header, bool splitDescription) {
    const HeaderLine read = ParseHeaderLine(line);
    switch (read.field) {
        case HeaderField::None:
            return false;
        case HeaderField::Units: {
            std::string value = AsciiUpper(read.value);
            if (value == "MM" || value == "INCH") header.units = std::move(value);
            return true;
        }
        case HeaderField::Type: {
            std::string value = AsciiUpper(read.value);
            if (value == "MODEL" || value == "DRAFTING") header.type = std::move(value);
            return true;
        }
        case HeaderField::Name:
            if (splitDescription) {
                const NameAndDescription parts = SplitNameValue(read.value);
                header.name = std::string(parts.name);
                header.description = std::string(parts.description);
            } else {
                header.name = std::string(read.value);
                header.description.clear();
            }
            return true;
    }
    return false;
}

}  // namespace murvex
