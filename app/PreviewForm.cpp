// The window "Voorbeeld": the pattern the current tab's "Maak Hatch" would write, drawn live.
#include "PreviewForm.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <exception>
#include <optional>
#include <utility>

#include "MainForm.h"
#include "Msg.h"
#include "PatternCheck.h"
#include "PatternFile.h"
#include "PatternGeometry.h"
#include "PatternHeader.h"
#include "PatternPainter.h"
#include "PictureFile.h"
#include "QtText.h"
#include "SaveHatch.h"
#include "WindowHandles.h"

namespace murvex::app {

namespace {

// Segments drawn at most per picture. A 340-line bond over 4 m x 4 m draws about 8,000; beyond
// this the lines lie closer than the pixels anyway and the window says to zoom in.
constexpr std::size_t kMaxPreviewSegments = 150000;
// How far the user may zoom away from the fitted view, out and in.
constexpr double kZoomOutLimit = 50.0;
constexpr double kZoomInLimit = 5000.0;
// A wheel notch (120 eighths of a degree) zooms by 1.2.
constexpr double kZoomPerEighth = 1.00152;
constexpr int kFitMargin = 16;       // pixels
constexpr int kScaleBarMaxPx = 160;  // pixels
const QColor kOutlineColor(0, 100, 220);

// The shortest text that reads back to the value, never in exponent form.
std::string NumberText(double value) {
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return r.ec == std::errc() ? std::string(buffer, r.ptr) : std::string();
}

// The drawing unit the file's units line names (read as every reader reads it), as the scale bar
// shows it.
std::string UnitOf(const LineList& lines) {
    for (const std::string& line : lines) {
        const HeaderLine header = ParseHeaderLine(line);
        if (header.field != HeaderField::Units) continue;
        std::string unit(header.value);
        for (char& c : unit)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return unit;
    }
    return {};
}

// The natural extent of the content: two repeats either way from the outline's corner, or ten
// times the largest spacing or dash period of its lines from the origin.
Box ContentExtent(const PreviewContent& content, const std::vector<PatternLine>& lines) {
    if (!content.outline.empty()) {
        Box b{content.outline[0].x, content.outline[0].y, content.outline[0].x,
              content.outline[0].y};
        for (const ViewPoint& p : content.outline) {
            b.x0 = std::min(b.x0, p.x);
            b.y0 = std::min(b.y0, p.y);
            b.x1 = std::max(b.x1, p.x);
            b.y1 = std::max(b.y1, p.y);
        }
        const double w = b.x1 - b.x0;
        const double h = b.y1 - b.y0;
        if (w > 0 && h > 0) return {b.x0 - w / 2, b.y0 - h / 2, b.x1 + w, b.y1 + h};
    }
    double size = PatternRepeatSize(lines);
    if (!(size > 0)) size = 100;
    return {0, 0, 10 * size, 10 * size};
}

struct Picture {
    std::vector<DrawnSegment> segments;
    bool truncated = false;
};

}  // namespace

// The picture: the pattern in black, the overlay in colour, the repeat's outline and a scale bar.
class PreviewCanvas : public QWidget {
  public:
    explicit PreviewCanvas(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("PreviewCanvas"));
        setMinimumSize(160, 120);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        setCursor(Qt::OpenHandCursor);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void SetContent(const PreviewContent& content) {
        content_ = content;
        lines_ = content_.problem.empty() ? ParsePatternLines(content_.patternLines)
                                          : std::vector<PatternLine>();
        unit_ = UnitOf(content_.patternLines);
        update();
    }
    const PreviewContent& Content() const { return content_; }
    bool HasPicture() const { return content_.problem.empty() && !lines_.empty(); }

    void Fit() {
        view_ = FitView(ContentExtent(content_, lines_), width(), height(), kFitMargin);
        fitScale_ = view_.scale;
        fitted_ = true;
        update();
    }
    void ZoomAt(double px, double py, double factor) {
        view_ =
            ZoomAbout(view_, px, py, factor, fitScale_ / kZoomOutLimit, fitScale_ * kZoomInLimit);
        fitted_ = false;
        update();
    }
    const ViewTransform& View() const { return view_; }

    // The segments the pattern draws in the visible part.
    Picture Draw(QSize size) const {
        if (!HasPicture()) return {};
        const DrawResult r =
            DrawPattern(lines_, view_.Visible(size.width(), size.height()), kMaxPreviewSegments);
        return {r.segments, r.truncated};
    }

