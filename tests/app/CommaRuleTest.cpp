// The window-wide comma rule, with real key events.
#include <gtest/gtest.h>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "AppTestSupport.h"

namespace murvex::test {
namespace {

struct CommaCase {
    const char* name;
    const char* edit;  // objectName of the control
    const char* expected;
};

class CommaRule : public ::testing::TestWithParam<CommaCase> {};

TEST_P(CommaRule, TypedCommaInTheFocusedControl) {
    ShownMainForm w;
    auto* edit = w.Find<QLineEdit>(GetParam().edit);
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->clear();
    QTest::keyClicks(edit, "6,5");
    EXPECT_EQ(edit->text(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    BondTab, CommaRule,
    ::testing::Values(CommaCase{"Steenlengte", "SteenlengteEdit", "6.5"},
                      CommaCase{"SteenLengteVoeg", "SteenLengteVoegEdit", "6.5"},
                      CommaCase{"Steenhoogte", "SteenhoogteEdit", "6.5"},
                      CommaCase{"SteenhoogteVoeg", "SteenhoogteVoegEdit", "6.5"},
                      CommaCase{"Hoekverdraaiing", "HoekverdraaiingEdit", "6,5"},
                      CommaCase{"Naam", "NaamEdit", "6,5"}),
    [](const ::testing::TestParamInfo<CommaCase>& info) { return std::string(info.param.name); });

TEST(CommaRuleOf, PastedTextKeepsItsComma) {
    ShownMainForm w;
    Control<QLineEdit>(*w.form->MetselverbandenTab, "SteenlengteEdit")->setFocus();
    Control<QLineEdit>(*w.form->MetselverbandenTab, "SteenlengteEdit")->clear();
    Control<QLineEdit>(*w.form->MetselverbandenTab, "SteenlengteEdit")
        ->insert("62,5");  // what a paste does
    EXPECT_EQ(Control<QLineEdit>(*w.form->MetselverbandenTab, "SteenlengteEdit")->text(), "62,5");
}

// A registered control whose child editor holds the focus: the editor gets the comma unchanged,
// the control itself a point (as a grid and its open cell editor).
TEST(CommaRuleOf, ARegisteredControlButNotItsOpenEditor) {
    ShownMainForm w;
    auto* grid = new QLineEdit(w.form->TabSheetVrijeLijn);
    auto* cellEditor = new QLineEdit(grid);
    w.form->AddCommaToPointWidget(grid);
    grid->show();
    cellEditor->show();

    cellEditor->setFocus();
    QTest::keyClicks(cellEditor, "6,5");
    EXPECT_EQ(cellEditor->text(), "6,5");

    grid->setFocus();
    QTest::keyClicks(grid, ",5");
    EXPECT_EQ(grid->text(), ".5");
}

TEST(CommaRuleOf, OtherWindowsAreLeftAlone) {
    ShownMainForm w;
    QLineEdit other;
    w.form->AddCommaToPointWidget(&other);
    other.show();
    QApplication::setActiveWindow(&other);
    other.setFocus();
    QTest::keyClicks(&other, "1,5");
    EXPECT_EQ(other.text(), "1,5");
}

}  // namespace
}  // namespace murvex::test
