// "Als figuur openen": a pattern's rectangular repeat and what it draws there into the figure
// tab.
#include "PatternAsFigure.h"

#include <optional>
#include <string>

#include "Msg.h"
#include "NumberText.h"
#include "PatternFigure.h"
#include "PatternLibrary.h"
#include "QtText.h"
#include "SaveHatch.h"
#include "TabHost.h"
#include "Text.h"

namespace murvex::app {

namespace {

std::string Reason(const PatternRepeat& r) {
    switch (r.status) {
        case RepeatStatus::NoLines:
            return "Dit patroon tekent niets.";
        case RepeatStatus::LineDrawnOnce:
            return "Een lijn van dit patroon wordt maar één keer getekend (verschuiving 0): het "
                   "patroon herhaalt zich niet.";
        case RepeatStatus::NoRepeat:
            return "Dit patroon herhaalt zich niet in een rechthoek van ten hoogste 100000 "
                   "eenheden (een lijn onder een hoek die zich niet herhaalt, of een te lange "
                   "herhaling).";
        case RepeatStatus::TooManySegments:
            return "Eén herhaling van dit patroon bevat meer dan 100000 lijnstukken.";
        case RepeatStatus::Found:
            break;
    }
    return "De herhaling van dit patroon (" + Fmt(r.width) + " x " + Fmt(r.height) +
           ") is bij geen vergroting met een macht van tien een geheel aantal eenheden.";
}

}  // namespace

void OpenPatternAsFigure(TabHost& form, std::string_view patternText) {
    PatternHeader header;
    const LibraryIndex index = SplitLibrary(patternText);
    if (!index.patterns.empty()) {
        const LibraryPattern& p = index.patterns.front();
        header.name = p.name;
        if (EqualsNoCase(p.units, "INCH")) header.units = "INCH";
        if (EqualsNoCase(p.type, "DRAFTING")) header.type = "DRAFTING";
    }
    RepeatBounds bounds;
    bounds.tolerance = ToleranceOfText(patternText);
    std::optional<figure::PatternFigure> f;
    RunCommand(form.ThePlatform(),
               [&] { f = figure::FigureOfPattern(patternText, header, 0, bounds); });
    if (!f) return;
    if (f->list.empty()) {
        // Latin-1 like every text of the window.
        ShowError(form.ThePlatform(), ToFileText(QString::fromStdString(Reason(f->repeat))),
                  kAsFigureTitle, form.Handle());
        return;
    }
    form.OpenFigureListLines(f->list);
}

}  // namespace murvex::app
