// The desktop window manager of newer Windows versions: a glass strip along the window's edge.
#include "WindowFrame.h"

#include <QOperatingSystemVersion>
#include <QWidget>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace murvex::app {

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
