// Shows a TextGrid in a table view: the grid stays the only store of the cells.
#include "TextGridModel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QTableView>
#include <algorithm>
#include <optional>

#include "QtText.h"

namespace murvex::app {

namespace {

// Paints the grid's cell (0, 0) on the view's corner button, which Qt leaves without text.
class CornerCaption : public QObject {
  public:
    CornerCaption(QAbstractButton* corner, TextGridModel* model)
        : QObject(corner), corner_(corner), model_(model) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != corner_ || event->type() != QEvent::Paint) return false;
        QPainter painter(corner_);
        QStyleOptionHeader option;
        option.initFrom(corner_);
        // The corner does nothing when clicked but reads like the other headers.
        option.state |= QStyle::State_Enabled;
        option.palette.setCurrentColorGroup(QPalette::Active);
        option.rect = corner_->rect();
        option.position = QStyleOptionHeader::OnlyOneSection;
        option.text = FromFileText(model_->Grid().Cell(0, 0));
        option.textAlignment = Qt::AlignCenter;
        corner_->style()->drawControl(QStyle::CE_Header, &option, &painter, corner_);
        return true;
    }

  private:
    QAbstractButton* corner_;
    TextGridModel* model_;
};

// Ctrl+Tab and Ctrl+Shift+Tab leave the grid, from the grid itself or its open cell editor,
// for the next or previous control of the window; Tab and Shift+Tab stay for moving between cells.
class LeaveOnCtrlTab : public QObject {
  public:
    explicit LeaveOnCtrlTab(QTableView* view) : QObject(view), view_(view) {
        // Seen before the cell editor's delegate, which would take the key for the next cell.
        qApp->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (!(key->modifiers() & Qt::ControlModifier)) return false;
        if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) return false;
        auto* receiver = static_cast<QWidget*>(watched);
        if (receiver != view_ && !view_->isAncestorOf(receiver)) return false;
        const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
        CommitOpenCell(view_);
        if (QWidget* next = NeighbourOutside(forward)) {
            next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        }
        return true;
    }

  private:
    // The nearest control in the focus chain, outside the grid, that takes focus by Tab.
    QWidget* NeighbourOutside(bool forward) const {
        QWidget* w = view_;
        for (;;) {
            w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
            if (!w || w == view_) return nullptr;
            if (view_->isAncestorOf(w) || w->window() != view_->window()) continue;
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled()) return w;
        }
    }

    QTableView* view_;
};

}  // namespace

TextGridModel::TextGridModel(TextGrid grid, QObject* parent)
    : QAbstractTableModel(parent),
      own_(std::move(grid)),
      grid_(&own_),
      shownRows_(own_.RowCount() - 1),
      shownCols_(own_.ColCount() - 1),
      shownRevision_(own_.Revision()) {}

TextGridModel::TextGridModel(TextGrid* external, QObject* parent)
    : QAbstractTableModel(parent),
      own_(1, 1),
      grid_(external),
      shownRows_(external->RowCount() - 1),
      shownCols_(external->ColCount() - 1),
      shownRevision_(external->Revision()) {}

void TextGridModel::Refresh() {
    // Grid row r is model row r - 1; row 0 is the horizontal header.
    const std::optional<RowSpan> changed = grid_->ChangedSince(shownRevision_);
    shownRevision_ = grid_->Revision();
    const int cols = grid_->ColCount() - 1;
    const bool colsChanged = cols != shownCols_;
    if (cols > shownCols_) {
        beginInsertColumns(QModelIndex(), shownCols_, cols - 1);
        shownCols_ = cols;
        endInsertColumns();
    } else if (cols < shownCols_) {
        beginRemoveColumns(QModelIndex(), cols, shownCols_ - 1);
        shownCols_ = cols;
        endRemoveColumns();
    }
    const int rows = grid_->RowCount() - 1;
    if (rows > shownRows_) {
        beginInsertRows(QModelIndex(), shownRows_, rows - 1);
        shownRows_ = rows;
        endInsertRows();
    } else if (rows < shownRows_) {
        beginRemoveRows(QModelIndex(), rows, shownRows_ - 1);
        shownRows_ = rows;
        endRemoveRows();
    }
    // Only the rows that changed: a view told that every row changed lays them all out again,
    // which a figure of ten thousand rows feels at every click.
    const int first = changed ? std::max(changed->first - 1, 0) : 0;
    const int last = changed ? std::min(changed->last - 1, shownRows_ - 1) : shownRows_ - 1;
    if (first <= last && columnCount() > 0) {
        emit dataChanged(index(first, 0), index(last, columnCount() - 1));
        emit headerDataChanged(Qt::Vertical, first, last);
    }
    if (!changed || colsChanged || (!changed->Empty() && changed->first == 0))
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int TextGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownRows_;
}

int TextGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownCols_;
}

QVariant TextGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    const std::string& cell = grid_->Cell(index.column() + 1, index.row() + 1);
    // Painting lays out and elides the whole text, each time: a cell of megabytes (a figure list
    // may hold one) would hold the window for seconds and take gigabytes. The cell is shown cut
    // short; the grid keeps, and an editor gets, the whole text.
    if (role == Qt::DisplayRole && cell.size() > kShownCellChars) {
        return QString(FromFileText(std::string(cell, 0, kShownCellChars)) + QChar(0x2026));
    }
    return FromFileText(cell);
}

bool TextGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    const int col = index.column() + 1;
    const int row = index.row() + 1;
    if (row >= grid_->RowCount() || col >= grid_->ColCount()) return false;
    emit CellAboutToChange();
    grid_->SetCell(col, row, ToFileText(value.toString()));
    emit dataChanged(index, index);
    return true;
}

QVariant TextGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    return orientation == Qt::Horizontal ? FromFileText(grid_->Cell(section + 1, 0))
                                         : FromFileText(grid_->Cell(0, section + 1));
}

Qt::ItemFlags TextGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void ShowTextGrid(QTableView* view, TextGridModel* model, int defaultColWidth) {
    constexpr int numberWidth = 30;
    constexpr int rowHeight = 20;
    view->setModel(model);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectItems);
    view->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                          QAbstractItemView::EditKeyPressed);
    view->setTabKeyNavigation(true);
    view->setWordWrap(false);

    QHeaderView* rows = view->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(rowHeight);
    rows->setFixedWidth(numberWidth);
    rows->setDefaultAlignment(Qt::AlignCenter);
    rows->setHighlightSections(false);

    QHeaderView* cols = view->horizontalHeader();
    cols->setSectionResizeMode(QHeaderView::Interactive);
    cols->setMinimumSectionSize(8);
    cols->setDefaultSectionSize(defaultColWidth);
    cols->setFixedHeight(rowHeight);
    cols->setHighlightSections(false);
    cols->setStretchLastSection(false);
    cols->setSectionsMovable(false);

    new LeaveOnCtrlTab(view);
    view->setCornerButtonEnabled(false);
    if (auto* corner = view->findChild<QAbstractButton*>()) {
        corner->installEventFilter(new CornerCaption(corner, model));
    }

    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentChanged, model,
                     [model](const QModelIndex& current) {
                         if (current.isValid()) {
                             model->Grid().SetCurrent(current.column() + 1, current.row() + 1);
                         }
                     });
    ShowGridCurrent(view, model);
}

void ShowGridCurrent(QTableView* view, TextGridModel* model) {
    const TextGrid& grid = model->Grid();
    const int row = std::max(grid.CurrentRow(), 1) - 1;
    const int col = std::max(grid.CurrentCol(), 1) - 1;
    const QModelIndex index = model->index(row, col);
    if (!index.isValid()) return;
    view->setCurrentIndex(index);
    view->scrollTo(index);
}

void RefreshGridView(QTableView* view, TextGridModel* model) {
    const int col = model->Grid().CurrentCol();
    const int row = model->Grid().CurrentRow();
    model->Refresh();
    model->Grid().SetCurrent(col, row);
    ShowGridCurrent(view, model);
}

void CommitOpenCell(QTableView* view) {
    // An open editor holds the focus (the grid's own buttons never take it); a closed one has
    // already written its text.
    QWidget* editor = QApplication::focusWidget();
    if (!editor || editor->parentWidget() != view->viewport()) return;
    QAbstractItemDelegate* delegate = view->itemDelegateForIndex(view->currentIndex());
    emit delegate->commitData(editor);
    emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

}  // namespace murvex::app
