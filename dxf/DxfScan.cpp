// The gate before dxflib: our own reading of the group structure, the numbers and the counts
// dxflib trusts blindly, and a text of only the records it is to read.
#include "DxfScan.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <vector>

#include "DxfImport.h"
#include "NumberText.h"
#include "Text.h"

namespace murvex::dxf {

namespace {

constexpr std::string_view kBinarySentinel = "AutoCAD Binary DXF";

struct Group {
    int code = 0;
    std::string_view value;
    int line = 0;  // the line of the group code, from 1
};

// Lines end at CR LF, a lone CR or a lone LF; blanks and tabs around them do not count, as
// dxflib strips them.
class GroupReader {
  public:
    explicit GroupReader(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ >= text_.size(); }

    // False at the end of the text; throws on a code that is no number or a missing value.
    bool Next(Group& group) {
        std::string_view codeLine;
        if (!NextLine(codeLine)) return false;
        group.line = number_;
        group.code = ParseCode(codeLine);
        if (!NextLine(group.value))
            throw ScanError("de tekening is afgebroken (regel " + IntText(number_) +
                            " heeft geen waarde)");
        return true;
    }

    struct ScanError {
        std::string message;
        explicit ScanError(std::string m) : message(std::move(m)) {}
    };

  private:
    bool NextLine(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        std::size_t end = pos_;
        while (end < text_.size() && text_[end] != '\r' && text_[end] != '\n')
            ++end;
        line = StripBlanks(text_.substr(pos_, end - pos_));
        pos_ = end;
        if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        ++number_;
        return true;
    }

    static std::string_view StripBlanks(std::string_view s) {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
            s.remove_prefix(1);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
            s.remove_suffix(1);
        return s;
    }

    int ParseCode(std::string_view line) const {
        int code = 0;
        const auto [ptr, ec] = std::from_chars(line.data(), line.data() + line.size(), code);
        if (line.empty() || line.size() > 6 || ec != std::errc() ||
            ptr != line.data() + line.size() || code < -5 || code > 1071)
            throw ScanError("regel " + IntText(number_) + ": \"" + std::string(line.substr(0, 20)) +
                            "\" is geen groepscode");
        return code;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int number_ = 0;
};

using ScanError = GroupReader::ScanError;

bool IsRealCode(int c) {
    return (c >= 10 && c <= 59) || (c >= 110 && c <= 149) || (c >= 210 && c <= 239) ||
           (c >= 460 && c <= 469);
}
bool IsIntCode(int c) {
    return (c >= 60 && c <= 99) || (c >= 170 && c <= 179) || (c >= 270 && c <= 289) ||
           (c >= 370 && c <= 389) || (c >= 400 && c <= 409) || (c >= 420 && c <= 429) ||
           (c >= 440 && c <= 459);
}

std::string LineText(const Group& g) {
    return "regel " + IntText(g.line);
}

// The number written anew, shortest and with a point: dxflib's own reading (a string stream)
// then gives exactly the value checked here.
std::string CanonicalReal(const Group& g) {
    const ParseResult parsed = ParseDecimal(g.value);
    if (!parsed.ok || !std::isfinite(parsed.value))
        throw ScanError(LineText(g) + ": \"" + std::string(g.value.substr(0, 40)) +
                        "\" is geen getal");
    if (std::fabs(parsed.value) > kMaxCoordinate)
        throw ScanError(LineText(g) + ": het getal " + std::string(g.value.substr(0, 40)) +
                        " is te groot");
    char buffer[40];
    const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, parsed.value);
    return std::string(buffer, ec == std::errc() ? ptr : buffer);
}

std::string CanonicalInt(const Group& g) {
    std::string_view s = g.value;
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    long value = 0;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || ptr != s.data() + s.size() || value < -2147483647L ||
        value > 2147483647L)
        throw ScanError(LineText(g) + ": \"" + std::string(g.value.substr(0, 40)) +
                        "\" is geen geheel getal");
    return IntText(value);
}

// The groups dxflib reads of the records handed to it: names, layer, points in the plane,
// sizes, angles, flags and counts, the extrusion. Heights, handles, owners, colours, line types
// and extended data would only cost it time.
bool Wanted(int c) {
    return c == 2 || c == 8 || (c >= 10 && c <= 28) || (c >= 40 && c <= 51) ||
           (c >= 66 && c <= 74) || (c >= 210 && c <= 230);
}

enum class Section { None, Header, Tables, Blocks, Entities, Other };

bool IsTakenKind(std::string_view kind) {
    for (const char* k :
         {"LINE", "LWPOLYLINE", "POLYLINE", "ARC", "CIRCLE", "ELLIPSE", "SPLINE", "INSERT"})
        if (kind == k) return true;
    return false;
}

class Scanner {
  public:
    ScanResult Run(std::string_view bytes) {
        ScanResult result;
        try {
            Check(bytes);
            GroupReader reader(bytes);
            Group g;
            bool eof = false;
            while (!eof && reader.Next(g)) {
                // A comment may stand anywhere, before the first section too (ours starts so).
                if (g.code == 999) continue;
                if (g.code == 0 || (g.code == 9 && InHeader())) {
                    Finish();
                    if (g.code == 0 && g.value == "EOF") eof = true;
                    keep_ = Kept(g);
                    record_.push_back(g);
                } else if (keep_ || (Looked(g.code) && !Has(g.code))) {
                    // A record left out keeps only the groups its fate depends on: memory stays
                    // in proportion to what is handed on, not to the file.
                    if (record_.size() >= kMaxGroupsPerRecord)
                        throw ScanError(
                            LineText(record_.front()) + ": " +
                            std::string(record_.front().value.substr(0, 40)) + " met meer dan " +
                            IntText(static_cast<long>(kMaxGroupsPerRecord)) + " groepen");
                    record_.push_back(g);
                }
            }
            if (!eof) throw ScanError("de tekening is afgebroken (het einde, EOF, ontbreekt)");
            if (section_ != Section::None)
                throw ScanError("de tekening is afgebroken (een sectie wordt niet afgesloten)");
            out_ += "0\nEOF\n";
            result.text = std::move(out_);
            result.entities = entities_;
            result.skipped = std::move(skipped_);
            result.blockSkipped = std::move(blockSkipped_);
            result.utf8 = utf8_;
        } catch (const ScanError& e) {
            result = ScanResult{};
            result.error = e.message;
        }
        return result;
    }

