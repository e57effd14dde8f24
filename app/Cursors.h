// The two drawing cursors of the figure canvas, in the application's cursor table.
#pragma once

#include <QCursor>

namespace murvex::app {

inline constexpr int kTekenCursor = 101;  // resource "TEKENCURSOR"
inline constexpr int kKruisCursor = 102;  // resource "KRUISCURSOR"

// Loads both cursor resources and registers them under their numbers; false when one is missing.
bool RegisterDrawingCursors();
// A registered cursor; the arrow when the number is not registered.
QCursor ScreenCursor(int number);

}  // namespace murvex::app
