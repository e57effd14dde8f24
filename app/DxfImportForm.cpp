// The DXF import dialog: each change of the choices imports the drawing again, so that the
// report and the picture always show what OK brings into the figure tab.
#include "DxfImportForm.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "DesignFonts.h"
#include "Msg.h"
#include "NumberText.h"
#include "QtText.h"

namespace murvex::app {

// The segments in their tile, y upward, scaled to fit.
class DxfPicture : public QWidget {
  public:
    explicit DxfPicture(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("DxfVoorbeeld"));
        setFixedSize(320, 320);
    }
    void Show(const std::optional<dxf::TileFigure>& figure) {
        figure_ = figure;
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.setPen(QColor(160, 160, 160));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        if (!figure_) return;
        constexpr double kMargin = 10;
        const double w = figure_->width, h = figure_->height;
        const double scale = std::min((width() - 2 * kMargin) / w, (height() - 2 * kMargin) / h);
        const double left = (width() - w * scale) / 2, bottom = (height() + h * scale) / 2;
        const auto at = [&](long double x, long double y) {
            return QPointF(left + static_cast<double>(x) * scale,
                           bottom - static_cast<double>(y) * scale);
        };
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0, 120, 215), 1, Qt::DashLine));
        p.drawRect(QRectF(at(0, h), at(w, 0)));
        p.setPen(QPen(Qt::black, 1));
        for (const figure::TileSegment& s : figure_->segments)
            p.drawLine(at(s.start.x, s.start.y), at(s.end.x, s.end.y));
    }

  private:
    std::optional<dxf::TileFigure> figure_;
};

namespace {

QString Number(double value) {
    std::string text = Fmt10(value);
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    return QString::fromStdString(text);
}

}  // namespace

