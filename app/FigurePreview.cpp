// The free figure tab's part in the preview window: the pattern "Maak hatch" would write, the
// drawn segments over it in colour, and the conversion report beside it.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <algorithm>

#include "FigureTab.h"
#include "Msg.h"
#include "PreviewForm.h"
#include "QtText.h"
#include "TabHost.h"
#include "TextGridModel.h"

namespace murvex::app {

PreviewContent TFigureTab::PreviewNow() const {
    const PatternHeader texts{
        ToFileText(VrijeFiguurUnits->currentText()), ToFileText(VrijeFiguurType->currentText()),
        ToFileText(NaamEditVrij->text()), ToFileText(BeschrijvingEditVrij->text())};
    PreviewContent content = session_.Preview(texts, ComboBoxNaukeurigheid->currentIndex(),
                                              ToFileText(MaxAfwijkingEdit->text()), SaveStyle());
    // Headers of two short lines leave the picture room beside the table.
    for (std::string& header : content.report.headers) {
        std::string shown;
        for (const char c : header)
            shown += c == ' '   ? std::string("\n")
                     : c == '/' ? std::string("/\n")
                                : std::string(1, c);
        header = std::move(shown);
    }
    return content;
}

QPushButton* TFigureTab::AddPreview() {
    TFigureTab& tab = *this;
    // Below "Opnieuw tekenen", the one free place near "Maak hatch": the row of "Maak hatch"
    // is full, and the figure panel never reaches below the drawing mode buttons.
    auto* button = new QPushButton(QStringLiteral("Voorbeeld"), &tab);
    button->setObjectName(QStringLiteral("VoorbeeldFiguur"));
    button->setGeometry(232, 374, 75, 25);
    button->setAutoDefault(false);
    button->setToolTip(QStringLiteral("Het patroon bekijken voor het opslaan"));
    QObject::connect(button, &QPushButton::clicked, &tab, [this] { form_.ShowPreview(); });

    auto* preview = new PreviewSource(&tab, [this] { return PreviewNow(); });
    const auto changed = [preview] { emit preview->ContentChanged(); };
    // The tab shows every change of the figure grid through its model: typed cells, drawn and
    // deleted segments, opened lists and a new figure (whose tile comes with a fresh row).
    TextGridModel* model = tab.FiguurGridModel;
    QObject::connect(model, &QAbstractItemModel::dataChanged, preview, changed);
    QObject::connect(model, &QAbstractItemModel::rowsInserted, preview, changed);
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, preview, changed);
    QObject::connect(model, &QAbstractItemModel::modelReset, preview, changed);
    QObject::connect(model, &QAbstractItemModel::layoutChanged, preview, changed);
    for (QComboBox* combo : {tab.VrijeFiguurUnits, tab.VrijeFiguurType})
        QObject::connect(combo, &QComboBox::currentTextChanged, preview, changed);
    QObject::connect(&tab, &TFigureTab::ConversionChoiceChanged, preview, changed);
    for (QLineEdit* edit : {tab.NaamEditVrij, tab.BeschrijvingEditVrij})
        QObject::connect(edit, &QLineEdit::textChanged, preview, changed);

    // As a click on the row in the grid: the row becomes current and is drawn red.
    preview->SetRowChooser([&tab](int gridRow) {
        const QModelIndex current = tab.FiguurGrid->currentIndex();
        const QModelIndex index =
            tab.FiguurGridModel->index(gridRow - 1, std::max(current.column(), 0));
        if (!index.isValid()) return;
        if (current.row() == index.row()) {
            tab.FiguurGridSelectCell(gridRow);
        } else {
            tab.FiguurGrid->setCurrentIndex(index);
        }
        tab.FiguurGrid->scrollTo(index);
    });
    return button;
}

}  // namespace murvex::app
