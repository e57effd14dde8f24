// Parts that several tabs build the same way: the speed-button pictures and the edit combo boxes.
#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

#include "CompatiblePattern.h"

class QCheckBox;
class QComboBox;
class QWidget;

namespace murvex::app {

enum class Glyph { Picture, NoPicture, Plus, Minus, Save, Open, Help, Arrow, Pencil };

// The 16 x 16 picture of a tab's speed button or action.
QIcon GlyphIcon(Glyph glyph);

// A combo box with an edit field at the height of a tab's bottom row: its items, or any text
// typed into it. hint may be null (no tool tip).
QComboBox* TextCombo(QWidget* parent, const char* name, const QStringList& items, int left,
                     int width, const char* hint);

// Shows text in the combo, choosing the item of that text when there is one.
void SetComboText(QComboBox* combo, const QString& text);

// The check box "Compatibel opslaan" of a tab, off, its size fitted to its text at (left, top).
QCheckBox* CompatibleBox(QWidget* parent, const char* name, int left, int top);
// The way the tab's writer writes while the box is as it is.
PatternStyle StyleOf(const QCheckBox* box);

}  // namespace murvex::app
