// The program's start: fonts, resources, cursors and the five forms in their order.
#pragma once

#include <memory>

#include "Platform.h"

class QLocale;

namespace murvex::app {

class TMainForm;
class TAboutForm;
class TNewVrijHatch;
class TErrorForm;
class TInputRubberForm;

// Makes the embedded resources (pictures, cursors) reachable; safe to call more than once.
void InitResources();
// Registers the "Tahoma" and "MS Sans Serif" faces when the system has them outside its font
// folders; returns how many font files were registered.
int RegisterDesignFonts();

// Loads Qt's own translations (dialog and button texts) for locale; the program's own texts are
// Dutch already. Replaces what an earlier call loaded; false when there is no translation.
bool InstallQtTranslations(const QLocale& locale);
// Stops Qt's file dialog from keeping a settings file (history, last folder) between runs.
void KeepNoSettings();

// The classic Windows look of the controls the pixel layout is made for (off Windows).
void ApplyDesignStyle();

// The forms of the program. The main window is created first; the others stay hidden until a
// command shows them and are destroyed with the main window.
struct Forms {
    std::unique_ptr<TMainForm> mainForm;
    TAboutForm* aboutForm = nullptr;
    TNewVrijHatch* newVrijHatch = nullptr;
    TErrorForm* errorForm = nullptr;
    TInputRubberForm* inputRubberForm = nullptr;
};

// Everything before the message loop: modules, cursors and the forms, in this order.
Forms StartUp(Platform& platform);

}  // namespace murvex::app