  private:
    static void Check(std::string_view bytes) {
        if (bytes.size() > kMaxDxfBytes) throw ScanError("het bestand is groter dan 64 MiB");
        if (bytes.substr(0, kBinarySentinel.size()) == kBinarySentinel)
            throw ScanError(
                "dit is een binaire DXF; sla de tekening op als DXF in tekstvorm (ASCII)");
        if (bytes.find('\0') != std::string_view::npos)
            throw ScanError("dit is geen DXF in tekstvorm (het bestand bevat nul-bytes)");
    }

    // Variables of the header begin at a code 9, also the first, right after the SECTION (whose
    // name is its first group).
    bool InHeader() const {
        return section_ == Section::Header || afterHeader_ ||
               (record_.size() >= 2 && record_.front().code == 0 &&
                record_.front().value == "SECTION" && record_[1].code == 2 &&
                record_[1].value == "HEADER");
    }

    // Whether all groups of the record that starts with g may be handed on.
    bool Kept(const Group& g) const {
        if (g.code == 9) return g.value == "$INSUNITS";
        const std::string_view kind = g.value;
        switch (section_) {
            case Section::None:
            case Section::Header:
            case Section::Other:
                return false;
            case Section::Tables:
                return kind == "LAYER";
            case Section::Blocks:
                if (kind == "BLOCK" || kind == "ENDBLK") return true;
                if (!inBlock_ || paperBlock_) return false;
                break;
            case Section::Entities:
                break;
        }
        return IsTakenKind(kind) || kind == "VERTEX" || kind == "SEQEND";
    }

    // The groups a record's fate is decided by: names, the version, paper space (the first of
    // each code is all that is looked at).
    static bool Looked(int code) { return code == 1 || code == 2 || code == 67; }

    bool Has(int code) const {
        return !record_.empty() && std::any_of(record_.begin() + 1, record_.end(),
                                               [&](const Group& g) { return g.code == code; });
    }

    std::string_view Value(int code) const {
        for (std::size_t i = 1; i < record_.size(); ++i)
            if (record_[i].code == code) return record_[i].value;
        return {};
    }