    std::size_t Paint(QPainter& painter, QSize size, bool* truncated = nullptr) const {
        painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
        if (!content_.problem.empty() || lines_.empty()) {
            painter.setPen(QColor(160, 0, 0));
            const QString text = content_.problem.empty()
                                     ? QStringLiteral("Geen patroonlijn om te tekenen")
                                     : FromFileText(content_.problem);
            painter.drawText(QRect(QPoint(0, 0), size).adjusted(12, 12, -12, -12),
                             Qt::AlignCenter | Qt::TextWordWrap, text);
            if (truncated) *truncated = false;
            return 0;
        }
        const Picture picture = Draw(size);
        std::size_t pieces = 0;
        if (picture.truncated) {
            // Part of the pattern would look like the whole of a sparser one: at this scale the
            // lines merge into a tone anyway, so the view shows a tone.
            painter.fillRect(QRect(QPoint(0, 0), size), QBrush(Qt::black, Qt::Dense5Pattern));
        } else {
            pieces = PaintSegments(painter, picture.segments, view_, Qt::black);
        }
        painter.setRenderHint(QPainter::Antialiasing);
        pieces += PaintOverlay(painter, content_.overlay, view_);
        if (showOutline_ && content_.outline.size() >= 2) {
            QPolygonF polygon;
            for (const ViewPoint& p : content_.outline) {
                const ViewPoint q = view_.ToPixel(p.x, p.y);
                polygon << QPointF(q.x, q.y);
            }
            QPen pen(kOutlineColor);
            pen.setWidthF(1.5);
            pen.setStyle(Qt::DashLine);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawPolygon(polygon);
        }
        PaintScaleBar(painter, size);
        if (picture.truncated) {
            PaintNote(painter, QStringLiteral("Te dicht om op deze schaal te tekenen: zoom in"), 8);
        }
        if (truncated) *truncated = picture.truncated;
        return pieces;
    }

    void SetShowOutline(bool show) {
        showOutline_ = show;
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        Paint(painter, size());
    }
    // A fitted view stays fitted when the canvas changes size: the report table appears beside
    // it only after the first fit, and would otherwise cover part of the picture.
    void resizeEvent(QResizeEvent*) override {
        if (fitted_) Fit();
    }
    void wheelEvent(QWheelEvent* event) override {
        const QPointF at = event->position();
        ZoomAt(at.x(), at.y(), std::pow(kZoomPerEighth, event->angleDelta().y()));
        event->accept();
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        dragFrom_ = event->position();
        dragging_ = true;
        setCursor(Qt::ClosedHandCursor);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!dragging_) return;
        const QPointF to = event->position();
        view_ = PanBy(view_, to.x() - dragFrom_.x(), to.y() - dragFrom_.y());
        fitted_ = false;
        dragFrom_ = to;
        update();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        dragging_ = false;
        setCursor(Qt::OpenHandCursor);
    }
    void mouseDoubleClickEvent(QMouseEvent*) override { Fit(); }

  private:
    void PaintScaleBar(QPainter& painter, QSize size) const {
        const double length = ScaleBarLength(view_.scale, kScaleBarMaxPx);
        if (!(length > 0)) return;
        const double px = length * view_.scale;
        QString label = QString::fromStdString(NumberText(length));
        if (!unit_.empty()) label += QLatin1Char(' ') + FromFileText(unit_);
        const QFontMetrics metrics = painter.fontMetrics();
        const int textW = metrics.horizontalAdvance(label);
        const double x0 = 12;
        const double y = size.height() - 14.0;
        const QRectF back(x0 - 6, y - metrics.height() - 10, std::max(px, double(textW)) + 12,
                          metrics.height() + 20);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 225));
        painter.drawRect(back);
        QPen pen(Qt::black);
        pen.setWidthF(2.0);
        painter.setPen(pen);
        painter.drawLine(QPointF(x0, y), QPointF(x0 + px, y));
        painter.drawLine(QPointF(x0, y - 4), QPointF(x0, y + 4));
        painter.drawLine(QPointF(x0 + px, y - 4), QPointF(x0 + px, y + 4));
        painter.drawText(QPointF(x0, y - 7), label);
    }
    static void PaintNote(QPainter& painter, const QString& text, int top) {
        const QFontMetrics metrics = painter.fontMetrics();
        const QRect box(8, top, metrics.horizontalAdvance(text) + 12, metrics.height() + 6);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 240, 200, 235));
        painter.drawRect(box);
        painter.setPen(QColor(140, 60, 0));
        painter.drawText(box, Qt::AlignCenter, text);
    }

    PreviewContent content_;
    std::vector<PatternLine> lines_;
    std::string unit_;
    ViewTransform view_;
    double fitScale_ = 1.0;
    bool showOutline_ = true;
    bool fitted_ = false;  // the view is the fitted one, not zoomed or panned since
    bool dragging_ = false;
    QPointF dragFrom_;
};

