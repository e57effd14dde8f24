// The forms' fonts: faces and sizes as the forms were designed.
#include "DesignFonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QWidget>
#include <cmath>

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

}  // namespace murvex::app
