// The window "Voorbeeld": the pattern the current tab's "Maak Hatch" would write, drawn live.
#pragma once

#include <QPointer>
#include <QWidget>
#include <cstddef>
#include <functional>
#include <string>
#include <utility>

#include "Platform.h"
#include "PreviewContent.h"

class QCheckBox;
class QImage;
class QLabel;
class QListWidget;
class QPushButton;
class QSplitter;
class QTableWidget;
class QTimer;

namespace murvex::app {

class TMainForm;
class PreviewCanvas;

// A tab's part in the preview. The tab creates one as its child with the function that builds
// the content from its controls as they stand (no dialogs, no message boxes), and calls
// ContentChanged() (or connects its controls' change signals to it) whenever that may differ.
// The preview builds the content at most once per turn of the event loop, and only while shown.
class PreviewSource : public QObject {
    Q_OBJECT

  public:
    PreviewSource(QWidget* tab, std::function<PreviewContent()> build);
    PreviewContent Build() const { return build_(); }
    // What choosing a row of the content's report table does (select that grid row).
    void SetRowChooser(std::function<void(int gridRow)> choose) { choose_ = std::move(choose); }
    void ChooseRow(int gridRow) const {
        if (choose_) choose_(gridRow);
    }

  signals:
    void ContentChanged();

  private:
    std::function<PreviewContent()> build_;
    std::function<void(int)> choose_;
};

// The source a tab page registered, or nullptr.
PreviewSource* PreviewSourceOf(QWidget* tab);

class TPreviewForm;
// The "Voorbeeld" button of a tab: opens the window's one preview (created the first time),
// brings it to the front and shows the current tab in it.
TPreviewForm& ShowPreview(TMainForm& form);

// Non-modal and resizable; follows the main window's current tab.
class TPreviewForm : public QWidget {
    Q_OBJECT

  public:
    explicit TPreviewForm(TMainForm& form);
    ~TPreviewForm() override;

    QCheckBox* OutlineCheck = nullptr;
    QPushButton* FitButton = nullptr;
    QPushButton* ExportButton = nullptr;
    QCheckBox* LinesCheck = nullptr;  // a DXF export writes the lines too
    QSplitter* Splitter = nullptr;
    PreviewCanvas* Canvas = nullptr;
    // Beside the picture, hidden while the content has no report: the report's table.
    QWidget* SidePanel = nullptr;
    QTableWidget* ReportTable = nullptr;
    QLabel* WarningsLabel = nullptr;
    QListWidget* WarningList = nullptr;

    // The content shown, as built at the last refresh.
    const PreviewContent& Content() const;
    // Builds the current tab's content now instead of at the next turn of the event loop.
    void Refresh();
    // Shows the content's natural extent: a few repeats, or ten times its line spacing.
    void FitToContent();
    // Zooms by factor about the canvas pixel (px, py), as the mouse wheel does there.
    void ZoomAt(double px, double py, double factor);
    // The picture exactly as the window shows it, at the canvas's size; pieces (when given)
    // gets the number of segments and dots painted.
    QImage RenderView(std::size_t* pieces = nullptr) const;

    // Asks for a file name through the platform and writes the view: PNG, or SVG or a DXF
    // drawing (the pattern as a hatch over the view) when the chosen name ends in ".svg" or
    // ".dxf". A failure is told in a message box.
    void ExportButtonClick();
    // Writes the view to path (PNG, SVG or DXF by its ending) without asking.
    enum class Export { Written, WrittenInPart, Failed };
    Export ExportTo(const std::string& path) const;
    FileDialog ExportDialog;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void BindToCurrentTab();
    void ScheduleRefresh();
    void ShowReport(const PreviewContent& content);
    void ReportRowChosen();

    TMainForm& form_;
    QTimer* refreshTimer_ = nullptr;
    QPointer<PreviewSource> source_;
    QMetaObject::Connection sourceConnection_;
    bool needsFit_ = true;
};

}  // namespace murvex::app
