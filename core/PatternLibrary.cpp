// Library files: many patterns one after another, split into their patterns, and a pattern added
// to such a file or put in place of one of the same name.
#include "PatternLibrary.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "CompatiblePattern.h"
#include "NumberText.h"
#include "PatternFile.h"
#include "PatternGeometry.h"
#include "PatternHeader.h"
#include "Text.h"

namespace murvex {

namespace {

std::string_view Limited(std::string_view line) {
    return line.substr(0, kLibraryLineLimit);
}

bool IsVersionLine(std::string_view line) {
    return line.size() >= 9 && StartsWithNoCase(line, "%VERSION=");
}
// What the reader takes into the grid: anything that does not begin with ";" or "*".
bool IsPatternLine(std::string_view line) {
    return !line.empty() && line[0] != ';' && line[0] != '*';
}
bool IsBlankLine(std::string_view line) {
    return Trim(line).empty();
}

// Where the line that starts at begin and holds size bytes ends, its line end included.
std::size_t AfterLineEnd(std::string_view text, std::size_t begin, std::size_t size) {
    std::size_t end = begin + size;
    if (end < text.size() && text[end] == '\r') ++end;
    if (end < text.size() && text[end] == '\n' && (end == begin + size || text[end - 1] == '\r'))
        ++end;
    return end;
}

// The text before a NUL, as TextLines reads it.
std::string_view BeforeNul(std::string_view bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

// One pass over the lines; a pattern is finished when the next name line or the end comes.
class Splitter {
  public:
    explicit Splitter(std::string_view text) : text_(text) {}

    bool Offer(std::string_view whole) {
        const std::size_t begin = static_cast<std::size_t>(whole.data() - text_.data());
        const std::size_t end = AfterLineEnd(text_, begin, whole.size());
        const std::string_view line = Limited(whole);
        const HeaderLine header = ParseHeaderLine(line);
        const bool runLine = header.field == HeaderField::Units ||
                             header.field == HeaderField::Type || IsVersionLine(line) ||
                             line == ";";
        bool consumed = true;
        if (header.field == HeaderField::Name) {
            // The name whole, however long: names are compared whole.
            if (!StartPattern(whole, begin, end)) return false;
        } else if (open_ && !patternSeen_ && runLine) {
            TakeHeader(header, /*own=*/true);
            Own(end);
        } else if (open_ && IsPatternLine(line)) {
            patternSeen_ = true;
            ++current_.patternLines;
            Own(end);
        } else if (open_ && line == ";" && lastWasOwn_) {
            CloseWith(end);
        } else {
            consumed = false;
            lastWasOwn_ = false;
            if (runLine) TakeHeader(header, /*own=*/false);
        }
        // A run of header and ";" lines that no pattern took goes with the name line below it.
        if (!consumed && runLine) {
            if (!inRun_) {
                runFirstLine_ = lineNo_;
                runBegin_ = begin;
                runTypeGiven_ = false;
                runType_.clear();
            }
            inRun_ = true;
            if (header.field == HeaderField::Type) {
                runType_ = std::string(header.value);
                runTypeGiven_ = true;
            }
        } else {
            inRun_ = false;
        }
        ++lineNo_;
        return true;
    }

    LibraryIndex Finish() {
        if (open_) Close();
        if (tooMany_) {
            index_.status = LibraryStatus::TooManyPatterns;
            index_.patterns.clear();
        }
        return std::move(index_);
    }

  private:
    bool StartPattern(std::string_view line, std::size_t begin, std::size_t end) {
        if (open_) Close();
        if (index_.patterns.size() >= kMaxLibraryPatterns) {
            tooMany_ = true;
            return false;
        }
        current_ = LibraryPattern{};
        const NameAndDescription parts = SplitNameValue(line.substr(1));
        current_.name = std::string(Trim(parts.name));
        current_.description = std::string(Trim(parts.description));
        current_.nameLine = lineNo_;
        current_.units = units_;
        // The run above the name line, but nothing of the pattern before it.
        if (inRun_) {
            current_.firstLine = runFirstLine_;
            current_.beginByte = runBegin_;
            if (runTypeGiven_) current_.type = runType_;
        } else {
            current_.firstLine = lineNo_;
            current_.beginByte = begin;
        }
        open_ = true;
        patternSeen_ = false;
        Own(end);
        return true;
    }

    void TakeHeader(const HeaderLine& header, bool own) {
        if (header.field == HeaderField::Units) {
            units_ = std::string(header.value);
            if (own) current_.units = units_;
        }
        if (header.field == HeaderField::Type && own) current_.type = std::string(header.value);
    }

    void Own(std::size_t end) {
        current_.endLine = lineNo_ + 1;
        current_.endByte = end;
        lastWasOwn_ = true;
    }

    void CloseWith(std::size_t end) {
        current_.endLine = lineNo_ + 1;
        current_.endByte = end;
        lastWasOwn_ = false;
    }

    void Close() {
        current_.sameNameBefore = !names_.insert(AsciiUpper(current_.name)).second;
        index_.patterns.push_back(std::move(current_));
        current_ = LibraryPattern{};
        open_ = false;
        lastWasOwn_ = false;
    }

    std::string_view text_;
    LibraryIndex index_;
    LibraryPattern current_;
    std::size_t lineNo_ = 0;
    bool open_ = false;
    bool patternSeen_ = false;
    bool lastWasOwn_ = false;
    bool tooMany_ = false;
    std::string units_;
    std::unordered_set<std::string> names_;  // in capitals
    bool inRun_ = false;
    std::size_t runFirstLine_ = 0;
    std::size_t runBegin_ = 0;
    std::string runType_;
    bool runTypeGiven_ = false;
};

// The line end a library uses: that of its first line.
std::string_view LineEndOf(std::string_view text) {
    const std::size_t i = text.find_first_of("\r\n");
    if (i == std::string_view::npos) return "\r\n";
    if (text[i] == '\n') return "\n";
    return i + 1 < text.size() && text[i + 1] == '\n' ? "\r\n" : "\r";
}

bool IsNumberList(std::string_view line) {
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = line.find(',', start);
        const std::string_view field = Trim(line.substr(start, comma - start));
        if (field.empty() || !ParseDecimal(field).ok) return false;
        if (comma == std::string_view::npos) return true;
        start = comma + 1;
    }
}

}  // namespace

LibraryIndex SplitLibrary(std::string_view bytes) {
    if (bytes.size() > kMaxLibraryBytes) return {LibraryStatus::TooLarge, {}};
    const std::string_view text = BeforeNul(bytes);
    Splitter splitter(text);
    ForEachLine(text, [&](std::string_view line) { return splitter.Offer(line); });
    return splitter.Finish();
}

int FindLibraryPattern(const LibraryIndex& index, std::string_view name) {
    const std::string_view wanted = Trim(name);
    for (std::size_t i = 0; i < index.patterns.size(); ++i) {
        if (EqualsNoCase(index.patterns[i].name, wanted)) return static_cast<int>(i);
    }
    return -1;
}

std::string PatternFileOf(std::string_view library, const LibraryPattern& pattern) {
    const std::string_view text = BeforeNul(library);
    const std::string_view range =
        text.substr(std::min(pattern.beginByte, text.size()),
                    pattern.endByte - std::min(pattern.beginByte, pattern.endByte));
    std::string out;
    // The units line of the range itself would come after this one and win.
    if (!pattern.units.empty()) out = UnitsHeader(pattern.units) + std::string(LineEndOf(text));
    out += range;
    return out;
}

bool IsLibraryName(std::string_view name) {
    if (Trim(name).empty()) return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return c == ',' || u < 32 || u == 127;
    });
}

