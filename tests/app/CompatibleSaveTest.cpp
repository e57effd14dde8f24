// "Compatibel opslaan" on each tab: off at start, and once ticked "Maak hatch" and the preview
// write the compatible way, which the preview's warning list no longer warns about.
#include <gtest/gtest.h>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <fstream>

#include "AppTestSupport.h"
#include "FigureTab.h"
#include "PreviewForm.h"
#include "TempDir.h"
#include "TextGridModel.h"

namespace murvex::test {
namespace {

struct TabRow {
    const char* name;
    QWidget* (*tab)(app::TMainForm&);
    const char* box;
    const char* create;
    const char* preview;
    // Fills the tab with something to write; returns the name line the compatible file gets.
    std::string (*fill)(app::TMainForm&, TempDir&);
};

const TabRow kTabs[] = {
    {"bond", [](app::TMainForm& f) -> QWidget* { return f.MetselverbandenTab; },
     "CompatibelOpslaanVerband", "CreateHatchButton", "VoorbeeldButton",
     [](app::TMainForm&, TempDir&) {
         return std::string("*Halfsteensverband, Halfsteensverband");
     }},
    {"free lines", [](app::TMainForm& f) -> QWidget* { return f.TabSheetVrijeLijn; },
     "CompatibelOpslaanVrijeLijn", "VrijeLijnMaakHatch", "VoorbeeldVrijeLijn",
     [](app::TMainForm& f, TempDir&) {
         app::TextGridModel* model = GridModelOf(*f.TabSheetVrijeLijn, "LijnGrid");
         const QStringList row = {"45.000", "0", "0", "0", "10.500", "20", "-5.0"};
         for (int c = 0; c < row.size(); ++c)
             model->setData(model->index(0, c), row[c]);
         return std::string("*naam arcering, naam arcering");
     }},
    {"figure", [](app::TMainForm& f) -> QWidget* { return f.VrijFiguurTabSheet; },
     "CompatibelOpslaanVrijFiguur", "ButtonCreateHatch", "VoorbeeldFiguur",
     [](app::TMainForm& f, TempDir& dir) {
         const std::string list = dir.File("figuur.txt");
         std::ofstream(list, std::ios::binary)
             << ";%SIZE=600,300\r\n;%UNITS=MM\r\n*hek\r\n;%TYPE=MODEL\r\n"
                "0,0,600,300\r\n12.5,0,300,150\r\n";
         f.VrijFiguurTabSheet->OpenFigureListFile(list);
         return std::string("*hek, hek");
     }},
};

TEST(CompatibleSave, EachTabWritesAndPreviewsTheCompatibleWay) {
    for (const TabRow& row : kTabs) {
        SCOPED_TRACE(row.name);
        ShownMainForm w;
        TempDir dir;
        app::TMainForm& form = *w.form;
        QWidget* tab = row.tab(form);
        form.PageControl1->setCurrentWidget(tab);
        auto* box = tab->findChild<QCheckBox*>(row.box);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QStringLiteral("Compatibel opslaan"));
        EXPECT_FALSE(box->isChecked());
        const std::string nameLine = row.fill(form, dir);

        QTest::mouseClick(tab->findChild<QPushButton*>(row.preview), Qt::LeftButton);
        auto* preview = form.findChild<app::TPreviewForm*>();
        ASSERT_NE(preview, nullptr);
        QCoreApplication::processEvents();
        EXPECT_GT(preview->WarningList->count(), 0);  // the name line without a description
        box->setChecked(true);
        QCoreApplication::processEvents();
        // What no way of writing avoids stays: a shift along FreeCAD applies negated, as the
        // figure's diagonal lines have.
        const int left = preview->WarningList->count();
        EXPECT_EQ(left > 0, std::string(row.name) == "figure");
        for (int i = 0; i < left; ++i)
            EXPECT_TRUE(
                preview->WarningList->item(i)->text().endsWith(QStringLiteral("(treft: FreeCAD)")))
                << preview->WarningList->item(i)->text().toStdString();
        EXPECT_EQ(preview->Content().patternLines.at(2), nameLine);

        const std::string file = dir.File("compatibel.pat");
        w.platform.dialogAnswers = {file};
        QTest::mouseClick(tab->findChild<QPushButton*>(row.create), Qt::LeftButton);
        const std::string text = ReadText(file);
        EXPECT_EQ(text, JoinCrLf(preview->Content().patternLines));
        EXPECT_NE(text.find("\r\n" + nameLine + "\r\n"), std::string::npos) << text;
        EXPECT_TRUE(w.platform.messages.empty());
    }
}

}  // namespace
}  // namespace murvex::test
