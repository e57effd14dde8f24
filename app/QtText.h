// The boundary between the window's texts (QString) and the libraries' 8-bit file texts.
#pragma once

#include <QString>
#include <string>

#include "Cp1252.h"

namespace murvex::app {

inline std::string ToFileText(const QString& text) {
    return Utf8ToCp1252(text.toStdString());
}
inline QString FromFileText(const std::string& text) {
    return QString::fromStdString(Cp1252ToUtf8(text));
}

}  // namespace murvex::app
