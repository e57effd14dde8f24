// The pattern file reader on any bytes, its tab-separated and JSON output, and the round trip
// of the tab-separated text back into the same grid and texts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "GridText.h"
#include "HatchReader.h"

using namespace murvex;
using namespace murvex::freelines;

namespace {

// Only the line ends it writes itself, and no control character a terminal would act on.
void CheckPlain(std::string_view text, bool tabsAllowed) {
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\n' || (tabsAllowed && c == '\t')) continue;
        if (u < 0x20 || u == 0x7F || u == 0x81 || u == 0x8D || u == 0x8F || u == 0x90 || u == 0x9D)
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TextGrid grid = MakeLijnGrid();
    FreeLineTexts texts;
    ReadResult result;
    if (ReadHatchBytes(bytes, grid, texts, result) != FileReadStatus::Ok) return 0;
    if (grid.RowCount() < 2) std::abort();

    const std::string tab = FormatTabText(grid, texts);
    const std::string json = FormatJson(grid, texts, result.multiplePatterns);
    CheckPlain(tab, true);
    CheckPlain(json, false);

    FreeLineTexts back{"", "", ""};
    const TabTextReading reading = ParseTabText(tab, back);
    if (!reading.ok) std::abort();
    if (back.units != texts.units || back.type != texts.type || back.name != texts.name)
        std::abort();
    if (reading.grid.RowCount() != grid.RowCount()) std::abort();
    for (int r = 1; r < grid.RowCount(); ++r) {
        for (int c = kFirstDataCol; c < kColCount; ++c) {
            if (reading.grid.Cell(c, r) != grid.Cell(c, r)) std::abort();
        }
    }
    return 0;
}