PreviewSource::PreviewSource(QWidget* tab, std::function<PreviewContent()> build)
    : QObject(tab), build_(std::move(build)) {
    setObjectName(QStringLiteral("PreviewSource"));
}

PreviewSource* PreviewSourceOf(QWidget* tab) {
    return tab ? tab->findChild<PreviewSource*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

TPreviewForm& ShowPreview(TMainForm& form) {
    auto* preview = form.findChild<TPreviewForm*>(QString(), Qt::FindDirectChildrenOnly);
    if (!preview) preview = new TPreviewForm(form);
    preview->show();
    preview->raise();
    preview->activateWindow();
    return *preview;
}

TPreviewForm::TPreviewForm(TMainForm& form) : QWidget(&form, Qt::Window), form_(form) {
    setObjectName(QStringLiteral("PreviewForm"));
    setWindowTitle(QStringLiteral("Voorbeeld"));
    resize(900, 560);
    // Escape closes it, as it closes a dialog.
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    close->setContext(Qt::WindowShortcut);
    connect(close, &QShortcut::activated, this, &QWidget::close);

    OutlineCheck = new QCheckBox(QStringLiteral("Herhaling tonen"), this);
    OutlineCheck->setObjectName(QStringLiteral("OutlineCheck"));
    OutlineCheck->setChecked(true);
    OutlineCheck->setToolTip(QStringLiteral("De omtrek van één herhaling van het patroon"));
    FitButton = new QPushButton(QStringLiteral("Passend"), this);
    FitButton->setObjectName(QStringLiteral("FitButton"));
    FitButton->setToolTip(QStringLiteral("Het patroon passend tonen (ook: dubbelklikken)"));
    ExportButton = new QPushButton(QStringLiteral("Exporteren..."), this);
    ExportButton->setObjectName(QStringLiteral("ExportButton"));
    ExportButton->setToolTip(QStringLiteral(
        "Het beeld opslaan als PNG of SVG, of als DXF-tekening met het patroon als arcering"));

    // Readers that ignore a hatch's own pattern lines (LibreCAD) show these instead.
    LinesCheck = new QCheckBox(QStringLiteral("Lijnen meeschrijven"), this);
    LinesCheck->setObjectName(QStringLiteral("LinesCheck"));
    LinesCheck->setToolTip(QStringLiteral(
        "Bij DXF ook de lijnen die het patroon trekt, als LINE-elementen op laag ARCERINGLIJNEN"));

    auto* bar = new QHBoxLayout;
    bar->addWidget(OutlineCheck);
    bar->addWidget(FitButton);
    bar->addWidget(ExportButton);
    bar->addWidget(LinesCheck);
    bar->addStretch(1);

    Splitter = new QSplitter(Qt::Horizontal, this);
    Splitter->setObjectName(QStringLiteral("PreviewSplitter"));
    Canvas = new PreviewCanvas(Splitter);
    SidePanel = new QWidget(Splitter);
    SidePanel->setObjectName(QStringLiteral("SidePanel"));
    SidePanel->setLayout(new QVBoxLayout);
    SidePanel->layout()->setContentsMargins(0, 0, 0, 0);
    ReportTable = new QTableWidget(SidePanel);
    ReportTable->setObjectName(QStringLiteral("ReportTable"));
    ReportTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    ReportTable->setSelectionMode(QAbstractItemView::SingleSelection);
    ReportTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ReportTable->verticalHeader()->hide();
    SidePanel->layout()->addWidget(ReportTable);
    SidePanel->hide();
    Splitter->setStretchFactor(0, 3);
    Splitter->setStretchFactor(1, 2);
    Splitter->setChildrenCollapsible(false);

    WarningsLabel = new QLabel(this);
    WarningsLabel->setObjectName(QStringLiteral("WarningsLabel"));
    WarningList = new QListWidget(this);
    WarningList->setObjectName(QStringLiteral("WarningList"));
    WarningList->setMaximumHeight(96);
    WarningList->setWordWrap(true);
    WarningList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    WarningList->setResizeMode(QListView::Adjust);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(bar);
    layout->addWidget(Splitter, 1);
    layout->addWidget(WarningsLabel);
    layout->addWidget(WarningList);

    ExportDialog = SaveFileDialog("Voorbeeld exporteren", "PNG, SVG of DXF", "*.png *.svg *.dxf",
                                  "png", false);

    refreshTimer_ = new QTimer(this);
    refreshTimer_->setSingleShot(true);
    refreshTimer_->setInterval(0);
    connect(refreshTimer_, &QTimer::timeout, this, &TPreviewForm::Refresh);
    connect(OutlineCheck, &QCheckBox::toggled, this,
            [this](bool on) { Canvas->SetShowOutline(on); });
    connect(FitButton, &QPushButton::clicked, this, &TPreviewForm::FitToContent);
    connect(ExportButton, &QPushButton::clicked, this, &TPreviewForm::ExportButtonClick);
    connect(ReportTable, &QTableWidget::itemSelectionChanged, this, &TPreviewForm::ReportRowChosen);
    connect(form_.PageControl1, &QTabWidget::currentChanged, this, &TPreviewForm::BindToCurrentTab);
    BindToCurrentTab();
}

TPreviewForm::~TPreviewForm() = default;

const PreviewContent& TPreviewForm::Content() const {
    return Canvas->Content();
}

void TPreviewForm::BindToCurrentTab() {
    if (sourceConnection_) disconnect(sourceConnection_);
    source_ = PreviewSourceOf(form_.PageControl1->currentWidget());
    if (source_) {
        sourceConnection_ =
            connect(source_, &PreviewSource::ContentChanged, this, &TPreviewForm::ScheduleRefresh);
    }
    needsFit_ = true;
    ScheduleRefresh();
}

void TPreviewForm::ScheduleRefresh() {
    // Hidden, the preview costs the tabs nothing; showing it refreshes.
    if (isVisible()) refreshTimer_->start();
}

void TPreviewForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refreshTimer_->start();
}

