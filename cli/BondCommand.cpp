// murvex-cli bond: the pattern file of one brick bond, byte for byte as "Maak Hatch" writes it.
#include <array>
#include <memory>
#include <span>
#include <string>

#include <CLI/CLI.hpp>

#include "BondGenerator.h"
#include "BrickFormats.h"
#include "Commands.h"
#include "Cp1252.h"
#include "Msg.h"
#include "PatternFile.h"

namespace murvex::cli {

namespace {

struct BondOptions {
    std::string bond;
    std::string format;
    bonds::BondTexts texts{"", "", "", "", "0", ""};
    // --length, --length-joint, --height, --height-joint and --width, in the order of Dimension.
    std::array<CLI::Option*, 5> dimensions{};
    std::string name;
    bool nameGiven = false;
    std::string output;
    bool force = false;
    bool compatible = false;
};

std::string* Dimension(bonds::BondTexts& texts, std::size_t i) {
    const std::array<std::string*, 5> all{&texts.length, &texts.lengthJoint, &texts.height,
                                          &texts.heightJoint, &texts.width};
    return all[i];
}

int RunBond(BondOptions o) {
    if (!o.format.empty()) {
        const bonds::BrickFormat* format = bonds::FindBrickFormat(Utf8ToCp1252(o.format));
        if (format == nullptr) {
            Complain("unknown format \"" + o.format + "\"; `murvex-cli formats` lists them");
            return kExitInvalid;
        }
        // The format fills what was not given, as choosing it fills the tab's edits.
        const bonds::FormatTexts texts = bonds::TextsOfFormat(*format);
        const std::array<const std::string*, 5> filled{
            &texts.length, &texts.lengthJoint, &texts.height, &texts.heightJoint, &texts.width};
        for (std::size_t i = 0; i < filled.size(); ++i) {
            if (o.dimensions[i]->count() == 0) *Dimension(o.texts, i) = *filled[i];
        }
    } else {
        // The width may stay out: headers (L - J) / 2 long.
        for (const CLI::Option* option : std::span(o.dimensions).first(4)) {
            if (option->count() == 0) {
                Complain(option->get_name() + " is required without --format");
                return kExitInvalid;
            }
        }
    }
    const int index = bonds::BondIndexFromText(o.bond);
    if (index < 0) {
        Complain("unknown bond \"" + o.bond + "\"; `murvex-cli bonds` lists them");
        return kExitInvalid;
    }
    // The window puts the bond's own name into the name field when the bond is chosen.
    const std::string name =
        o.nameGiven ? Utf8ToCp1252(o.name) : std::string(bonds::BondNames()[index]);
    // The window normalises to the user's separator and writes that back into its edits; here
    // there is nothing to write back into, and the parser takes a comma or a point either way.
    const bonds::BondReading reading = bonds::ReadBondTexts(index, o.texts, name, '.');
    if (!reading.valid) {
        Complain(kInvalidValueText);
        return kExitInvalid;
    }
    const PatternStyle style = o.compatible ? PatternStyle::Compatible : PatternStyle::Specified;
    return WriteOutput(o.output, JoinCrLf(bonds::GenerateBond(reading.input, style)), o.force);
}

}  // namespace

Subcommand AddBondCommand(CLI::App& parent) {
    auto options = std::make_shared<BondOptions>();
    CLI::App* app = parent.add_subcommand(
        "bond", "Write the pattern file of a brick bond (the bond tab's \"Maak Hatch\").");
    app->add_option("--bond", options->bond,
                    "The bond, by name (case ignored) or by its index 0-9; see `murvex-cli bonds`")
        ->required();
    options->dimensions[0] =
        app->add_option("--length", options->texts.length, "Brick length L (comma or point)");
    options->dimensions[1] = app->add_option("--length-joint", options->texts.lengthJoint,
                                             "Brick length plus head joint Lv");
    options->dimensions[2] = app->add_option("--height", options->texts.height, "Brick height H");
    options->dimensions[3] = app->add_option("--height-joint", options->texts.heightJoint,
                                             "Brick height plus bed joint Hv");
    options->dimensions[4] =
        app->add_option("--width", options->texts.width,
                        "Brick width: the length of a header (default (L - J) / 2, as without it)");
    app->add_option("--format", options->format,
                    "A brick format by name (case ignored; see `murvex-cli formats`): fills the\n"
                    "dimensions and the width not given, with joints of 10 mm (head) and 12.5 mm\n"
                    "(bed)");
    app->add_option("--rotation", options->texts.rotation,
                    "Rotation in degrees, counter-clockwise (default 0; a text that is not a "
                    "number counts as 0)");
    app->add_option("--name", options->name,
                    "Pattern name written after \"*\" (default: the bond's name)")
        ->each([options](const std::string&) { options->nameGiven = true; });
    app->add_option("-o,--output", options->output,
                    "Output file; standard output when absent or \"-\"");
    app->add_flag("--force", options->force, "Replace an existing output file (atomically)");
    app->add_flag(kCompatibleFlag, options->compatible, kCompatibleHelp);
    app->footer(
        "Example:\n"
        "  murvex-cli bond --bond Kruisverband --length 210 --length-joint 220 --height 50 \\\n"
        "      --height-joint 62,5 --rotation 30 -o kruis.pat\n"
        "  murvex-cli bond --bond Kruisverband --format Waalformaat -o kruis.pat\n"
        "Exit status: 0 written, 1 file not written, 2 invalid value (\"" +
        std::string(kInvalidValueText) + "\") or unknown bond or format.");
    return {app, [options] { return RunBond(*options); }};
}

}  // namespace murvex::cli
