// Libraries and brick formats in the window: the library dialog, adding from a tab, "Formaat".
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "AppTestSupport.h"
#include "LibraryForm.h"
#include "LibrarySave.h"
#include "TempDir.h"
#include "Text.h"

namespace murvex::test {
namespace {

TEST(LibraryWindow, OpensOnePatternOfALibraryDrawingOnlyThePicturesInView) {
    ShownMainForm w;
    TempDir dir;
    const std::string lib = dir.File("lib.pat");
    std::string text = ";%UNITS=INCH\r\n";
    for (int i = 0; i < 300; ++i) {
        text += "*P" + IntText(i) + ", nummer " + IntText(i) + "\r\n";
        text += IntText(i % 90) + ", 0, 0, 0, 1\r\n90, 0, 0, 0, 2, 1, -1\r\n";
    }
    WriteText(lib, text);
    w.platform.dialogAnswers = {lib};

    int rows = 0;
    int drawn = 0;
    WhenModalOpens([&](QWidget* modal) {
        auto* list = modal->findChild<QListView*>(QStringLiteral("LibraryList"));
        ASSERT_NE(list, nullptr);
        list->viewport()->grab();  // paints what is in view
        const auto* model = qobject_cast<const app::LibraryModel*>(list->model());
        ASSERT_NE(model, nullptr);
        rows = model->rowCount();
        // Each pattern with its description.
        EXPECT_TRUE(
            model->index(2).data().toString().startsWith(QStringLiteral("P2 \u2013 nummer 2\n")));
        drawn = model->ThumbnailsDrawn();
        list->setCurrentIndex(model->index(2));
        modal->findChild<QPushButton*>(QStringLiteral("LibraryOpenButton"))->click();
    });
    w.Find<QToolButton>(QStringLiteral("VrijeLijnUitBibliotheek"))->click();

    EXPECT_EQ(rows, 300);
    EXPECT_GT(drawn, 0);
    EXPECT_LT(drawn, 30);
    const QAbstractItemModel* grid = w.Find<QTableView>(QStringLiteral("LijnGrid"))->model();
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->index(0, 0).data().toString(), "2");
    EXPECT_EQ(grid->index(1, 6).data().toString(), "-1");
    // The name edit shows the name, the description field the description.
    EXPECT_EQ(w.Find<QLineEdit>(QStringLiteral("NaamVrijeLijnArcering"))->text(), "P2");
    EXPECT_EQ(w.Find<QLineEdit>(QStringLiteral("BeschrijvingVrijeLijn"))->text(), "nummer 2");
    // The library's units line at the top holds for the pattern.
    EXPECT_EQ(w.Find<QComboBox>(QStringLiteral("VrijeLijnUnits"))->currentText(), "INCH");
    EXPECT_TRUE(w.platform.messages.empty());
}

TEST(LibraryWindow, TheBondTabAddsItsPatternToALibrary) {
    ShownMainForm w;
    TempDir dir;
    const std::string lib = dir.File("lib.pat");
    WriteText(lib, ";; mijn stenen\n");
    w.platform.dialogAnswers = {lib};
    w.Find<QPushButton>(QStringLiteral("AanBibliotheekButton"))->click();
    const std::string written = ReadText(lib);
    EXPECT_EQ(written.rfind(";; mijn stenen\n;%UNITS=MM\n;\n*Halfsteensverband\n", 0), 0u)
        << written;
    EXPECT_EQ(w.platform.recycledContents, std::vector<std::string>{";; mijn stenen\n"});
    // A save dialog, which takes a new library too, and a message saying what went where.
    ASSERT_EQ(w.platform.dialogs.size(), 1u);
    EXPECT_EQ(w.platform.dialogs[0].dialog.kind, FileDialog::Save);
    EXPECT_EQ(w.platform.dialogs[0].dialog.title, kLibraryAddTitle);
    ASSERT_EQ(w.platform.messages.size(), 1u);
    EXPECT_EQ(w.platform.messages[0].text, LibraryAddedText("Halfsteensverband", lib, false));
}

TEST(LibraryWindow, AFormatFillsTheDimensionsAndTypingMakesItAnOwnSize) {
    ShownMainForm w;
    auto* combo = w.Find<QComboBox>(QStringLiteral("FormaatCombo"));
    ASSERT_NE(combo, nullptr);
    // The default dimensions are a Waalformaat brick with its joints.
    EXPECT_EQ(combo->currentText(), "Waalformaat");

    const int vecht = combo->findText(QStringLiteral("Vechtformaat"));
    combo->setCurrentIndex(vecht);
    emit combo->activated(vecht);
    const auto text = [&](const char* name) {
        return w.Find<QLineEdit>(QString::fromLatin1(name))->text();
    };
    EXPECT_EQ(text("SteenlengteEdit"), "210");
    EXPECT_EQ(text("SteenLengteVoegEdit"), "220");
    EXPECT_EQ(text("SteenhoogteEdit"), "40");
    EXPECT_EQ(text("SteenhoogteVoegEdit"), "52.5");
    EXPECT_EQ(combo->currentText(), "Vechtformaat");

    QTest::keyClicks(w.Find<QLineEdit>(QStringLiteral("SteenhoogteEdit")), "5");
    EXPECT_EQ(combo->currentText(), "Eigen maat");
    EXPECT_EQ(text("SteenhoogteVoegEdit"), "52.5");
}

}  // namespace
}  // namespace murvex::test
