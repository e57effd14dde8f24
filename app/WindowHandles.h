// Window handles for the libraries: the message box owners they pass back to the platform.
#pragma once

#include "Platform.h"

class QWidget;

namespace murvex::app {

// The handle of a window, given out once and kept while the window lives; 0 for no window.
WindowHandle HandleOf(QWidget* window);
// The window behind a handle, or nullptr when it has gone or the handle means "no owner".
QWidget* WindowOf(WindowHandle handle);

// The application's own top-level window: the invisible owner of all forms. Qt has no such
// window, so its handle stands for whichever form is the main window at the time.
WindowHandle ApplicationHandle();
void SetApplicationWindow(QWidget* mainWindow);

}  // namespace murvex::app
