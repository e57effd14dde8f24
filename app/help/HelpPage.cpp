// Where the help page on pattern files is found, as a local file address for the browser.
#include "help/HelpPage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

// The page is embedded in a static library: its resources are registered on first use.
static void InitHelpResources() {
    Q_INIT_RESOURCE(help);
}

namespace murvex::app {

namespace {

// Writes an embedded file into the folder unless an equal copy is there already; its path, or
// nothing when it cannot be written.
QString CopyResource(const QDir& dir, const QString& name) {
    QFile resource(QStringLiteral(":/help/") + name);
    if (!resource.open(QIODevice::ReadOnly)) return QString();
    const QByteArray page = resource.readAll();
    const QString path = dir.filePath(name);
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == page) return path;
    existing.close();
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(page) != page.size() || !out.commit()) {
        return QString();
    }
    return path;
}

// Writes the embedded page, with the pictures named after it ("vrijfiguur-*.png"), into the
// temporary folder.
QString CopyFromResources(const QString& pageName) {
    static const bool registered = (InitHelpResources(), true);
    (void)registered;
    if (!QFile::exists(QStringLiteral(":/help/") + pageName)) return QString();

    QString temp = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    if (temp.isEmpty()) temp = QDir::tempPath();
    QDir dir(temp);
    // The user's name keeps two users' copies apart: USER on Linux, USERNAME on Windows.
#ifdef Q_OS_WIN
    const QString user = qEnvironmentVariable("USERNAME");
#else
    const QString user = qEnvironmentVariable("USER");
#endif
    const QString folder = QStringLiteral("murvex-help-") + user;
    if (!dir.mkpath(folder) || !dir.cd(folder)) return QString();
    const QString stem = QFileInfo(pageName).completeBaseName() + QLatin1Char('-');
    for (const QString& name : QDir(QStringLiteral(":/help")).entryList(QDir::Files)) {
        // A missing picture leaves the page readable.
        if (name.startsWith(stem)) CopyResource(dir, name);
    }
    return CopyResource(dir, pageName);
}

}  // namespace

namespace {

QStringList Candidates(const QString& pageName, const QString& programDir) {
    const QDir dir(programDir);
    return {QDir::cleanPath(dir.filePath(QStringLiteral("help/") + pageName)),
            QDir::cleanPath(dir.filePath(QStringLiteral("../share/murvex/help/") + pageName))};
}

}  // namespace

QStringList PatternFileHelpCandidates(const QString& programDir) {
    return Candidates(QLatin1String(kPatternFileHelpName), programDir);
}

QString HelpPageUrl(const QString& pageName, const QString& programDir) {
    for (const QString& candidate : Candidates(pageName, programDir)) {
        if (QFileInfo(candidate).isFile())
            return QUrl::fromLocalFile(candidate).toString(QUrl::FullyEncoded);
    }
    const QString copy = CopyFromResources(pageName);
    if (copy.isEmpty()) return QString();
    return QUrl::fromLocalFile(copy).toString(QUrl::FullyEncoded);
}

QString HelpPageUrl(const QString& pageName) {
    return HelpPageUrl(pageName, QCoreApplication::applicationDirPath());
}

QString PatternFileHelpUrl(const QString& programDir) {
    return HelpPageUrl(QLatin1String(kPatternFileHelpName), programDir);
}

QString PatternFileHelpUrl() {
    return PatternFileHelpUrl(QCoreApplication::applicationDirPath());
}

}  // namespace murvex::app