    // The record gathered so far is complete: decide what becomes of it.
    void Finish() {
        if (record_.empty()) return;
        const Group head = record_.front();
        if (head.code == 9) {
            HeaderVariable(head.value);
        } else if (head.value == "SECTION") {
            if (section_ != Section::None)
                throw ScanError(LineText(head) + ": een sectie begint binnen een sectie");
            afterHeader_ = false;
            const std::string_view name = Value(2);
            section_ = name == "HEADER"     ? Section::Header
                       : name == "TABLES"   ? Section::Tables
                       : name == "BLOCKS"   ? Section::Blocks
                       : name == "ENTITIES" ? Section::Entities
                                            : Section::Other;
        } else if (head.value == "ENDSEC") {
            // Older writers end the header early ($HANDSEED, ENDSEC) and go on with more
            // variables, closed by a second ENDSEC: those belong to the header still.
            if (section_ == Section::None && afterHeader_) {
                afterHeader_ = false;
                record_.clear();
                return;
            }
            if (section_ == Section::None)
                throw ScanError(LineText(head) + ": ENDSEC zonder sectie");
            if (inBlock_) throw ScanError(LineText(head) + ": een blok wordt niet afgesloten");
            afterHeader_ = section_ == Section::Header;
            section_ = Section::None;
        } else if (head.value == "EOF") {
            // The end; nothing of it goes on.
        } else if (section_ == Section::None) {
            throw ScanError(LineText(head) + ": " + std::string(head.value.substr(0, 40)) +
                            " staat buiten elke sectie");
        } else if (section_ == Section::Tables) {
            if (head.value == "LAYER") Emit();
        } else if (section_ == Section::Blocks) {
            BlockRecord(head);
        } else if (section_ == Section::Entities) {
            EntityRecord(head);
        }
        record_.clear();
    }

    void HeaderVariable(std::string_view name) {
        if (name == "$INSUNITS") {
            Emit();
        } else if (name == "$ACADVER") {
            const std::string_view version = Value(1);
            // AC1021 is AutoCAD 2007, the first to write its texts in UTF-8.
            utf8_ = version.size() == 6 && version.substr(0, 2) == "AC" && version >= "AC1021";
        }
    }

    void BlockRecord(const Group& head) {
        if (head.value == "BLOCK") {
            if (inBlock_) throw ScanError(LineText(head) + ": een blok binnen een blok");
            inBlock_ = true;
            // The paper space layouts are blocks too; nothing of them is the figure.
            paperBlock_ = StartsWithNoCase(Value(2), "*Paper_Space");
            block_ = AsciiUpper(Value(2));
            if (!paperBlock_) Emit();
        } else if (head.value == "ENDBLK") {
            if (!inBlock_) throw ScanError(LineText(head) + ": ENDBLK zonder blok");
            if (!paperBlock_) Emit();
            inBlock_ = false;
            paperBlock_ = false;
        } else if (inBlock_ && !paperBlock_) {
            EntityRecord(head);
        }
    }

    void EntityRecord(const Group& head) {
        const std::string_view kind = head.value;
        // VERTEX and SEQEND belong to the POLYLINE (or INSERT) before them.
        if (kind == "VERTEX" || kind == "SEQEND") {
            if (subRecords_) {
                // A vertex is a point of its polyline and of the drawing.
                if (kind == "VERTEX") CountPoints(polyline_, 1, ++vertices_);
                Emit();
            }
            if (kind == "SEQEND") subRecords_ = false;
            return;
        }
        subRecords_ = false;
        if (Value(67) == "1") {
            ++Skipped()["papierruimte"];
            return;
        }
        if (!IsTakenKind(kind)) {
            Skip(kind);
            return;
        }
        if (++entities_ > static_cast<int>(kMaxEntities))
            throw ScanError("meer dan " + IntText(static_cast<long>(kMaxEntities)) + " elementen");
        subRecords_ = kind == "POLYLINE";
        polyline_ = head;
        vertices_ = 0;
        Emit();
    }

    // An entity left out, counted by its kind; past kMaxSkippedKinds kinds the rest together, so
    // that the report stays short whatever the drawing holds.
    void Skip(std::string_view kind) {
        std::map<std::string, int>& skipped = Skipped();
        std::string name(kind.substr(0, 40));
        if (skipped.size() >= kMaxSkippedKinds && !skipped.count(name)) name = kOtherKinds;
        ++skipped[name];
    }

    std::map<std::string, int>& Skipped() { return inBlock_ ? blockSkipped_[block_] : skipped_; }

