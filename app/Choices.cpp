// The few choices the window keeps between runs.
#include "Choices.h"

#include <QHash>
#include <QSettings>
#include <QStandardPaths>
#include <optional>

namespace murvex::app {
namespace {

// Unset: the user's own file, found when first needed.
std::optional<QString>& ChoicesFile() {
    static std::optional<QString> file;
    return file;
}

QHash<QString, bool>& InMemory() {
    static QHash<QString, bool> choices;
    return choices;
}

QString File() {
    if (!ChoicesFile()) {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        ChoicesFile() = folder.isEmpty() ? QString() : folder + QStringLiteral("/keuzes.ini");
    }
    return *ChoicesFile();
}

}  // namespace

bool RememberedChoice(const char* key, bool fallback) {
    const QString name = QString::fromLatin1(key);
    const QString file = File();
    if (file.isEmpty()) return InMemory().value(name, fallback);
    return QSettings(file, QSettings::IniFormat).value(name, fallback).toBool();
}

void RememberChoice(const char* key, bool value) {
    const QString name = QString::fromLatin1(key);
    const QString file = File();
    if (file.isEmpty()) {
        InMemory().insert(name, value);
        return;
    }
    // A file that cannot be written only means the choice is asked again next time.
    QSettings(file, QSettings::IniFormat).setValue(name, value);
}

void SetChoicesFile(const QString& path) {
    ChoicesFile() = path;
    InMemory().clear();
}

}  // namespace murvex::app