void TPreviewForm::Refresh() {
    refreshTimer_->stop();
    PreviewContent content;
    if (source_) {
        try {
            content = source_->Build();
        } catch (const std::exception& e) {
            content = PreviewContent();
            content.problem = e.what();
        }
    } else {
        content.problem = "Dit tabblad heeft (nog) geen voorbeeld";
    }

    WarningList->clear();
    // A line list that cannot be drawn may still be written: its warnings show too.
    if (!content.patternLines.empty()) {
        const std::vector<PatternWarning> warnings =
            CheckPatternText(JoinCrLf(content.patternLines), content.fileName);
        for (const PatternWarning& w : warnings) {
            WarningList->addItem(QStringLiteral("Regel %1: %2")
                                     .arg(static_cast<qulonglong>(w.line))
                                     .arg(FromFileText(w.message)));
        }
        WarningsLabel->setText(
            warnings.empty() ? QStringLiteral("Geen waarschuwingen voor CAD-programma's")
                             : QStringLiteral("Waarschuwingen voor CAD-programma's (opslaan kan "
                                              "toch):"));
    } else {
        WarningsLabel->setText(QString());
    }
    WarningList->setVisible(WarningList->count() > 0);
    OutlineCheck->setEnabled(!content.outline.empty());
    ShowReport(content);
    Canvas->SetContent(content);
    ExportButton->setEnabled(Canvas->HasPicture());
    FitButton->setEnabled(Canvas->HasPicture());
    if (needsFit_ && Canvas->HasPicture()) {
        needsFit_ = false;
        Canvas->Fit();
    }
}

