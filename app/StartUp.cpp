// The program's start: fonts, resources, cursors and the five forms in their order.
#include "StartUp.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QStyle>
#include <QStyleFactory>

#include "Cursors.h"
#include "ErrorUnit.h"
#include "InputRubberUnit.h"
#include "fAbout.h"
#include "fMain.h"
#include "fNewVrijHachDialog.h"

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitAppResources() {
    Q_INIT_RESOURCE(app);
}

namespace murvex::app {

void InitResources() {
    static const bool done = [] {
        InitAppResources();
        return true;
    }();
    (void)done;
}

int RegisterDesignFonts() {
    // Where Debian's fonts-wine puts the faces the window's pixel layout is measured for.
    static const char* const kFiles[] = {
        "/usr/share/wine/fonts/tahoma.ttf",
        "/usr/share/wine/fonts/tahomabd.ttf",
        "/usr/share/wine/fonts/ms_sans_serif.ttf",
    };
    static int registered = -1;
    if (registered >= 0) return registered;
    registered = 0;
    for (const char* file : kFiles) {
        const QString path = QString::fromLatin1(file);
        if (QFile::exists(path) && QFontDatabase::addApplicationFont(path) >= 0) ++registered;
    }
    return registered;
}

void ApplyDesignStyle() {
#ifndef Q_OS_WIN
    // The control sizes are those of the classic Windows controls; elsewhere that look is kept.
    if (QStyle* classic = QStyleFactory::create(QStringLiteral("Windows"))) {
        QApplication::setStyle(classic);
    }
#endif
}

Forms StartUp(Platform& platform) {
    ApplyDesignStyle();
    InitResources();
    RegisterDesignFonts();
    RegisterDrawingCursors();

    Forms forms;
    forms.mainForm = std::make_unique<TMainForm>(platform);
    TMainForm* owner = forms.mainForm.get();
    forms.aboutForm = new TAboutForm(platform, owner);
    forms.newVrijHatch = new TNewVrijHatch(owner);
    forms.errorForm = new TErrorForm(owner);
    forms.inputRubberForm = new TInputRubberForm(owner);
    owner->AttachForms(forms.newVrijHatch, forms.errorForm, forms.inputRubberForm);
    return forms;
}

}  // namespace murvex::app
