// The parts several tabs share: speed-button pictures and the edit combo boxes.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QWidget>
#include <vector>

#include "TabParts.h"

namespace murvex::app {
namespace {

// Every glyph is drawn (no case falls through to an empty picture) and no two look alike.
TEST(GlyphIcon, EveryGlyphIsItsOwnVisiblePicture) {
    const Glyph glyphs[] = {Glyph::Picture, Glyph::NoPicture, Glyph::Plus,
                            Glyph::Minus,   Glyph::Save,      Glyph::Open,
                            Glyph::Help,    Glyph::Arrow,     Glyph::Pencil};
    std::vector<QImage> images;
    for (const Glyph glyph : glyphs) {
        SCOPED_TRACE(static_cast<int>(glyph));
        const QImage image = GlyphIcon(glyph).pixmap(16, 16).toImage();
        ASSERT_EQ(image.size(), QSize(16, 16));
        int opaque = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                opaque += qAlpha(image.pixel(x, y)) > 0;
        EXPECT_GT(opaque, 10);
        for (const QImage& earlier : images)
            EXPECT_NE(image, earlier);
        images.push_back(image);
    }
}

// Typed text that matches an item chooses it (case counts); any other text stays in the edit
// field with the chosen item unchanged.
TEST(SetComboText, ChoosesTheItemOfThatTextOrKeepsTheTypedText) {
    struct Row {
        const char* name;
        QString text;
        int index;
    };
    const Row rows[] = {
        {"second item", QStringLiteral("INCH"), 1},
        {"first item", QStringLiteral("MM"), 0},
        {"other case", QStringLiteral("inch"), 0},
        {"free text", QStringLiteral("FEET"), 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QWidget parent;
        QComboBox* combo = TextCombo(
            &parent, "Units", {QStringLiteral("MM"), QStringLiteral("INCH")}, 110, 100, nullptr);
        SetComboText(combo, row.text);
        EXPECT_EQ(combo->currentText(), row.text);
        EXPECT_EQ(combo->currentIndex(), row.index);
        EXPECT_EQ(combo->count(), 2);  // typed text never becomes an item
    }
}

}  // namespace
}  // namespace murvex::app
