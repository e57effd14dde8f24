// The library splitter on any bytes, and adding and replacing a pattern (with and without units)
// in whatever it accepts: ranges in file order and inside the text, every byte outside the
// replaced range kept, every other pattern that draws read with the units it was read with.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "PatternHeader.h"
#include "PatternLibrary.h"
#include "Text.h"

using namespace murvex;

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

const std::string kPatterns[] = {"*P1\r\n0, 0, 0, 0, 1\r\n;\r\n",
                                 ";%UNITS=INCH\r\n*P1\r\n0, 0, 0, 0, 1\r\n;\r\n"};

std::string_view UnitsRead(const LibraryPattern& p) {
    return p.units.empty() ? std::string_view(kDefaultUnits) : std::string_view(p.units);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const LibraryIndex index = SplitLibrary(bytes);
    std::size_t previousEnd = 0;
    for (const LibraryPattern& p : index.patterns) {
        Require(p.beginByte >= previousEnd && p.beginByte <= p.endByte && p.endByte <= size);
        Require(p.firstLine <= p.nameLine && p.nameLine < p.endLine);
        Require(p.patternLines <= p.endLine - p.firstLine);
        previousEnd = p.endByte;
        (void)PatternFileOf(bytes, p);
    }
    for (const std::string& pattern : kPatterns) {
        for (const bool replace : {false, true}) {
            const LibraryAddResult r = AddToLibrary(bytes, pattern, replace);
            if (r.status == LibraryAddStatus::Added) {
                Require(r.bytes.compare(0, size, bytes) == 0);
            } else if (r.status == LibraryAddStatus::Replaced) {
                const LibraryPattern& old =
                    index.patterns[static_cast<std::size_t>(FindLibraryPattern(index, "P1"))];
                Require(r.bytes.compare(0, old.beginByte, bytes, 0, old.beginByte) == 0);
                const std::size_t tail = size - old.endByte;
                Require(r.bytes.size() >= tail && r.bytes.compare(r.bytes.size() - tail, tail,
                                                                  bytes, old.endByte, tail) == 0);
            } else {
                Require(r.bytes.empty());
            }
            if (r.bytes.empty()) continue;
            const LibraryIndex after = SplitLibrary(r.bytes);
            const int at = FindLibraryPattern(after, "p1");
            Require(at >= 0);
            Require(after.patterns.size() ==
                    index.patterns.size() + (r.status == LibraryAddStatus::Added ? 1 : 0));
            // A pattern without pattern lines takes the header lines below its name, the new
            // block's head too; it draws nothing in any units.
            for (std::size_t i = 0; i < index.patterns.size(); ++i) {
                if (static_cast<int>(i) != at && index.patterns[i].patternLines > 0)
                    Require(
                        EqualsNoCase(UnitsRead(index.patterns[i]), UnitsRead(after.patterns[i])));
            }
        }
    }
    return 0;
}
