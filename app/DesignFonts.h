// The forms' fonts: faces and sizes as the forms were designed.
#pragma once

class QWidget;
class QFont;

namespace murvex::app {

// A font as the forms are designed: a face and a size in points, laid out at 96 pixels per inch
// whatever the screen says, since every control position is given in pixels.
QFont DesignFont(const char* family, int points);
// Makes font bold italic so that it also draws bold: wine's "Tahoma Bold" face has thin
// strokes at title sizes, so where the family has a regular face the font engine emboldens that.
void SetBoldItalic(QFont& font);
// The size in points of a font made by DesignFont (or with a point size).
int DesignPoints(const QFont& font);

// Gives a form "MS Sans Serif" one point larger when that face is there, else "Tahoma" at the
// same size; a form already in "MS Sans Serif" keeps its font.
void SubstituteFormFont(QWidget* form);

}  // namespace murvex::app
