// The program's start: fonts, resources, cursors and the five forms in their order.
#include "StartUp.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QStyle>
#include <QStyleFactory>
#include <QTranslator>

#include "AboutForm.h"
#include "Cursors.h"
#include "ErrorForm.h"
#include "InputRubberForm.h"
#include "MainForm.h"
#include "NewVrijHatch.h"

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
#ifdef Q_OS_WIN
    // Windows has the faces the window's pixel layout is measured for among its own fonts.
    int found = 0;
    for (const char* family : {"Tahoma", "MS Sans Serif"})
        found += QFontDatabase::hasFamily(QString::fromLatin1(family)) ? 1 : 0;
    return found;
#endif
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

bool InstallQtTranslations(const QLocale& locale) {
    // One translator for Qt's own texts, replaced when asked again.
    static QTranslator* installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    installed = translator.release();
    return QCoreApplication::installTranslator(installed);
}

void KeepNoSettings() {
    // Qt's file dialog keeps its history, last folder and layout in the user's QtProject.conf
    // (QSettings, NativeFormat, user scope). The program keeps nothing between runs, so that
    // store points at a folder that cannot exist: reading finds nothing, writing fails quietly.
#ifdef Q_OS_WIN
    // Windows' native format is the registry, which has no such path: files only, under the
    // device NUL, where no folder can be made.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    const QString nowhere = QStringLiteral("NUL/murvex-keeps-no-settings");
#else
    const QString nowhere = QStringLiteral("/dev/null/murvex-keeps-no-settings");
#endif
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, nowhere);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, nowhere);
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
    KeepNoSettings();
    InstallQtTranslations(QLocale::system());
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
