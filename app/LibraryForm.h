// "Uit bibliotheek openen...": the patterns of a library file with a small picture of each, to
// choose the one to load.
#pragma once

#include <QAbstractListModel>
#include <QDialog>
#include <QHash>
#include <QImage>
#include <string>

#include "PatternLibrary.h"

class QListView;
class QPushButton;

namespace murvex::app {

// The patterns of a library as a list. A pattern's picture is drawn the first time the view asks
// for it, that is once it scrolls into view, and kept.
class LibraryModel : public QAbstractListModel {
    Q_OBJECT

  public:
    static constexpr int kThumbnailSide = 48;

    LibraryModel(std::string bytes, LibraryIndex index, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // How many pictures have been drawn so far.
    int ThumbnailsDrawn() const { return static_cast<int>(thumbnails_.size()); }
    // The pattern of row as a file of its own.
    std::string PatternFile(int row) const;

  private:
    std::string bytes_;
    LibraryIndex index_;
    mutable QHash<int, QImage> thumbnails_;
};

class TLibraryForm : public QDialog {
    Q_OBJECT

  public:
    // title names the library in the window's title bar.
    TLibraryForm(QWidget* parent, std::string bytes, LibraryIndex index, const QString& title);

    // The row chosen when the dialog was accepted, -1 otherwise.
    int ChosenRow() const;
    const LibraryModel& Model() const { return *model_; }
    // The dialog was accepted with "Als figuur openen": the pattern goes to the figure tab.
    bool AsFigure() const { return asFigure_; }

  private:
    LibraryModel* model_ = nullptr;
    QListView* list_ = nullptr;
    QPushButton* openButton_ = nullptr;
    bool asFigure_ = false;
};

}  // namespace murvex::app