FoundPattern FindPatternFile(std::string_view library, std::string_view name) {
    FoundPattern result;
    const std::string_view text = BeforeNul(library);
    const std::string_view wanted = Trim(name);
    std::size_t lineNo = 0;
    std::size_t sliceBegin = 0;  // where the name line before the one sought starts
    std::size_t sliceEnd = text.size();
    std::string_view units;  // of the last units line so far
    std::string_view unitsAtSlice;
    bool ended = false;
    ForEachLine(text, [&](std::string_view line) {
        const std::size_t begin = static_cast<std::size_t>(line.data() - text.data());
        const HeaderLine header = ParseHeaderLine(Limited(line));
        if (header.field == HeaderField::Name) {
            const std::string_view lineName = Trim(SplitNameValue(line.substr(1)).name);
            if (result.found) {
                if (!ended) sliceEnd = begin;
                ended = true;
                if (EqualsNoCase(lineName, wanted)) result.laterSameNameLines.push_back(lineNo);
            } else if (EqualsNoCase(lineName, wanted)) {
                result.found = true;
                result.nameLine = lineNo;
            } else {
                sliceBegin = begin;
                unitsAtSlice = units;
            }
        } else if (header.field == HeaderField::Units && !result.found) {
            units = header.value;
        }
        ++lineNo;
        return true;
    });
    if (!result.found) return result;
    // The slice holds the pattern before (if any) and the one sought, with the lines that go
    // with each as the whole split would give them.
    const std::string_view slice = text.substr(sliceBegin, sliceEnd - sliceBegin);
    const LibraryIndex index = SplitLibrary(slice);
    if (index.patterns.empty()) return result;
    LibraryPattern pattern = index.patterns.back();
    if (pattern.units.empty()) pattern.units = std::string(unitsAtSlice);
    if (!pattern.units.empty())
        result.bytes = UnitsHeader(pattern.units) + std::string(LineEndOf(text));
    result.bytes += slice.substr(pattern.beginByte, pattern.endByte - pattern.beginByte);
    return result;
}

