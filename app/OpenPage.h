// Opening a page in the browser, with a way out when no browser starts.
#pragma once

#include <QString>

#include "Platform.h"

namespace murvex::app {

// Opens address (a web address or a file:// address) through the platform. When that fails
// the user gets an information box with the address, or for a local file its path, to open it
// by hand. Returns whether the browser took the page.
bool OpenPageOrTell(Platform& platform, const QString& address, WindowHandle owner);

}  // namespace murvex::app
