// The desktop window manager of newer Windows versions: a glass strip along the window's edge.
#pragma once

class QWidget;

namespace murvex::app {

// True on Windows 6 (Vista) or later; false on every other system.
bool IsWindows6OrLater();
// True when the desktop window manager composes the screen (Windows only, looked up at run time).
bool CompositionEnabled();

struct FrameMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
// Extends the window frame into the client area by the given widths; does nothing without
// composition.
void ExtendFrame(QWidget* window, const FrameMargins& margins);

}  // namespace murvex::app
