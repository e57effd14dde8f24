// The platform seam on Qt: message boxes, file dialogs, the trash, cursors, the browser.
#include "QtPlatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLocale>
#include <QMessageBox>
#include <QSplitter>
#include <QTreeView>
#include <QUrl>
#include <utility>

#include "QtText.h"
#ifdef Q_OS_WIN
#include "WindowsRecycleBin.h"
#endif
#include "WindowHandles.h"

namespace murvex::app {
namespace {

constexpr int kFileDialogWidth = 860;
constexpr int kFileDialogHeight = 460;
constexpr int kSideBarWidth = 160;
// Name, size, type and date of change.
constexpr int kColumnWidths[] = {280, 80, 120, 150};

QWidget* OwnerWidget(WindowHandle owner) {
    if (QWidget* w = WindowOf(owner)) return w;
    return nullptr;
}

// Paths are UTF-8 in the libraries, on Windows too (where QFile::decodeName would take the
// ANSI code page); Qt passes them to Windows' wide API.
QString PathText(const std::string& path) {
    return QString::fromStdString(path);
}

}  // namespace

void ConfigureMessageBox(QMessageBox& box, MessageStyle style) {
    QList<QMessageBox::StandardButton> buttons;
    switch (style.buttons) {
        case MessageButtons::OkCancel:
            buttons = {QMessageBox::Ok, QMessageBox::Cancel};
            break;
        case MessageButtons::YesNoCancel:
            buttons = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
            break;
        case MessageButtons::Ok:
            buttons = {QMessageBox::Ok};
            break;
    }
    QMessageBox::StandardButtons all;
    for (auto b : buttons)
        all |= b;
    box.setStandardButtons(all);
    // The questions are Dutch whatever the system's language, and so are their answers.
    const std::pair<QMessageBox::StandardButton, QString> answers[] = {
        {QMessageBox::Yes, QStringLiteral("&Ja")},
        {QMessageBox::No, QStringLiteral("&Nee")},
        {QMessageBox::Cancel, QStringLiteral("Annuleren")}};
    for (const auto& [button, text] : answers) {
        if (QAbstractButton* b = box.button(button)) b->setText(text);
    }

    switch (style.icon) {
        case MessageIcon::Stop:
            box.setIcon(QMessageBox::Critical);
            break;
        case MessageIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MessageIcon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
    }

    box.setDefaultButton(buttons.value(style.secondIsDefault ? 1 : 0, buttons.first()));

    // Escape (and the close box) answer Cancel where there is one, else the only button.
    if (buttons.contains(QMessageBox::Cancel)) {
        box.setEscapeButton(QMessageBox::Cancel);
    } else if (buttons.size() == 1) {
        box.setEscapeButton(buttons.first());
    } else if (buttons.contains(QMessageBox::No)) {
        box.setEscapeButton(QMessageBox::No);
    }
}

Answer ButtonCode(const QMessageBox& box, const QAbstractButton* clicked) {
    if (!clicked) clicked = box.escapeButton();
    if (!clicked) return Answer::Cancel;
    switch (box.standardButton(const_cast<QAbstractButton*>(clicked))) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

void ConfigureFileDialog(QFileDialog& qd, const FileDialog& dialog) {
    qd.setWindowTitle(FromFileText(dialog.title));
    QString filters =
        FromFileText(dialog.filterName) + " (" + FromFileText(dialog.filterMask) + ")";
    if (!dialog.moreFilters.empty()) filters += ";;" + FromFileText(dialog.moreFilters);
    qd.setNameFilter(filters);
    qd.setDefaultSuffix(FromFileText(dialog.defaultExt));
    // The save flow asks its own question before an existing file is replaced.
    qd.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.kind == FileDialog::Save) {
        qd.setAcceptMode(QFileDialog::AcceptSave);
        qd.setFileMode(QFileDialog::AnyFile);
    } else {
        qd.setAcceptMode(QFileDialog::AcceptOpen);
        qd.setFileMode(dialog.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    }
    if (!dialog.fileName.empty()) qd.selectFile(PathText(dialog.fileName));

    // Qt's own dialog opens cramped: room for the side bar's names and the size and date
    // columns, also with the longer Dutch texts.
    qd.resize(kFileDialogWidth, kFileDialogHeight);
    if (auto* splitter = qd.findChild<QSplitter*>(QStringLiteral("splitter"))) {
        splitter->setSizes({kSideBarWidth, kFileDialogWidth - kSideBarWidth});
    }
    if (auto* details = qd.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        for (int column = 0; column < 4; ++column) {
            details->header()->resizeSection(column, kColumnWidths[column]);
        }
    }
}

Answer QtPlatform::MessageBox(const std::string& text, const std::string& title, MessageStyle style,
                              WindowHandle owner) {
    QMessageBox box(OwnerWidget(owner));
    // Without a title of its own the window system would name the box after the program file.
    box.setWindowTitle(title.empty() ? QStringLiteral("Murvex") : FromFileText(title));
    box.setText(FromFileText(text));
    box.setTextFormat(Qt::PlainText);
    ConfigureMessageBox(box, style);
    box.exec();
    return ButtonCode(box, box.clickedButton());
}

Answer QtPlatform::MessageBoxWithCheck(const std::string& text, const std::string& title,
                                       MessageStyle style, WindowHandle owner,
                                       const std::string& checkText, bool& checked) {
    QMessageBox box(OwnerWidget(owner));
    box.setWindowTitle(title.empty() ? QStringLiteral("Murvex") : FromFileText(title));
    box.setText(FromFileText(text));
    box.setTextFormat(Qt::PlainText);
    ConfigureMessageBox(box, style);
    auto* check = new QCheckBox(FromFileText(checkText), &box);
    check->setChecked(checked);
    box.setCheckBox(check);
    box.exec();
    checked = check->isChecked();
    return ButtonCode(box, box.clickedButton());
}

void QtPlatform::ShowApplicationError(const std::string& text) {
    QWidget* owner = QApplication::activeWindow();
    if (!owner) owner = WindowOf(ApplicationHandle());
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Murvex"), FromFileText(text),
                    QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtPlatform::RunFileDialog(FileDialog& dialog, WindowHandle owner) {
    QFileDialog qd(OwnerWidget(owner));
    ConfigureFileDialog(qd, dialog);
    if (qd.exec() != QDialog::Accepted) return false;
    const QStringList chosen = qd.selectedFiles();
    if (chosen.isEmpty()) return false;
    dialog.fileName = chosen.first().toStdString();
    return true;
}

bool QtPlatform::FileExists(const std::string& path) {
    // Only a file counts: a folder of the chosen name must never go to the trash.
    return QFileInfo(PathText(path)).isFile();
}

QString HomeTrashFolder() {
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    // A relative XDG_DATA_HOME is invalid and ignored, as the base directory rules say.
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome)) {
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(dataHome + QStringLiteral("/Trash"));
}

bool MakeHomeTrash(const QString& trash) {
    // The home trash is made when it is first needed; only its owner may look inside.
    constexpr auto kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    for (const QString& folder :
         {trash, trash + QStringLiteral("/files"), trash + QStringLiteral("/info")}) {
        if (QFileInfo(folder).isDir()) continue;
        if (!QDir().mkpath(folder) || !QFile::setPermissions(folder, kOwnerOnly)) return false;
    }
    return true;
}

bool IsTrashedPath(const QString& path, const QString& homeTrash) {
    // <trash>/files/<name>, where <trash> is the home trash, a top folder's .Trash-<uid> or
    // .Trash/<uid>.
    const QFileInfo file(path);
    const QDir files = file.dir();
    if (file.fileName().isEmpty() || files.dirName() != QStringLiteral("files")) return false;
    const QString trash = QDir::cleanPath(files.absolutePath() + QStringLiteral("/.."));
    if (trash == QDir::cleanPath(homeTrash)) return true;
    const QFileInfo trashInfo(trash);
    if (trashInfo.fileName().startsWith(QStringLiteral(".Trash-"))) return true;
    return trashInfo.dir().dirName() == QStringLiteral(".Trash");
}

bool QtPlatform::MoveToRecycleBin(const std::string& path) {
#ifdef Q_OS_WIN
    // Windows' own recycle bin: Qt's moveToTrash there gives no trash path to check.
    return murvex::MoveFileToRecycleBin(path);
#endif
    const QString source = PathText(path);
    if (!QFileInfo(source).isFile()) return false;
    const QString trash = HomeTrashFolder();
    if (!MakeHomeTrash(trash)) return false;
    QString trashed;
    if (!QFile::moveToTrash(source, &trashed)) return false;
    if (IsTrashedPath(trashed, trash)) return true;
    // Moved somewhere that is no trash (a fallback inside the working folder): put the file back
    // and drop what was written for it (the note, the folders if they are empty now), so that
    // nothing changed.
    if (!trashed.isEmpty() && QFile::rename(trashed, source)) {
        const QFileInfo moved(trashed);
        const QString files = moved.absolutePath();
        const QString info = QDir::cleanPath(files + QStringLiteral("/../info"));
        QFile::remove(info + QLatin1Char('/') + moved.fileName() + QStringLiteral(".trashinfo"));
        QDir().rmdir(info);
        QDir().rmdir(files);
    }
    return false;
}

bool QtPlatform::DeleteFileForGood(const std::string& path) {
    return QFile::remove(PathText(path));
}

Cursor QtPlatform::CurrentCursor() {
    return busyCursors_ > 0 ? Cursor::Busy : Cursor::Default;
}

void QtPlatform::SetCursor(Cursor cursor) {
    if (cursor == Cursor::Busy) {
        if (busyCursors_ == 0) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            ++busyCursors_;
        }
        return;
    }
    while (busyCursors_ > 0) {
        QGuiApplication::restoreOverrideCursor();
        --busyCursors_;
    }
}

void QtPlatform::ProcessMessages() {
    QCoreApplication::processEvents();
}

bool QtPlatform::OpenUrl(const std::string& url, WindowHandle) {
    return QDesktopServices::openUrl(QUrl::fromUserInput(FromFileText(url)));
}

char QtPlatform::DecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point == QStringLiteral(",") ? ',' : '.';
}

}  // namespace murvex::app
