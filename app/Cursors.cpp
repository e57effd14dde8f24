// The two drawing cursors of the figure canvas, in the application's cursor table.
#include "Cursors.h"

#include <QBitmap>
#include <QHash>

#include "StartUp.h"

namespace murvex::app {
namespace {

// Both cursors are 32 x 32 monochrome pictures with the hot spot in the middle.
constexpr int kHotSpot = 16;

QHash<int, QCursor>& CursorTable() {
    static QHash<int, QCursor> table;
    return table;
}

bool LoadCursor(int number, const char* resourceName) {
    const QString path = QStringLiteral(":/cursors/%1.xbm").arg(QLatin1String(resourceName));
    QBitmap shape(path);
    if (shape.isNull()) return false;
    // Only the drawn pixels cover the screen; everything else is transparent.
    CursorTable().insert(number, QCursor(shape, shape, kHotSpot, kHotSpot));
    return true;
}

}  // namespace

bool RegisterDrawingCursors() {
    InitResources();
    const bool teken = LoadCursor(kTekenCursor, "TEKENCURSOR");
    const bool kruis = LoadCursor(kKruisCursor, "KRUISCURSOR");
    return teken && kruis;
}

QCursor ScreenCursor(int number) {
    return CursorTable().value(number, QCursor(Qt::ArrowCursor));
}

}  // namespace murvex::app