bool HoldsPatternLine(std::string_view text) {
    bool found = false;
    ForEachLine(text, [&](std::string_view line) {
        found = ParsePatternLine(line).has_value();
        return !found;
    });
    return found;
}

ChosenPattern ChoosePattern(std::string_view file, std::string_view name) {
    ChosenPattern chosen;
    if (!name.empty()) {
        FoundPattern found = FindPatternFile(file, name);
        if (found.found) {
            chosen.bytes = std::move(found.bytes);
            chosen.status =
                HoldsPatternLine(chosen.bytes) ? PatternChoice::Chosen : PatternChoice::NoPattern;
            return chosen;
        }
    }
    const LibraryIndex index = SplitLibrary(file);
    const auto listNames = [&] {
        for (const LibraryPattern& p : index.patterns)
            chosen.names.push_back(p.name);
    };
    if (!name.empty()) {
        chosen.status = PatternChoice::NotFound;
        listNames();
        return chosen;
    } else if (index.status != LibraryStatus::Ok || index.patterns.size() > 1) {
        chosen.status = PatternChoice::Several;
        listNames();
        return chosen;
    } else {
        chosen.bytes = std::string(file);
    }
    chosen.status =
        HoldsPatternLine(chosen.bytes) ? PatternChoice::Chosen : PatternChoice::NoPattern;
    return chosen;
}

void MakeCompatibleWithoutTile(LineList& lines) {
    const double repeat = PatternRepeatSize(ParsePatternLines(lines));
    if (!(repeat > 0) || !std::isfinite(repeat)) {
        MakeCompatible(lines);
        return;
    }
    const CompatibleTile tile{repeat, repeat};
    MakeCompatible(lines, &tile);
}

bool IsPatternFileText(std::string_view text) {
    if (text.find('\0') != std::string_view::npos) return false;
    bool nameSeen = false;
    bool ok = true;
    ForEachLine(text, [&](std::string_view whole) {
        const std::string_view line = Limited(whole);
        if (IsBlankLine(line) || line[0] == ';' || IsVersionLine(line)) return true;
        if (line[0] == '*') {
            nameSeen = true;
            return true;
        }
        // The whole line: numbers past the limit are still numbers of this line.
        ok = nameSeen && IsNumberList(whole);
        return ok;
    });
    return ok;
}

namespace {

// The value of the last units line that starts before byte end of text, as the splitter takes
// it (every units line sets the units of what follows); empty when there is none.
std::string UnitsBefore(std::string_view text, std::size_t end) {
    std::string_view units;
    ForEachLine(text, [&](std::string_view line) {
        if (static_cast<std::size_t>(line.data() - text.data()) >= end) return false;
        const HeaderLine header = ParseHeaderLine(Limited(line));
        if (header.field == HeaderField::Units) units = header.value;
        return true;
    });
    return std::string(units);
}

bool SameUnits(std::string_view a, std::string_view b) {
    return EqualsNoCase(a, b);
}

}  // namespace

