// The error window: a list of messages that a command fills and shows.
#pragma once

#include <QDialog>
#include <cstddef>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace murvex::app {

class TErrorForm : public QDialog {
    Q_OBJECT

  public:
    explicit TErrorForm(QWidget* parent = nullptr);

    QPlainTextEdit* ErrorMemo = nullptr;
    // Below the list: how many lines found no solution, and what to try.
    QLabel* SummaryLabel = nullptr;
    QPushButton* OkButton = nullptr;

    // The messages of the rows without a solution, and their count with the hint; with "Op maat"
    // (custom) the hint is a larger deviation.
    void ShowFailedRows(const QString& messages, std::size_t count, bool custom = false);
    // Empties the list and the summary.
    void Clear();
};

// "N lijnen zonder oplossing; probeer een lagere nauwkeurigheid" ("1 lijn" for one); custom:
// "...; probeer een grotere max. afwijking" (the report names the one that works).
QString FailedRowsSummary(std::size_t count, bool custom = false);

}  // namespace murvex::app
