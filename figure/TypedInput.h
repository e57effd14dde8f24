// The texts the typed-length box takes while a segment is open: a length (along the rubber
// line), "@dx,dy" (from the start point), "x,y" (tile coordinates), and a length with an angle
// "@L<A" (also "<L<A" and "L<A"; degrees counter-clockwise from the x axis).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "FigureModel.h"

namespace murvex::figure {

struct TypedInput {
    enum class Form { Length, Relative, Absolute, Polar };
    Form form = Form::Length;
    long double a = 0;  // the length, dx, x or the polar length
    long double b = 0;  // dy, y or the angle in degrees
};

// The same in every locale. Numbers are read as everywhere in the program (a comma or a point as
// decimal separator). ";" always separates two numbers ("@2,5;0", "30,5;40"); without a ";" a
// single "," does, so "@50,20", "@2.5,0" and "30.5,40" are points. A text that reads as one
// number is a length, also "100,5" (100.5): the typed length keeps its meaning. Nothing for any
// other text, "@2,5,0" among them (it could be read two ways).
std::optional<TypedInput> ParseTypedInput(std::string_view text);

// Where a typed point lies (not for a plain length, which follows the rubber line).
TilePoint TypedInputPoint(const TypedInput& input, TilePoint start);

// The characters that open the typed-length box besides a digit.
inline bool OpensTypedInput(char key) {
    return (key >= '0' && key <= '9') || key == '@' || key == '<';
}

// The warning after a text the box does not take: kInvalidLengthText's words first, then the
// forms it does take, the pair separator as the user's decimal separator leaves it.
std::string TypedInputRefusedText(char userSeparator);

}  // namespace murvex::figure