LibraryAddResult AddToLibrary(std::string_view library, std::string_view patternFile,
                              bool replace) {
    LibraryAddResult result;
    if (library.size() > kMaxLibraryBytes) {
        result.status = LibraryAddStatus::LibraryTooLarge;
        return result;
    }
    if (!IsPatternFileText(library)) {
        result.status = LibraryAddStatus::NotALibrary;
        return result;
    }
    const LibraryIndex added = SplitLibrary(patternFile);
    if (added.status != LibraryStatus::Ok || added.patterns.size() != 1) {
        result.status = LibraryAddStatus::NoPattern;
        return result;
    }
    const LibraryPattern& pattern = added.patterns.front();
    result.name = pattern.name;
    // The name line whole: a longer one is not read whole by the readers this library serves.
    std::string_view nameLine;
    std::size_t lineNo = 0;
    ForEachLine(patternFile, [&](std::string_view line) {
        if (lineNo++ != pattern.nameLine) return true;
        nameLine = line;
        return false;
    });
    if (nameLine.size() > kLibraryLineLimit) {
        result.status = LibraryAddStatus::NameTooLong;
        return result;
    }
    if (!IsLibraryName(pattern.name)) {
        result.status = LibraryAddStatus::BadName;
        return result;
    }

    const LibraryIndex index = SplitLibrary(library);
    if (index.status != LibraryStatus::Ok) {
        result.status = index.status == LibraryStatus::TooLarge ? LibraryAddStatus::LibraryTooLarge
                                                                : LibraryAddStatus::TooManyPatterns;
        return result;
    }
    const int existing = FindLibraryPattern(index, result.name);
    if (existing >= 0 && !replace) {
        result.status = LibraryAddStatus::NameExists;
        return result;
    }
    if (existing < 0 && index.patterns.size() >= kMaxLibraryPatterns) {
        result.status = LibraryAddStatus::TooManyPatterns;
        return result;
    }

    const std::string_view eol = LineEndOf(library);
    const std::string_view newText = BeforeNul(patternFile);
    const std::string_view range =
        newText.substr(pattern.beginByte, pattern.endByte - pattern.beginByte);
    std::string block;
    ForEachLine(range, [&](std::string_view line) {
        block += line;
        block += eol;
        return true;
    });

    // Units stay with the patterns they govern. The new block is read with its own units line,
    // or with one put at its head where the units in effect there differ from the pattern's (a
    // pattern without units taking the place of one keeps the units that one was read with);
    // after the block, the units the following patterns were read with are set again.
    const LibraryPattern* old =
        existing >= 0 ? &index.patterns[static_cast<std::size_t>(existing)] : nullptr;
    const std::size_t cut = old ? old->beginByte : library.size();
    const std::size_t resume = old ? old->endByte : library.size();
    const std::string before = UnitsBefore(library, cut);
    const std::string own = UnitsBefore(range, range.size());
    std::string wanted = pattern.units;
    if (wanted.empty() && old) wanted = old->units;
    std::string head;
    std::string blockEnd = own;
    if (own.empty()) {
        blockEnd = before;
        if (!wanted.empty() && !SameUnits(wanted, before)) {
            head = UnitsHeader(wanted) + std::string(eol);
            blockEnd = wanted;
        }
    }
    std::string tail;
    const bool patternsFollow =
        old && static_cast<std::size_t>(existing) + 1 < index.patterns.size();
    if (patternsFollow) {
        // No line can say "no units" again: patterns read without any were read with the
        // default, and a units line of the default gives them that again.
        std::string following = UnitsBefore(library, resume);
        if (following.empty()) following = kDefaultUnits;
        const std::string leftInEffect = blockEnd.empty() ? std::string(kDefaultUnits) : blockEnd;
        if (!SameUnits(following, leftInEffect)) tail = UnitsHeader(following) + std::string(eol);
    }

    result.bytes.reserve(library.size() + head.size() + block.size() + tail.size() + eol.size());
    result.bytes.append(library.substr(0, cut));
    const std::string_view kept = WithoutByteOrderMark(result.bytes);
    if (!old && !kept.empty() && kept.back() != '\n' && kept.back() != '\r') result.bytes += eol;
    result.bytes += head;
    result.bytes += block;
    result.bytes += tail;
    result.bytes.append(library.substr(resume));
    result.status = old ? LibraryAddStatus::Replaced : LibraryAddStatus::Added;
    return result;
}

}  // namespace murvex