TDxfImportForm::TDxfImportForm(dxf::Drawing drawing, QWidget* parent)
    : QDialog(parent), drawing_(std::move(drawing)) {
    setObjectName(QStringLiteral("DxfImportForm"));
    setWindowTitle(QStringLiteral("DXF-tekening inlezen"));
    setFont(DesignFont("MS Sans Serif", 8));

    auto* tileBox = new QGroupBox(QStringLiteral("Tegel"), this);
    auto* tileGrid = new QGridLayout(tileBox);
    const char* names[4] = {"TegelX0", "TegelY0", "TegelX1", "TegelY1"};
    const char* labels[4] = {"X links:", "Y onder:", "X rechts:", "Y boven:"};
    for (int i = 0; i < 4; ++i) {
        tileEdits_[i] = new QLineEdit(tileBox);
        tileEdits_[i]->setObjectName(QString::fromLatin1(names[i]));
        tileGrid->addWidget(new QLabel(QString::fromLatin1(labels[i]), tileBox), i / 2,
                            (i % 2) * 2);
        tileGrid->addWidget(tileEdits_[i], i / 2, (i % 2) * 2 + 1);
        connect(tileEdits_[i], &QLineEdit::textEdited, this, &TDxfImportForm::TileEdited);
        connect(tileEdits_[i], &QLineEdit::editingFinished, this, &TDxfImportForm::Recompute);
    }
    tileSource_ = new QLabel(tileBox);
    tileSource_->setObjectName(QStringLiteral("TegelBron"));
    tileSource_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    tileGrid->addWidget(tileSource_, 2, 0, 1, 4);

    auto* layerBox = new QGroupBox(QStringLiteral("Lagen"), this);
    auto* layerLayout = new QVBoxLayout(layerBox);
    layers_ = new QListWidget(layerBox);
    layers_->setObjectName(QStringLiteral("Lagen"));
    for (const std::string& name : drawing_.layers) {
        auto* item = new QListWidgetItem(FromFileText(name), layers_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    layers_->setMinimumHeight(90);
    layerLayout->addWidget(layers_);
    connect(layers_, &QListWidget::itemChanged, this, &TDxfImportForm::Recompute);

    chord_ = new QLineEdit(this);
    chord_->setObjectName(QStringLiteral("Koordetolerantie"));
    chord_->setPlaceholderText(QStringLiteral("0,2 % van de kleinste tegelzijde"));
    connect(chord_, &QLineEdit::editingFinished, this, &TDxfImportForm::Recompute);
    scale_ = new QLineEdit(this);
    scale_->setObjectName(QStringLiteral("Schaal"));
    scale_->setPlaceholderText(QStringLiteral("1, of mm: volgens $INSUNITS"));
    connect(scale_, &QLineEdit::editingFinished, this, &TDxfImportForm::Recompute);
    auto* chordForm = new QFormLayout;
    chordForm->addRow(QStringLiteral("Koordetolerantie:"), chord_);
    chordForm->addRow(QStringLiteral("Schaal:"), scale_);

    report_ = new QLabel(this);
    report_->setObjectName(QStringLiteral("ImportVerslag"));
    report_->setWordWrap(true);
    report_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    report_->setMinimumWidth(300);
    // A long refusal wraps inside the room the dialog has; it never widens the dialog.
    report_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    report_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    picture_ = new DxfPicture(this);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole);
    ok_->setObjectName(QStringLiteral("ButtonOk"));
    ok_->setDefault(true);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("Annuleren"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("ButtonCancel"));
    connect(ok_, &QPushButton::clicked, this, &TDxfImportForm::Accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(tileBox);
    left->addWidget(layerBox);
    left->addLayout(chordForm);
    left->addWidget(report_, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addWidget(picture_, 0, Qt::AlignTop);
    auto* main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addWidget(buttons);
    Recompute();
}

TDxfImportForm::~TDxfImportForm() {
    // The children go after the members: an edit losing its focus then must not import again
    // from a drawing that is gone.
    for (QLineEdit* edit : tileEdits_)
        edit->disconnect(this);
    chord_->disconnect(this);
    scale_->disconnect(this);
    layers_->disconnect(this);
}

void TDxfImportForm::TileEdited() {
    tileGiven_ = true;
}

void TDxfImportForm::Recompute() {
    dxf::ImportOptions options;
    std::string refusal;
    if (tileGiven_) {
        double v[4] = {};
        for (int i = 0; i < 4; ++i) {
            const ParseResult r = ParseDecimal(ToFileText(tileEdits_[i]->text()));
            if (!r.ok) refusal = kInvalidValueText;
            v[i] = r.value;
        }
        options.tile = dxf::Tile{{v[0], v[1]}, {v[2], v[3]}, dxf::TileSource::Given, {}};
    }
    std::vector<std::string> layers;
    for (int i = 0; i < layers_->count(); ++i)
        if (layers_->item(i)->checkState() == Qt::Checked)
            layers.push_back(ToFileText(layers_->item(i)->text()));
    options.layers = layers;
    if (!chord_->text().trimmed().isEmpty()) {
        const ParseResult r = ParseDecimal(ToFileText(chord_->text().trimmed()));
        if (!r.ok) refusal = kInvalidValueText;
        options.chordTolerance = r.value;
    }
    const QString scale = scale_->text().trimmed();
    if (scale.compare(QStringLiteral("mm"), Qt::CaseInsensitive) == 0) {
        options.toMillimetres = true;
    } else if (!scale.isEmpty()) {
        const ParseResult r = ParseDecimal(ToFileText(scale));
        if (!r.ok) refusal = kInvalidValueText;
        options.scale = r.value;
    }
    figure_.reset();
    if (refusal.empty()) {
        dxf::ImportResult result = dxf::ImportTile(drawing_, options);
        figure_ = std::move(result.figure);
        refusal = result.error;
    }
    if (figure_) {
        const dxf::Tile& t = figure_->report.tile;
        const double corners[4] = {t.low.x, t.low.y, t.high.x, t.high.y};
        if (!tileGiven_)
            for (int i = 0; i < 4; ++i)
                tileEdits_[i]->setText(Number(corners[i]));
        tileSource_->setText(
            t.source == dxf::TileSource::Given ? QStringLiteral("Zelf opgegeven.")
            : t.source == dxf::TileSource::TileLayer
                ? QStringLiteral("De rechthoek op laag %1.").arg(FromFileText(t.layer))
            : t.source == dxf::TileSource::Origin ? QStringLiteral("Vanaf de oorsprong.")
                                                  : QStringLiteral("De omvang van de tekening."));
        QString text;
        for (const std::string& line : dxf::ReportLines(figure_->report))
            text += FromFileText(line) + QLatin1Char('\n');
        text += QStringLiteral("Lijnen in de tegel: %1").arg(figure_->segments.size());
        report_->setPalette(QPalette());
        report_->setText(text);
    } else {
        tileSource_->clear();
        // A palette, not a style sheet: a style sheet would give the label another face.
        QPalette red = report_->palette();
        red.setColor(QPalette::WindowText, QColor(0xb0, 0, 0));
        report_->setPalette(red);
        report_->setText(FromFileText(refusal));
    }
    picture_->Show(figure_);
    ok_->setEnabled(figure_.has_value());
}

void TDxfImportForm::Accept() {
    // A text typed last and not yet left counts too.
    Recompute();
    if (figure_) accept();
}

}  // namespace murvex::app
