// "Uit bibliotheek openen...": the patterns of a library file with a small picture of each, to
// choose the one to load.
#include "LibraryForm.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

#include "PatternFile.h"
#include "PatternThumbnail.h"
#include "QtText.h"
#include "Text.h"

namespace murvex::app {

LibraryModel::LibraryModel(std::string bytes, LibraryIndex index, QObject* parent)
    : QAbstractListModel(parent), bytes_(std::move(bytes)), index_(std::move(index)) {}

int LibraryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(index_.patterns.size());
}

std::string LibraryModel::PatternFile(int row) const {
    if (row < 0 || row >= rowCount()) return {};
    return PatternFileOf(bytes_, index_.patterns[static_cast<std::size_t>(row)]);
}

QVariant LibraryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const LibraryPattern& p = index_.patterns[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole: {
            QString text = FromFileText(p.name);
            if (!p.description.empty())
                text += QStringLiteral(" \u2013 ") + FromFileText(p.description);
            text += QLatin1Char('\n');
            text += p.patternLines == 1 ? QStringLiteral("1 lijn")
                                        : QStringLiteral("%1 lijnen").arg(p.patternLines);
            if (p.sameNameBefore) text += QStringLiteral(", naam komt eerder voor");
            return text;
        }
        case Qt::DecorationRole: {
            auto found = thumbnails_.find(index.row());
            if (found == thumbnails_.end()) {
                const std::vector<PatternLine> lines = ParsePatternText(PatternFile(index.row()));
                found = thumbnails_.insert(index.row(), PatternThumbnail(lines, kThumbnailSide));
            }
            return *found;
        }
        case Qt::ToolTipRole:
            return FromFileText(p.units.empty() ? p.type : p.units + " " + p.type);
        default:
            return {};
    }
}

TLibraryForm::TLibraryForm(QWidget* parent, std::string bytes, LibraryIndex index,
                           const QString& title)
    : QDialog(parent) {
    setObjectName(QStringLiteral("LibraryForm"));
    setWindowTitle(QStringLiteral("Uit bibliotheek openen - ") + title);
    model_ = new LibraryModel(std::move(bytes), std::move(index), this);

    list_ = new QListView(this);
    list_->setObjectName(QStringLiteral("LibraryList"));
    list_->setModel(model_);
    list_->setIconSize(QSize(LibraryModel::kThumbnailSide, LibraryModel::kThumbnailSide));
    list_->setSpacing(2);
    // Every row the same height: the view then asks only the rows it shows for their picture.
    list_->setUniformItemSizes(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto* buttons = new QDialogButtonBox(this);
    openButton_ = buttons->addButton(QStringLiteral("Openen"), QDialogButtonBox::AcceptRole);
    openButton_->setObjectName(QStringLiteral("LibraryOpenButton"));
    QPushButton* figureButton =
        buttons->addButton(QStringLiteral("Als figuur openen"), QDialogButtonBox::ActionRole);
    figureButton->setObjectName(QStringLiteral("LibraryFigureButton"));
    connect(figureButton, &QPushButton::clicked, this, [this] {
        asFigure_ = true;
        accept();
    });
    buttons->addButton(QStringLiteral("Annuleren"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("LibraryCancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListView::activated, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Kies de arcering die in het raster komt:"), this);
    layout->addWidget(label);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(420, 460);

    const auto enableOpen = [this, figureButton] {
        openButton_->setEnabled(list_->selectionModel()->hasSelection());
        figureButton->setEnabled(openButton_->isEnabled());
    };
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, enableOpen);
    if (model_->rowCount() > 0) list_->setCurrentIndex(model_->index(0));
    enableOpen();
}

int TLibraryForm::ChosenRow() const {
    if (result() != QDialog::Accepted) return -1;
    const QModelIndexList rows = list_->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.front().row();
}

}  // namespace murvex::app