    // Hands the record on, checked: numbers, the order of a point's coordinates, the counts.
    void Emit() {
        const Group head = record_.front();
        const bool lwpolyline = head.value == "LWPOLYLINE";
        const bool spline = head.value == "SPLINE";
        std::string body;
        int vertices = 0, knots = 0, controls = 0, fits = 0, weights = 0;
        for (std::size_t i = 1; i < record_.size(); ++i) {
            const Group& g = record_[i];
            const int c = g.code;
            // Extended data, application groups and comments are of no use here.
            if (!Wanted(c)) continue;
            if (g.value.size() > kMaxLineLength)
                throw ScanError(LineText(g) + " is langer dan " +
                                IntText(static_cast<long>(kMaxLineLength)) + " tekens");
            CheckCoordinateOrder(i);
            if (lwpolyline) {
                if (c == 90) continue;
                if (c == 10) ++vertices;
                if ((c == 42 || c == 40 || c == 41) && vertices == 0)
                    throw ScanError(LineText(g) + ": groepscode " + IntText(c) +
                                    " voor het eerste hoekpunt");
            }
            if (spline) {
                if (c == 72 || c == 73 || c == 74) continue;
                knots += c == 40;
                controls += c == 10;
                fits += c == 11;
                weights += c == 41;
            }
            body += IntText(c);
            body += '\n';
            if (IsRealCode(c))
                body += CanonicalReal(g);
            else if (IsIntCode(c))
                body += CanonicalInt(g);
            else
                body += g.value;
            body += '\n';
        }
        const std::size_t points = static_cast<std::size_t>(vertices + knots + controls + fits);
        CountPoints(head, points, points);
        if (weights > controls)
            throw ScanError(LineText(head) + ": SPLINE met meer gewichten dan punten");
        out_ += head.code == 9 ? "9\n" : "0\n";
        out_ += head.value;
        out_ += '\n';
        if (lwpolyline) out_ += "90\n" + IntText(vertices) + "\n";
        if (spline) {
            out_ += "72\n" + IntText(knots) + "\n73\n" + IntText(controls) + "\n74\n" +
                    IntText(fits) + "\n";
        }
        out_ += body;
    }

    // The entity at head has `own` points so far; `added` of them are new to the drawing.
    void CountPoints(const Group& head, std::size_t added, std::size_t own) {
        if (own > kMaxPointsPerEntity)
            throw ScanError(LineText(head) + ": " + std::string(head.value.substr(0, 40)) +
                            " met meer dan " + IntText(static_cast<long>(kMaxPointsPerEntity)) +
                            " punten");
        points_ += added;
        if (points_ > kMaxEntities)
            throw ScanError("meer dan " + IntText(static_cast<long>(kMaxEntities)) +
                            " punten in de tekening");
    }

    // An X (10 to 18) is followed by its Y, a Y and a Z (30 to 37) follow their X and Y.
    void CheckCoordinateOrder(std::size_t i) const {
        const Group& g = record_[i];
        const int c = g.code;
        const auto codeAt = [&](std::size_t j) {
            return j < record_.size() ? record_[j].code : -100;
        };
        const bool ok = (c >= 10 && c <= 18)   ? codeAt(i + 1) == c + 10
                        : (c >= 20 && c <= 28) ? codeAt(i - 1) == c - 10
                        : (c >= 30 && c <= 37) ? codeAt(i - 1) == c - 10
                                               : true;
        if (!ok)
            throw ScanError(LineText(g) + ": groepscode " + IntText(c) +
                            " staat niet op zijn plaats");
    }

    std::vector<Group> record_;
    std::string out_;
    Section section_ = Section::None;
    bool inBlock_ = false;
    bool paperBlock_ = false;
    bool subRecords_ = false;
    bool utf8_ = false;
    bool keep_ = false;
    bool afterHeader_ = false;  // the header's ENDSEC was the last record
    Group polyline_;            // the POLYLINE whose vertices follow
    std::size_t vertices_ = 0;
    int entities_ = 0;
    std::size_t points_ = 0;
    std::map<std::string, int> skipped_;
    std::map<std::string, std::map<std::string, int>> blockSkipped_;
    std::string block_;  // the name of the block being read, in capitals
};

}  // namespace

ScanResult ScanDxf(std::string_view bytes) {
    return Scanner().Run(bytes);
}

}  // namespace murvex::dxf
