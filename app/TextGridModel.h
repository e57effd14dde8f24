// Shows a TextGrid in a table view: the grid stays the only store of the cells.
#pragma once

#include <QAbstractTableModel>
#include <cstddef>

#include "TextGrid.h"

class QTableView;

namespace murvex::app {

// Row 0 of the grid is the horizontal header, column 0 the vertical header (the number column,
// which does not scroll sideways), and cell (0, 0) the caption of the corner. The other cells are
// the model's items: model (row, column) is grid (column + 1, row + 1). Texts are converted
// between the grid's Windows-1252 and the window's Unicode.
// A longer cell is shown as its first kShownCellChars characters and an ellipsis.
inline constexpr std::size_t kShownCellChars = 100;

class TextGridModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    // The model keeps the grid.
    explicit TextGridModel(TextGrid grid, QObject* parent = nullptr);
    // The model shows a grid that lives elsewhere (for as long as the model lives).
    explicit TextGridModel(TextGrid* external, QObject* parent = nullptr);

    TextGrid& Grid() { return *grid_; }
    const TextGrid& Grid() const { return *grid_; }

    // Tells the views what changed in the grid since the last call: rows and columns added or
    // removed at the end (the free line grid's dash columns), and the texts of the rows that
    // changed (every text when the grid cannot say which). Column widths and the view's scroll
    // position are kept.
    void Refresh();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  signals:
    // A typed text is about to be written into the grid (the grid still holds the old one).
    void CellAboutToChange();

  private:
    TextGrid own_;
    TextGrid* grid_;
    int shownRows_ = 0;
    int shownCols_ = 0;
    unsigned long shownRevision_ = 0;  // the grid's revision the views were last told about
};

// Sets a table view up as a string grid over the model: one cell current at a time, editing
// by typing, double click or F2, Tab between cells and Ctrl+Tab out of the grid, resizable columns
// of defaultColWidth, fixed rows 20 pixels high, the number column 30 pixels wide with the corner
// caption, and the grid's current cell following the view's.
void ShowTextGrid(QTableView* view, TextGridModel* model, int defaultColWidth);
// Makes the grid's current cell the view's current cell (column 0 counts as column 1).
void ShowGridCurrent(QTableView* view, TextGridModel* model);
// After the grid was changed behind the view's back: refreshes the view and keeps the grid's
// own current cell, which the view would otherwise move when rows go.
void RefreshGridView(QTableView* view, TextGridModel* model);
// Writes an open cell editor's text into the grid and closes the editor.
void CommitOpenCell(QTableView* view);

}  // namespace murvex::app
