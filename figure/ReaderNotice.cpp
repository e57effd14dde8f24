// What to tell the user at once after "Maak hatch" wrote a file that some CAD programs misread.
#include "ReaderNotice.h"

#include <vector>

#include "PatternCheck.h"
#include "Text.h"

namespace murvex::figure {

std::optional<std::string> ReaderNotice(const LineList& lines, std::string_view fileName,
                                        PatternStyle style) {
    if (style == PatternStyle::Compatible) return std::nullopt;
    std::vector<std::string> readers;
    std::size_t count = 0;
    for (const PatternWarning& w : CheckPatternText(JoinCrLf(lines), fileName)) {
        // Only what the compatible way of writing mends.
        if (w.code != CheckCode::LongLine && w.code != CheckCode::NoDescription &&
            w.code != CheckCode::EmptyPatternLine)
            continue;
        ++count;
        std::string_view names = CheckCodeReaders(w.code);
        while (!names.empty()) {
            const std::size_t comma = names.find(',');
            const std::string name(Trim(names.substr(0, comma)));
            names = comma == std::string_view::npos ? std::string_view() : names.substr(comma + 1);
            bool known = false;
            for (const std::string& r : readers)
                known = known || r == name;
            if (!known && !name.empty()) readers.push_back(name);
        }
    }
    if (readers.empty()) return std::nullopt;
    std::string list;
    for (std::size_t i = 0; i < readers.size(); ++i)
        list += (i == 0 ? "" : i + 1 == readers.size() ? " en " : ", ") + readers[i];
    return "Het bestand is geschreven, maar " + list + " lezen het niet goed (" +
           IntText(static_cast<long>(count)) + (count == 1 ? " waarschuwing" : " waarschuwingen") +
           ", zie \"Voorbeeld\").\n\nVink \"Compatibel opslaan\" aan en schrijf het opnieuw: dan "
           "lezen zij hetzelfde patroon wel.";
}

}  // namespace murvex::figure
