// Window handles for the libraries: a small registry from handle numbers to live widgets.
#include "WindowHandles.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

namespace murvex::app {
namespace {

constexpr WindowHandle kApplicationHandle = 1;

struct Registry {
    QHash<WindowHandle, QPointer<QWidget>> windows;
    QPointer<QWidget> applicationWindow;
    WindowHandle next = kApplicationHandle + 1;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

}  // namespace

WindowHandle HandleOf(QWidget* window) {
    if (!window) return 0;
    Registry& r = TheRegistry();
    for (auto it = r.windows.begin(); it != r.windows.end();) {
        if (it.value().isNull()) {
            it = r.windows.erase(it);
        } else if (it.value() == window) {
            return it.key();
        } else {
            ++it;
        }
    }
    const WindowHandle handle = r.next++;
    r.windows.insert(handle, window);
    return handle;
}

QWidget* WindowOf(WindowHandle handle) {
    if (handle <= 0) return nullptr;
    Registry& r = TheRegistry();
    if (handle == kApplicationHandle) return r.applicationWindow.data();
    const auto it = r.windows.constFind(handle);
    return it == r.windows.constEnd() ? nullptr : it.value().data();
}

WindowHandle ApplicationHandle() {
    return kApplicationHandle;
}

void SetApplicationWindow(QWidget* mainWindow) {
    TheRegistry().applicationWindow = mainWindow;
}

}  // namespace murvex::app