void TPreviewForm::ShowReport(const PreviewContent& content) {
    const PreviewTable& report = content.report;
    const QSignalBlocker quiet(ReportTable);
    const int selected = ReportTable->currentRow();
    ReportTable->clear();
    ReportTable->clearSpans();
    ReportTable->setColumnCount(static_cast<int>(report.headers.size()));
    ReportTable->setRowCount(static_cast<int>(report.rows.size()));
    QStringList headers;
    for (const std::string& h : report.headers)
        headers << FromFileText(h);
    ReportTable->setHorizontalHeaderLabels(headers);
    for (std::size_t r = 0; r < report.rows.size(); ++r) {
        const int gridRow = r < report.gridRows.size() ? report.gridRows[r] : -1;
        const bool failed =
            gridRow >= 0 && std::find(content.failedRows.begin(), content.failedRows.end(),
                                      gridRow) != content.failedRows.end();
        for (std::size_t c = 0; c < report.rows[r].size() && c < report.headers.size(); ++c) {
            auto* item = new QTableWidgetItem(FromFileText(report.rows[r][c]));
            if (failed) item->setBackground(QColor(255, 215, 215));
            ReportTable->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
        // A short row (a failed row's message) spans the columns it leaves empty.
        const int cells = static_cast<int>(std::min(report.rows[r].size(), report.headers.size()));
        const int columns = static_cast<int>(report.headers.size());
        if (cells > 0 && cells < columns)
            ReportTable->setSpan(static_cast<int>(r), cells - 1, 1, columns - cells + 1);
    }
    if (selected >= 0 && selected < ReportTable->rowCount()) ReportTable->selectRow(selected);
    ReportTable->resizeColumnsToContents();
    const bool wasHidden = SidePanel->isHidden();
    SidePanel->setVisible(!report.headers.empty());
    if (wasHidden && SidePanel->isVisible()) {
        // The table gets the width its columns need, the picture at least three fifths.
        int need =
            2 * ReportTable->frameWidth() + ReportTable->verticalScrollBar()->sizeHint().width();
        for (int c = 0; c < ReportTable->columnCount(); ++c)
            need += ReportTable->columnWidth(c);
        const int room = Splitter->width() - Splitter->handleWidth();
        const int side = std::min(need, room * 2 / 5);
        Splitter->setSizes({room - side, side});
    }
}

void TPreviewForm::ReportRowChosen() {
    const int row = ReportTable->currentRow();
    const PreviewTable& report = Canvas->Content().report;
    if (!source_ || row < 0 || static_cast<std::size_t>(row) >= report.gridRows.size()) return;
    if (report.gridRows[static_cast<std::size_t>(row)] >= 0)
        source_->ChooseRow(report.gridRows[static_cast<std::size_t>(row)]);
}

void TPreviewForm::FitToContent() {
    Canvas->Fit();
}

void TPreviewForm::ZoomAt(double px, double py, double factor) {
    Canvas->ZoomAt(px, py, factor);
}

QImage TPreviewForm::RenderView(std::size_t* pieces) const {
    QImage image(Canvas->size(), QImage::Format_RGB32);
    QPainter painter(&image);
    const std::size_t n = Canvas->Paint(painter, image.size());
    if (pieces) *pieces = n;
    return image;
}

TPreviewForm::Export TPreviewForm::ExportTo(const std::string& path) const {
    if (!Canvas->HasPicture()) return Export::Failed;
    const QSize size = Canvas->size();
    const ViewTransform& view = Canvas->View();
    const std::string patternText = JoinCrLf(Canvas->Content().patternLines);
    PictureContent content;
    content.patternText = patternText;
    content.box = view.Visible(size.width(), size.height());
    content.size = PictureSize{size.width(), size.height(), view.scale};
    content.dxfLines = LinesCheck->isChecked();
    content.draw = [this, size] {
        Picture picture = Canvas->Draw(size);
        return DrawnPicture{std::move(picture.segments), Canvas->Content().overlay,
                            picture.truncated};
    };
    // The PNG holds the view as the window paints it, outline and scale bar included.
    content.paint = [this](QImage& image) {
        QPainter painter(&image);
        Canvas->Paint(painter, image.size());
    };
    const PictureFile file =
        PictureFileBytes(PictureFormatOf(path).value_or(PictureFormat::Png), content);
    const bool made =
        file.status == PictureFileStatus::Ok || file.status == PictureFileStatus::Incomplete;
    if (!made || WriteFileAtomic(path, file.bytes) != WriteStatus::Ok) return Export::Failed;
    return file.status == PictureFileStatus::Ok ? Export::Written : Export::WrittenInPart;
}

void TPreviewForm::ExportButtonClick() {
    Platform& platform = form_.ThePlatform();
    if (Canvas->Draw(Canvas->size()).truncated) {
        ShowError(platform, "Het patroon is te dicht om op deze schaal te exporteren: zoom in",
                  "Error", HandleOf(this));
        return;
    }
    if (!platform.RunFileDialog(ExportDialog, HandleOf(this))) return;
    switch (ExportTo(ExportDialog.fileName)) {
        case Export::Written:
            break;
        case Export::WrittenInPart:
            // Only a drawing's LINE entities stop early: the hatch itself is whole.
            ShowWarning(platform,
                        "De tekening is geschreven met de hele arcering, maar niet met elke lijn: "
                        "het patroon trekt in dit beeld te veel lijnen. Zoom in voor alle lijnen.",
                        std::string(), HandleOf(this));
            break;
        case Export::Failed:
            ShowError(platform, "Kan bestand " + ExportDialog.fileName + " niet schrijven", "Error",
                      HandleOf(this));
            break;
    }
}

}  // namespace murvex::app
