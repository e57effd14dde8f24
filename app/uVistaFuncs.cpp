// Font substitution and the desktop window manager helpers of newer Windows versions.
#include "uVistaFuncs.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QOperatingSystemVersion>
#include <QWidget>
#include <cmath>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace murvex::app {
namespace {

constexpr double kDesignDpi = 96.0;
const char* const kSubstitute = "MS Sans Serif";
const char* const kFallback = "Tahoma";

int PointsToPixels(int points) {
    return static_cast<int>(std::lround(points * kDesignDpi / 72.0));
}

}  // namespace

QFont DesignFont(const char* family, int points) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(PointsToPixels(points));
    return font;
}

void SetBoldItalic(QFont& font) {
    font.setBold(true);
    font.setItalic(true);
    const QString regular = QStringLiteral("Regular");
    font.setStyleName(QFontDatabase::styles(font.family()).contains(regular) ? regular : QString());
}

int DesignPoints(const QFont& font) {
    if (font.pixelSize() > 0) {
        return static_cast<int>(std::lround(font.pixelSize() * 72.0 / kDesignDpi));
    }
    return static_cast<int>(std::lround(font.pointSizeF()));
}

void SubstituteFormFont(QWidget* form) {
    QFont font = form->font();
    if (font.family().compare(QLatin1String(kSubstitute), Qt::CaseInsensitive) == 0) return;
    const int size = DesignPoints(font);
    font.setFamily(QString::fromLatin1(kSubstitute));
    // The face is accepted when the font system really finds it, not just keeps the name.
    if (QFontInfo(font).family().compare(QLatin1String(kSubstitute), Qt::CaseInsensitive) == 0) {
        font.setPixelSize(PointsToPixels(size + 1));
    } else {
        font.setFamily(QString::fromLatin1(kFallback));
        font.setPixelSize(PointsToPixels(size));
    }
    form->setFont(font);
}

bool IsWindows6OrLater() {
    const QOperatingSystemVersion os = QOperatingSystemVersion::current();
    return os.type() == QOperatingSystemVersion::Windows && os.majorVersion() >= 6;
}

#ifdef Q_OS_WIN
namespace {
// The margins record of the window manager; its field order differs from a rectangle's.
struct DwmMargins {
    int cxLeftWidth;
    int cxRightWidth;
    int cyTopHeight;
    int cyBottomHeight;
};
using IsCompositionEnabledFn = HRESULT(WINAPI*)(BOOL*);
using ExtendFrameFn = HRESULT(WINAPI*)(HWND, const DwmMargins*);
}  // namespace

bool CompositionEnabled() {
    if (!IsWindows6OrLater()) return false;
    HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
    if (!dwm) return false;
    BOOL enabled = FALSE;
    auto fn = reinterpret_cast<IsCompositionEnabledFn>(
        reinterpret_cast<void*>(GetProcAddress(dwm, "DwmIsCompositionEnabled")));
    if (fn) fn(&enabled);
    FreeLibrary(dwm);
    return enabled != FALSE;
}

void ExtendFrame(QWidget* window, const FrameMargins& margins) {
    if (!window || !IsWindows6OrLater() || !CompositionEnabled()) return;
    HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
    if (!dwm) return;
    auto fn = reinterpret_cast<ExtendFrameFn>(
        reinterpret_cast<void*>(GetProcAddress(dwm, "DwmExtendFrameIntoClientArea")));
    if (fn) {
        DwmMargins m{};
        m.cxLeftWidth = margins.left;
        m.cxRightWidth = margins.right;
        m.cyTopHeight = margins.top;
        m.cyBottomHeight = margins.bottom;
        fn(reinterpret_cast<HWND>(window->winId()), &m);
    }
    FreeLibrary(dwm);
}
#else
// No desktop window manager of this kind here: the program behaves as on an older Windows.
bool CompositionEnabled() {
    return false;
}
void ExtendFrame(QWidget*, const FrameMargins&) {}
#endif

}  // namespace murvex::app
