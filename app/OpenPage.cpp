// Opening a page in the browser, with a way out when no browser starts.
#include "OpenPage.h"

#include <QDir>
#include <QUrl>

#include "Msg.h"
#include "QtText.h"

namespace murvex::app {
bool OpenPageOrTell(Platform& platform, const QString& address, WindowHandle owner) {
    if (platform.OpenUrl(ToFileText(address), owner)) return true;
    const QUrl url(address);
    const QString where = url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : address;
    platform.MessageBox(ToFileText(QStringLiteral("De pagina kon niet in een browser worden "
                                                  "geopend. U kunt hem zelf openen:\n") +
                                   where),
                        "Murvex", style::kInformation, owner);
    return false;
}

}  // namespace murvex::app
