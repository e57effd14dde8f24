// The texts the typed-length box takes while a segment is open: a length (along the rubber
// line), "@dx,dy" (from the start point), "x,y" (tile coordinates), and a length with an angle
// "<L<A" (also "L<A" and "@L<A"; degrees counter-clockwise from the x axis).
#pragma once

#include <optional>
#include <string_view>

#include "FigureModel.h"

namespace murvex::figure {

struct TypedInput {
    enum class Form { Length, Relative, Absolute, Polar };
    Form form = Form::Length;
    long double a = 0;  // the length, dx, x or the polar length
    long double b = 0;  // dy, y or the angle in degrees
};

// Numbers are read as everywhere in the program (a comma or a point as decimal separator). Where
// the user's decimal separator is a comma, the two numbers are separated by ";"; otherwise by ","
// or ";". A text that reads as one number is a length, also "100,50" (100.5): the typed length
// keeps its meaning, and a point is then typed "100;50" or "@dx,dy". Nothing for any other text.
std::optional<TypedInput> ParseTypedInput(std::string_view text, char userSeparator);

// Where a typed point lies (not for a plain length, which follows the rubber line).
TilePoint TypedInputPoint(const TypedInput& input, TilePoint start);

// The characters that open the typed-length box besides a digit.
inline bool OpensTypedInput(char key) {
    return (key >= '0' && key <= '9') || key == '@' || key == '<';
}

}  // namespace murvex::figure
