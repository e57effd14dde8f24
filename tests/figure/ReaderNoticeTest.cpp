// The notice after "Maak hatch": only readers that the compatible way of writing would serve.
#include <gtest/gtest.h>

#include "ReaderNotice.h"

namespace murvex::figure {
namespace {

TEST(ReaderNotice, NamesTheReadersThatCompatibleWritingServes) {
    const std::string longLine =
        "18.5208494775, 0.0000000000, 0.0000000000, 20776.1882879229, 0.4741040639, "
        "31.6386235478, -21060.7770749918";
    struct Case {
        const char* name;
        LineList lines;
        PatternStyle style;
        const char* readers;  // nullptr: no notice
    };
    const Case cases[] = {
        {"long figure lines, no description",
         {";%UNITS=MM", ";", "*visgraat", ";%TYPE=MODEL", longLine, ";"},
         PatternStyle::Specified,
         "FreeCAD, ezdxf en AutoCAD"},
        {"described, short lines",
         {";%UNITS=MM", ";", "*visgraat, visgraat", ";%TYPE=MODEL", "0, 0,0, 0,10", ";"},
         PatternStyle::Specified,
         nullptr},
        {"written the compatible way",
         {";%UNITS=MM", ";", "*visgraat", ";%TYPE=MODEL", longLine, ";"},
         PatternStyle::Compatible,
         nullptr},
        {"only what the compatible way does not mend: a name over 31 characters",
         {";%UNITS=MM", ";", "*een-heel-erg-lange-naam-van-een-patroon, x", ";%TYPE=MODEL",
          "0, 0,0, 0,10", ";"},
         PatternStyle::Specified,
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<std::string> notice = ReaderNotice(c.lines, "", c.style);
        if (!c.readers) {
            EXPECT_FALSE(notice);
            continue;
        }
        ASSERT_TRUE(notice);
        EXPECT_NE(notice->find(std::string("maar ") + c.readers + " lezen"), std::string::npos)
            << *notice;
        EXPECT_NE(notice->find("\"Compatibel opslaan\""), std::string::npos);
    }
}

}  // namespace
}  // namespace murvex::figure
