// The free figure tab's part in the preview window.
#include "FigurePreview.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <algorithm>

#include "Conversion.h"
#include "ConversionReport.h"
#include "FigureTab.h"
#include "NumberText.h"
#include "PreviewForm.h"
#include "QtText.h"
#include "TextGridModel.h"

namespace murvex::app {

PreviewContent FigurePreviewNow(TFigureTab& tab) {
    PreviewContent content;
    const PatternHeader texts{ToFileText(tab.VrijeFiguurUnits->currentText()),
                              ToFileText(tab.VrijeFiguurType->currentText()),
                              ToFileText(tab.NaamEditVrij->text())};
    content.fileName = texts.name;
    const figure::FigureModel& model = tab.Model();
    if (!model.HasFigure()) {
        content.problem = "Nog geen figuur: begin met \"Nieuw\"";
        return content;
    }
    const figure::TileSize tile{model.TileWidth(), model.TileHeight()};
    const figure::Accuracy accuracy =
        figure::AccuracyFromIndex(tab.ComboBoxNaukeurigheid->currentIndex());
    const TextGrid& grid = model.grid;
    figure::FigureHatch hatch = figure::FigureHatchLines(tile, grid, texts, accuracy);
    content.patternLines = std::move(hatch.lines);
    content.failedRows = std::move(hatch.failedRows);

    const double w = tile.width;
    const double h = tile.height;
    content.outline = {{0, 0}, {w, 0}, {w, h}, {0, h}};
    for (int row = 1; row < grid.RowCount(); ++row) {
        bool empty = true;
        double v[4] = {};
        for (int c = 0; c < 4; ++c) {
            // Read as the conversion reads them: an empty or unreadable cell counts as 0.
            const std::string_view cell = grid.Cell(c + 1, row);
            empty = empty && cell.empty();
            v[c] = ParseDecimal(cell).value;
        }
        // The fresh row of a new figure or of "+" is nothing drawn yet.
        if (empty) continue;
        OverlaySegment segment;
        segment.segment = {v[0], v[1], v[2], v[3]};
        segment.row = row;
        segment.marked = std::ranges::find(content.failedRows, row) != content.failedRows.end();
        content.overlay.push_back(segment);
    }

    const std::vector<figure::ReportRow> report = figure::ConversionReport(tile, grid, accuracy);
    std::vector<std::vector<std::string>> table = figure::ConversionReportTable(report);
    // Headers of two short lines leave the picture room beside the table.
    for (const std::string& header : table.front()) {
        std::string shown;
        for (const char c : header)
            shown += c == ' '   ? std::string("\n")
                     : c == '/' ? std::string("/\n")
                                : std::string(1, c);
        content.report.headers.push_back(shown);
    }
    content.report.rows.assign(std::make_move_iterator(table.begin() + 1),
                               std::make_move_iterator(table.end()));
    for (const figure::ReportRow& r : report)
        content.report.gridRows.push_back(r.row);
    return content;
}

QPushButton* AddFigurePreview(TFigureTab& tab, TMainForm& form) {
    // Below "Opnieuw tekenen", the one free place near "Maak hatch": the row of "Maak hatch"
    // is full, and the figure panel never reaches below the drawing mode buttons.
    auto* button = new QPushButton(QStringLiteral("Voorbeeld"), &tab);
    button->setObjectName(QStringLiteral("VoorbeeldFiguur"));
    button->setGeometry(232, 374, 75, 25);
    button->setAutoDefault(false);
    button->setToolTip(QStringLiteral("Het patroon bekijken voor het opslaan"));
    QObject::connect(button, &QPushButton::clicked, &tab, [&form] { ShowPreview(form); });

    auto* preview = new PreviewSource(&tab, [&tab] { return FigurePreviewNow(tab); });
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
    QObject::connect(tab.ComboBoxNaukeurigheid, &QComboBox::currentIndexChanged, preview, changed);
    QObject::connect(tab.NaamEditVrij, &QLineEdit::textChanged, preview, changed);

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
