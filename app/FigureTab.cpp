// The tab "Vrij figuur": a figure of segments in a tile, drawn and typed, as a pattern file.
#include "FigureTab.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QFrame>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>
#include <algorithm>

#include "BackgroundPicture.h"
#include "Choices.h"
#include "Conversion.h"
#include "Cursors.h"
#include "DesignFonts.h"
#include "DxfImport.h"
#include "DxfImportForm.h"
#include "ErrorForm.h"
#include "FigureCanvas.h"
#include "FigureEditing.h"
#include "FigureList.h"
#include "GridUndo.h"
#include "InputRubberForm.h"
#include "Interaction.h"
#include "LibrarySave.h"
#include "Msg.h"
#include "NewVrijHatch.h"
#include "NumberText.h"
#include "OpenPage.h"
#include "Polar.h"
#include "PreviewForm.h"
#include "QtText.h"
#include "ReaderNotice.h"
#include "SaveHatch.h"
#include "Selection.h"
#include "Snaps.h"
#include "TabHost.h"
#include "TabParts.h"
#include "TextGridModel.h"
#include "TypedInput.h"
#include "View.h"
#include "WindowHandles.h"
#include "help/HelpPage.h"

namespace murvex::app {
namespace {

constexpr int kDefaultColWidth = 50;  // the coordinate columns

// The tab control's designed size; controls below the canvas start at kBelowCanvas, those beside
// it at kBesideCanvas.
constexpr int kDesignedPageWidth = 641;
constexpr int kDesignedPageHeight = 469;
constexpr int kBelowCanvas = 340;
constexpr int kBesideCanvas = 318;
// The row below the grid: its top, and the grid's right end.
constexpr int kBelowGridTop = 382;
constexpr int kBelowGridRight = 627;

// An action of the window's action list with its hint and picture.
QAction* TabAction(TabHost& form, QObject* owner, const char* name, const char* hint, Glyph glyph,
                   bool enabled) {
    auto* action = new QAction(GlyphIcon(glyph), QString(), owner);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(QString::fromUtf8(hint));
    action->setStatusTip(QString::fromUtf8(hint));
    action->setEnabled(enabled);
    form.Window().addAction(action);
    return action;
}

// A flat speed button, 23 x 22, running its action and showing the action's hint and state; it
// never takes the focus (an open cell editor stays open).
QToolButton* ActionButton(QWidget* parent, const char* name, QAction* action, int left) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setDefaultAction(action);
    button->setGeometry(left, 8, 23, 22);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIconSize(QSize(16, 16));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    return button;
}

// A grouped speed button of the drawing modes.
QToolButton* ModeButton(QWidget* parent, const char* name, Glyph glyph, const char* hint, int left,
                        bool down) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, 344, 23, 22);
    button->setIcon(GlyphIcon(glyph));
    button->setIconSize(QSize(16, 16));
    button->setToolTip(QString::fromLatin1(hint));
    button->setCheckable(true);
    button->setAutoExclusive(true);
    button->setChecked(down);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

FileDialog MakeOpenPictureDialog() {
    return OpenFileDialog("Afbeeldingen", ToFileText(BackgroundPictureMask()));
}

// The classic style leaves 3 pixels before a combo's text; the 80-pixel accuracy combo needs
// them for "Nauwkeurig".
class NarrowComboStyle : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override {
        QRect r = QProxyStyle::subControlRect(control, option, part, widget);
        if (control == CC_ComboBox && part == SC_ComboBoxEditField) r.adjust(-2, 0, 1, 0);
        return r;
    }
};

// "Max. afwijking" and its edit: the one free place near the accuracy combo box, between the
// drawing mode buttons and "Refresch"/"Voorbeeld" below the figure.
constexpr QRect kMaxDeviationLabelRect(112, 372, 76, 21);
constexpr QRect kMaxDeviationEditRect(190, 372, 38, 21);

// The accuracy label lies between the name edit (ending at 385) and its combo box (from 470),
// 4 and 3 pixels from them, as tall as the combo so that no descender is cut.
constexpr QRect kAccuracyLabelRect(389, 410, 467 - 389, 21);

// The label's text right-aligned in its place. The substitute for the original face is wider:
// a text that would not fit is set a fraction of a pixel tighter first (not to be seen), and
// only then a pixel size smaller, rather than touch the combo box or run under the edit.
void PlaceAccuracyLabel(QLabel& label, QFont font) {
    constexpr int kSmallestPixels = 9;
    const auto fits = [&] {
        for (const qreal spacing : {0.0, -0.1, -0.2, -0.3}) {
            font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
            if (QFontMetrics(font).horizontalAdvance(label.text()) <= kAccuracyLabelRect.width())
                return true;
        }
        return false;
    };
    while (!fits() && font.pixelSize() > kSmallestPixels)
        font.setPixelSize(font.pixelSize() - 1);
    label.setFont(font);
    label.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label.setGeometry(kAccuracyLabelRect);
}

figure::Pixel ToPixel(QPoint p) {
    return {p.x(), p.y()};
}

QFont StatusFont() {
    return DesignFont("System", 8);
}

// XYPos keeps its place and size. A text wider than the label (the substitute for the "System"
// face is wider than the original, and large tiles give long numbers) is shown in a smaller face,
// down to 6 pixels, rather than losing its start: the status is right-aligned, so the "X:" part
// would go first.
void ShowStatusText(QLabel& label, const QString& text) {
    constexpr int kSmallestPixels = 6;
    QFont font = StatusFont();
    for (; font.pixelSize() > kSmallestPixels; font.setPixelSize(font.pixelSize() - 1)) {
        const QFontMetrics metrics(font);
        // A framed label with the default indent keeps half an "x" free at its aligned side.
        const int indent = label.indent() >= 0 ? label.indent()
                           : label.frameWidth() > 0
                               ? metrics.horizontalAdvance(QLatin1Char('x')) / 2
                               : 0;
        const int room = label.contentsRect().width() - indent - 2 * label.margin();
        if (metrics.horizontalAdvance(text) <= room) break;
    }
    if (label.font() != font) label.setFont(font);
    label.setText(text);
}

}  // namespace

TFigureTab::TFigureTab(TabHost& form)
    : QWidget(&form.Window()),
      SaveDialogVrijFiguur(figure::MakeSaveFigureListDialog()),
      OpenDialogVrijFiguur(figure::MakeOpenFigureListDialog()),
      OpenPictureDialog(MakeOpenPictureDialog()),
      form_(form) {
    setObjectName(QStringLiteral("VrijFiguurTabSheet"));
    BuildControls();
    session_.UseCanvas(HatchImage->Canvas());
    Connect();
    BuildDrawingTools();
    FiguurGridUndo =
        new FigureUndoKeys(this, FiguurGrid, FiguurGridModel, session_, [this](bool replaced) {
            if (replaced) RemoveBackgroundPicture();
            // The view's current cell follows next: that must not draw (and clip) the current row.
            movingCurrent_ = true;
        });
    // The typed-length box is modal and opens only while a segment is open.
    FiguurGridUndo->Blocked = [this] { return model_.interaction.drawing; };
    connect(FiguurGridUndo, &GridUndoKeys::GridRestored, this, [this] {
        movingCurrent_ = false;  // set when put back
        if (model_.HasFigure()) EnableFigureCommands();
        ShowModel();
    });
}

const figure::FigureHistory& TFigureTab::UndoHistory() const {
    return session_.History();
}

void TFigureTab::ShowFigure() {
    RemoveBackgroundPicture();
    if (model_.HasFigure()) EnableFigureCommands();
    ShowModel();
}

TFigureTab::~TFigureTab() {
    // The grid's view and model go before the figure model whose grid they show.
    delete FiguurGrid;
    FiguurGrid = nullptr;
    FiguurGridModel = nullptr;
}

void TFigureTab::BuildControls() {
    // The tab's actions, in the window's action list, and the flat buttons that run them.
    const struct {
        QAction* TFigureTab::*action;
        const char* name;
        const char* hint;
        Glyph glyph;
        bool enabled;
        const char* button;
        int left;
    } actions[] = {
        {&TFigureTab::AddfiguurLijn, "AddfiguurLijn", "Lijn toevoegen", Glyph::Plus, false,
         "AddFiguurLijnSpeedButton", 322},
        {&TFigureTab::DeleteFiguurLijnAction, "DeleteFiguurLijnAction", "Lijn wissen", Glyph::Minus,
         false, "DeleteFiguurLijnSpeedButton", 346},
        {&TFigureTab::SafeVrijFiguurlist, "SafeVrijFiguurlist", "Oplaan coördinatenlijst",
         Glyph::Save, false, "SpeedButtonSaveCoordinaten", 370},
        {&TFigureTab::OpenVrijfiguurList, "OpenVrijfiguurList", "Coördinatenlijst openen",
         Glyph::Open, true, "SpeedButtonOpenCoordinaten", 393},
        {&TFigureTab::OpenPictureAction, "OpenPictureAction", "Achtergrondafbeelding openen",
         Glyph::Picture, false, "SpeedbuttonLoadImage", 82},
        {&TFigureTab::DeleteBackGroundImageAction, "DeleteBackGroundImageAction",
         "Achtergrondafbeelding wissen", Glyph::NoPicture, false,
         "SpeedButton1DeleteBackgroundImage", 106},
        {&TFigureTab::HelpVrijeFiguurAction, "HelpVrijeFiguurAction", "Uitleg Vrij Figuur arcering",
         Glyph::Help, true, "HelpVrijeFiguurSpeedButton", 420},
    };
    for (const auto& a : actions) {
        this->*a.action = TabAction(form_, this, a.name, a.hint, a.glyph, a.enabled);
        ActionButton(this, a.button, this->*a.action, a.left);
    }

    NieuwFiguur = new QPushButton(QStringLiteral("Nieuw"), this);
    NieuwFiguur->setObjectName(QStringLiteral("NieuwFiguur"));
    NieuwFiguur->setGeometry(4, 8, 75, 22);
    NieuwFiguur->setAutoDefault(false);

    XYPos = new QLabel(this);
    XYPos->setObjectName(QStringLiteral("XYPos"));
    XYPos->setGeometry(132, 8, 173, 22);
    XYPos->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    XYPos->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    XYPos->setLineWidth(1);
    XYPos->setFont(StatusFont());

    // Below the grid, at its right end above "Maak hatch", in the row of the description (the
    // grid's button row holds the view tools).
    libraryAddButton_ = new QToolButton(this);
    libraryAddButton_->setObjectName(QStringLiteral("VrijFiguurAanBibliotheek"));
    libraryAddButton_->setText(QStringLiteral("Aan bibliotheek toevoegen..."));
    libraryAddButton_->setToolTip(
        QStringLiteral("Deze arcering aan een bestand met meerdere arceringen toevoegen"));
    libraryAddButton_->setFocusPolicy(Qt::NoFocus);
    libraryAddButton_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    {
        const int width = libraryAddButton_->sizeHint().width();
        libraryAddButton_->setGeometry(kBelowGridRight - width, kBelowGridTop - 1, width, 23);
    }

    DP = new QFrame(this);
    DP->setObjectName(QStringLiteral("DP"));
    DP->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    DP->setLineWidth(1);
    DP->setGeometry(4, 36, figure::kStartPanelSize, figure::kStartPanelSize);

    BackGroundImage = new QLabel(DP);
    BackGroundImage->setObjectName(QStringLiteral("BackGroundImage"));
    BackGroundImage->setAlignment(Qt::AlignCenter);
    BackGroundImage->setAutoFillBackground(true);
    QPalette white = BackGroundImage->palette();
    white.setColor(QPalette::Window, Qt::white);
    BackGroundImage->setPalette(white);

    HatchImage = new FigureCanvas(DP);
    HatchImage->setEnabled(false);
    HatchImage->setCursor(ScreenCursor(kTekenCursor));
    // A click on the canvas takes the focus from an edit, so Delete then deletes the segment
    // just selected there.
    HatchImage->setFocusPolicy(Qt::ClickFocus);

    FiguurGrid = new QTableView(this);
    FiguurGrid->setObjectName(QStringLiteral("FiguurGrid"));
    // 26 pixels shorter than specified: the row below it holds the description and the library.
    FiguurGrid->setGeometry(318, 34, 309, kBelowGridTop - 4 - 34);
    FiguurGridModel = new TextGridModel(&model_.grid, FiguurGrid);
    ShowTextGrid(FiguurGrid, FiguurGridModel, kDefaultColWidth);

    SpeedButtonSelectieMode =
        ModeButton(this, "SpeedButtonSelectieMode", Glyph::Arrow, "Selectiemode", 128, false);
    SpeedButtonTekenmode =
        ModeButton(this, "SpeedButtonTekenmode", Glyph::Pencil, "Tekenen", 152, true);

    CheckBoxSnap = new QCheckBox(QStringLiteral("Snap On"), this);
    CheckBoxSnap->setObjectName(QStringLiteral("CheckBoxSnap"));
    CheckBoxSnap->move(4, 346);
    CheckBoxSnap->adjustSize();
    CheckBoxSnap->setChecked(true);

    RefreschButton = new QPushButton(QStringLiteral("Refresch"), this);
    RefreschButton->setObjectName(QStringLiteral("RefreschButton"));
    RefreschButton->setGeometry(232, 342, 75, 25);
    RefreschButton->setAutoDefault(false);
    RefreschButton->setEnabled(false);

    DikkePen = new QCheckBox(QStringLiteral("Dikke schermpen"), this);
    DikkePen->setObjectName(QStringLiteral("DikkePen"));
    DikkePen->move(4, 368);
    DikkePen->adjustSize();
    DikkePen->setChecked(true);

    // The row of "Maak hatch" is full; below the screen pen is the free place nearest to it.
    CompatibelOpslaan = CompatibleBox(this, "CompatibelOpslaanVrijFiguur", 4, 389);
    CompatibelOpslaan->setChecked(RememberedChoice(kChoiceFigureCompatible, false));
    connect(CompatibelOpslaan, &QCheckBox::toggled, this,
            [](bool on) { RememberChoice(kChoiceFigureCompatible, on); });

    VrijeFiguurType =
        TextCombo(this, "VrijeFiguurType", {QStringLiteral("MODEL"), QStringLiteral("DRAFTING")}, 8,
                  100, "Type arcering");
    VrijeFiguurUnits =
        TextCombo(this, "VrijeFiguurUnits", {QStringLiteral("MM"), QStringLiteral("INCH")}, 110,
                  100, "Type Units");

    LabelHatchName = new QLabel(QStringLiteral("Naam Hatch:"), this);
    LabelHatchName->setObjectName(QStringLiteral("LabelHatchName"));
    LabelHatchName->move(220, 412);
    LabelHatchName->adjustSize();

    NaamEditVrij = new QLineEdit(QStringLiteral("naam arcering"), this);
    NaamEditVrij->setObjectName(QStringLiteral("NaamEditVrij"));
    NaamEditVrij->setGeometry(285, 410, 100, 21);

    // "*NAME, description" in the file; left of "Aan bibliotheek toevoegen...".
    LabelBeschrijvingVrij = new QLabel(QStringLiteral("Beschrijving:"), this);
    LabelBeschrijvingVrij->setObjectName(QStringLiteral("LabelBeschrijvingVrij"));
    LabelBeschrijvingVrij->move(kBesideCanvas + 2, kBelowGridTop + 2);
    LabelBeschrijvingVrij->adjustSize();
    BeschrijvingEditVrij = new QLineEdit(this);
    BeschrijvingEditVrij->setObjectName(QStringLiteral("BeschrijvingEditVrij"));
    const int descriptionLeft = LabelBeschrijvingVrij->geometry().right() + 4;
    BeschrijvingEditVrij->setGeometry(descriptionLeft, kBelowGridTop,
                                      libraryAddButton_->geometry().left() - 4 - descriptionLeft,
                                      21);
    BeschrijvingEditVrij->setToolTip(
        QStringLiteral("Beschrijving van de arcering, na de naam geschreven: *NAAM, beschrijving"));
    LabelBeschrijvingVrij->setBuddy(BeschrijvingEditVrij);

    LabelNauwkeurigheid = new QLabel(QStringLiteral("Nauwkeurigheid:"), this);
    LabelNauwkeurigheid->setObjectName(QStringLiteral("LabelNauwkeurigheid"));
    PlaceAccuracyLabel(*LabelNauwkeurigheid, font());

    // Only its three items: a typed text would have no accuracy.
    ComboBoxNaukeurigheid = new QComboBox(this);
    ComboBoxNaukeurigheid->setObjectName(QStringLiteral("ComboBoxNaukeurigheid"));
    ComboBoxNaukeurigheid->setGeometry(470, 410, 80, 21);
    ComboBoxNaukeurigheid->addItems({QStringLiteral("Nauwkeurig"), QStringLiteral("Middel"),
                                     QStringLiteral("Laag"), QStringLiteral("Op maat")});
    ComboBoxNaukeurigheid->setCurrentIndex(0);
    auto* narrow = new NarrowComboStyle(QApplication::style()->name());
    narrow->setParent(ComboBoxNaukeurigheid);
    ComboBoxNaukeurigheid->setStyle(narrow);

    LabelMaxAfwijking = new QLabel(QStringLiteral("Max. afwijking:"), this);
    LabelMaxAfwijking->setObjectName(QStringLiteral("LabelMaxAfwijking"));
    LabelMaxAfwijking->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LabelMaxAfwijking->setGeometry(kMaxDeviationLabelRect);
    MaxAfwijkingEdit = new QLineEdit(FromFileText(Fmt(figure::kDefaultMaxDeviation)), this);
    MaxAfwijkingEdit->setObjectName(QStringLiteral("MaxAfwijkingEdit"));
    MaxAfwijkingEdit->setGeometry(kMaxDeviationEditRect);
    MaxAfwijkingEdit->setToolTip(
        QStringLiteral("Bij \"Op maat\": de grootste afstand tussen elke lijn en het patroon, "
                       "in tekeneenheden"));
    LabelMaxAfwijking->setBuddy(MaxAfwijkingEdit);
    ShowMaxDeviationState();

    ButtonCreateHatch = new QPushButton(QStringLiteral("Maak hatch"), this);
    ButtonCreateHatch->setObjectName(QStringLiteral("ButtonCreateHatch"));
    ButtonCreateHatch->setGeometry(560, 408, 70, 25);
    ButtonCreateHatch->setAutoDefault(false);

    // The grid itself turns a typed comma into a point; its open cell editor does not.
    form_.AddCommaToPointWidget(FiguurGrid);
    ShowModel();
}

void TFigureTab::Connect() {
    connect(NieuwFiguur, &QPushButton::clicked, this, &TFigureTab::NieuwFiguurClick);
    connect(AddfiguurLijn, &QAction::triggered, this, &TFigureTab::AddfiguurLijnExecute);
    connect(DeleteFiguurLijnAction, &QAction::triggered, this,
            &TFigureTab::DeleteFiguurLijnActionExecute);
    connect(SafeVrijFiguurlist, &QAction::triggered, this, &TFigureTab::SafeVrijFiguurlistExecute);
    connect(OpenVrijfiguurList, &QAction::triggered, this, &TFigureTab::OpenVrijfiguurListExecute);
    connect(OpenPictureAction, &QAction::triggered, this, &TFigureTab::OpenPictureActionExecute);
    connect(DeleteBackGroundImageAction, &QAction::triggered, this,
            &TFigureTab::DeleteBackGroundImageActionExecute);
    connect(HelpVrijeFiguurAction, &QAction::triggered, this,
            &TFigureTab::HelpVrijeFiguurActionExecute);
    connect(RefreschButton, &QPushButton::clicked, this, &TFigureTab::RefreschButtonClick);
    connect(DikkePen, &QCheckBox::clicked, this, &TFigureTab::DikkePenClick);
    connect(CheckBoxSnap, &QCheckBox::clicked, this, &TFigureTab::CheckBoxSnapClick);
    connect(SpeedButtonSelectieMode, &QToolButton::clicked, this,
            &TFigureTab::SpeedButtonSelectieModeClick);
    connect(SpeedButtonTekenmode, &QToolButton::clicked, this,
            &TFigureTab::SpeedButtonTekenmodeClick);
    connect(ButtonCreateHatch, &QPushButton::clicked, this, &TFigureTab::ButtonCreateHatchClick);
    connect(ComboBoxNaukeurigheid, &QComboBox::currentIndexChanged, this, [this] {
        ShowMaxDeviationState();
        emit ConversionChoiceChanged();
    });
    connect(MaxAfwijkingEdit, &QLineEdit::textChanged, this, &TFigureTab::ConversionChoiceChanged);
    connect(libraryAddButton_, &QToolButton::clicked, this, &TFigureTab::AddToLibraryClick);
    connect(HatchImage, &FigureCanvas::MouseMoved, this, &TFigureTab::HatchImageMouseMove);
    connect(HatchImage, &FigureCanvas::LeftPressed, this, &TFigureTab::HatchImagePress);
    connect(HatchImage, &FigureCanvas::LeftReleased, this, &TFigureTab::HatchImageRelease);
    connect(HatchImage, &FigureCanvas::Wheeled, this, &TFigureTab::HatchImageWheel);
    connect(HatchImage, &FigureCanvas::Panned, this, &TFigureTab::HatchImagePan);

    // The grid's current cell follows the view first (ShowTextGrid), then the row is drawn.
    connect(FiguurGrid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!movingCurrent_ && current.isValid()) FiguurGridSelectCell(current.row() + 1);
            });
    connect(FiguurGrid, &QTableView::clicked, this, &TFigureTab::FiguurGridClick);
    // Enter in an open cell editor writes the cell and closes the editor with this hint.
    connect(FiguurGrid->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget*, QAbstractItemDelegate::EndEditHint hint) {
                if (hint == QAbstractItemDelegate::SubmitModelCache) FiguurGridKeyDown();
            });
    FiguurGrid->installEventFilter(this);
    VoorbeeldButton = AddPreview();
    if (PreviewSource* preview = PreviewSourceOf(this))
        connect(CompatibelOpslaan, &QCheckBox::toggled, preview, &PreviewSource::ContentChanged);
}

PatternStyle TFigureTab::SaveStyle() const {
    return StyleOf(CompatibelOpslaan);
}

void TFigureTab::changeEvent(QEvent* event) {
    // The window sets the tab's face after building it: the label is fitted again in that face.
    if (event->type() == QEvent::FontChange && LabelNauwkeurigheid)
        PlaceAccuracyLabel(*LabelNauwkeurigheid, font());
    QWidget::changeEvent(event);
}

bool TFigureTab::eventFilter(QObject* watched, QEvent* event) {
    // Enter on the grid itself, without an open cell editor (an editor's Enter also reaches the
    // grid, passed on by the editor, before the editor's text is in the cell).
    if (watched == FiguurGrid && event->type() == QEvent::KeyPress && FiguurGrid->hasFocus()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) FiguurGridKeyDown();
    }
    return QWidget::eventFilter(watched, event);
}

void TFigureTab::ShowModel() {
    FitCanvasToRoom();
    const int panelWidth = model_.PanelWidth();
    const int panelHeight = model_.PanelHeight();
    if (DP->width() != panelWidth || DP->height() != panelHeight) {
        DP->resize(panelWidth, panelHeight);
    }
    const QRect area(1, 1, panelWidth - 2, panelHeight - 2);
    BackGroundImage->setGeometry(area);
    // The picture is centred on the tile, which spans canvas pixels 0 to the tile's pixel size
    // (a zoomed or moved view paints its own, see ShowBackgroundForView).
    const figure::ViewState& shownView = model_.view;
    if (shownView.zoom == 1 && shownView.offsetX == 0 && shownView.offsetY == 0) {
        BackGroundImage->setContentsMargins(0, 0, area.width() - model_.TilePixelWidth(),
                                            area.height() - model_.TilePixelHeight());
    }
    HatchImage->setGeometry(area);
    ShowBackgroundForView(area);
    QVector<QPoint> dots;
    for (const figure::Pixel& p : figure::GridDots(model_))
        dots.append(QPoint(p.x, p.y));
    HatchImage->SetGridDots(std::move(dots));
    QRect frame;
    if (const auto outline = figure::TileOutline(model_)) {
        frame = QRect(QPoint(outline->first.x, outline->first.y),
                      QPoint(outline->second.x, outline->second.y));
    }
    HatchImage->SetTileFrame(frame);
    movingCurrent_ = true;
    RefreshGridView(FiguurGrid, FiguurGridModel);
    // The grid shows selected what Delete takes: nothing when no row is red.
    if (figure::ShownSelectedRow(model_) == 0 && !figure::WindowSelectionValid(model_))
        FiguurGrid->clearSelection();
    movingCurrent_ = false;
    HatchImage->update();
}

void TFigureTab::MoveGridCurrent(int row) {
    movingCurrent_ = true;
    model_.grid.SetCurrent(std::max(model_.grid.CurrentCol(), 1), row);
    ShowGridCurrent(FiguurGrid, FiguurGridModel);
    movingCurrent_ = false;
}

void TFigureTab::EnableFigureCommands() {
    AddfiguurLijn->setEnabled(true);
    DeleteFiguurLijnAction->setEnabled(true);
    HatchImage->setEnabled(true);
    SafeVrijFiguurlist->setEnabled(true);
    RefreschButton->setEnabled(true);
    OpenPictureAction->setEnabled(true);
}

void TFigureTab::RemoveBackgroundPicture() {
    BackGroundImage->clear();
    backgroundPicture_ = QImage();
    backgroundShownFor_.clear();
    HatchImage->SetTransparent(false);
    DeleteBackGroundImageAction->setEnabled(false);
}

void TFigureTab::NieuwFiguurClick() {
    if (model_.interaction.drawing) return;
    if (!MayDropChanges()) return;
    TNewVrijHatch& dialog = form_.NewFigureDialog();
    // Cancelled, the old figure stays with all its commands.
    if (dialog.exec() != QDialog::Accepted) return;
    AddfiguurLijn->setEnabled(false);
    DeleteFiguurLijnAction->setEnabled(false);
    SafeVrijFiguurlist->setEnabled(false);
    DeleteBackGroundImageAction->setEnabled(false);
    HatchImage->setEnabled(false);
    RefreschButton->setEnabled(false);
    if (!session_.NewFigure(ToFileText(dialog.BreedteEdit->text()),
                            ToFileText(dialog.HoogteEdit->text()))) {
        ShowError(form_.ThePlatform(), figure::kInvalidValueText, figure::kInvalidValueTitle,
                  form_.Handle());
        return;
    }
    RemoveBackgroundPicture();
    EnableFigureCommands();
    ShowModel();
}

void TFigureTab::AddfiguurLijnExecute() {
    CommitOpenCell(FiguurGrid);
    // The new row becomes current; showing the model scrolls the grid to it.
    session_.AddRow();
    ShowModel();
}

void TFigureTab::DeleteFiguurLijnActionExecute() {
    CommitOpenCell(FiguurGrid);
    // What is shown selected: the rows of a window selection, or the row shown red.
    session_.DeleteSelected();
    ShowModel();
}

void TFigureTab::FiguurGridKeyDown() {
    session_.EnterRow();
    ShowModel();
}

void TFigureTab::FiguurGridSelectCell(int row) {
    session_.SelectRow(row);
    HatchImage->update();
}

void TFigureTab::FiguurGridClick() {
    session_.RedrawAfterBackground();
    ShowModel();
}

void TFigureTab::DikkePenClick() {
    session_.SetThickPen(DikkePen->isChecked());
    ShowModel();
}

void TFigureTab::RefreschButtonClick() {
    session_.Redraw();
    ShowModel();
}

void TFigureTab::OpenPictureActionExecute() {
    if (!form_.ThePlatform().RunFileDialog(OpenPictureDialog, form_.Handle())) return;
    // The picture is read before anything changes: one that cannot be read leaves the canvas,
    // the picture shown so far and the delete command as they were.
    // Fitted to the tile, not to the canvas with its extra pixels: a traced point of the
    // picture is the tile point under it.
    const BackgroundPictureResult picture =
        LoadBackgroundPicture(QString::fromStdString(OpenPictureDialog.fileName),
                              QSize(model_.TilePixelWidth(), model_.TilePixelHeight()));
    if (!picture.ok()) {
        form_.ThePlatform().ShowApplicationError(ToFileText(picture.error));
        return;
    }
    backgroundPicture_ = picture.image;
    backgroundShownFor_.clear();
    ShowBackgroundForView(QRect(1, 1, model_.CanvasWidth(), model_.CanvasHeight()));
    DeleteBackGroundImageAction->setEnabled(true);
    HatchImage->SetTransparent(true);
    model_.backgroundChanged = true;
}

void TFigureTab::DeleteBackGroundImageActionExecute() {
    RemoveBackgroundPicture();
    DeleteBackGroundImageAction->setEnabled(false);
}

void TFigureTab::HelpVrijeFiguurActionExecute() {
    const QString url = HelpPageUrl(QLatin1String(kFigureHelpName));
    if (!url.isEmpty()) OpenPageOrTell(form_.ThePlatform(), url, ApplicationHandle());
}

namespace {

PatternHeader ListTexts(const QComboBox* units, const QComboBox* type, const QLineEdit* name,
                        const QLineEdit* description) {
    return {ToFileText(units->currentText()), ToFileText(type->currentText()),
            ToFileText(name->text()), ToFileText(description->text())};
}

}  // namespace

void TFigureTab::SafeVrijFiguurlistExecute() {
    SaveFigureListNow();
}

bool TFigureTab::SaveFigureListNow() {
    CommitOpenCell(FiguurGrid);
    return session_.SaveList(
        form_.ThePlatform(), SaveDialogVrijFiguur, ApplicationHandle(),
        ListTexts(VrijeFiguurUnits, VrijeFiguurType, NaamEditVrij, BeschrijvingEditVrij));
}

bool TFigureTab::MayDropChanges() {
    CommitOpenCell(FiguurGrid);
    const bool changed = session_.Changed();
    // The user sees what the question is about.
    if (changed) form_.Pages()->setCurrentWidget(this);
    const QString caption = form_.Pages()->tabText(form_.Pages()->indexOf(this));
    return murvex::MayDropChanges(form_.ThePlatform(), changed, ToFileText(caption), form_.Handle(),
                                  [this] { return SaveFigureListNow(); });
}

void TFigureTab::OpenVrijfiguurListExecute() {
    CommitOpenCell(FiguurGrid);
    // One question is enough: after "save the changes?" the list's own one is left out.
    const bool changesAsked = session_.Changed();
    if (!MayDropChanges()) return;
    bool chosen = false;
    RunCommand(form_.ThePlatform(), [&] {
        chosen = figure::ChooseFigureList(form_.ThePlatform(), OpenDialogVrijFiguur,
                                          ApplicationHandle(), !changesAsked);
    });
    if (!chosen) return;
    if (dxf::IsDxfName(OpenDialogVrijFiguur.fileName))
        OpenDxfDrawing(OpenDialogVrijFiguur.fileName);
    else
        OpenFigureListFile(OpenDialogVrijFiguur.fileName);
}

void TFigureTab::OpenDxfDrawing(const std::string& path) {
    OpenDialogVrijFiguur.fileName = path;
    Platform& platform = form_.ThePlatform();
    dxf::DrawingResult read;
    RunCommand(platform, [&] { read = dxf::ReadDrawingFile(path); });
    if (!read.drawing) {
        if (!read.error.empty()) ShowError(platform, read.error, "DXF-tekening", form_.Handle());
        return;
    }
    TDxfImportForm dialog(std::move(*read.drawing), &form_.Window());
    if (dialog.exec() != QDialog::Accepted || !dialog.Figure()) return;
    const dxf::TileFigure& figure = *dialog.Figure();
    if (!session_.LoadSegments(figure.width, figure.height, figure.segments)) {
        ShowError(platform, figure::kInvalidValueText, figure::kInvalidValueTitle, form_.Handle());
        return;
    }
    SetComboText(VrijeFiguurUnits, FromFileText(dialog.Figure()->report.units));
    // The pattern is named after the drawing, not after the figure it replaced.
    NaamEditVrij->setText(QFileInfo(FromFileText(path)).completeBaseName());
    BeschrijvingEditVrij->clear();
    RemoveBackgroundPicture();
    EnableFigureCommands();
    ShowModel();
}

void TFigureTab::OpenFigureListFile(const std::string& path) {
    // The open dialog offers the file next time, however it was named.
    OpenDialogVrijFiguur.fileName = path;
    PatternHeader texts =
        ListTexts(VrijeFiguurUnits, VrijeFiguurType, NaamEditVrij, BeschrijvingEditVrij);
    const std::optional<figure::ListReadResult> result =
        session_.OpenList(form_.ThePlatform(), path, ApplicationHandle(), texts);
    if (result && result->tileSet) {
        // A new tile: the picture goes, the delete command keeps its state.
        RemoveBackgroundPicture();
        EnableFigureCommands();
    }
    SetComboText(VrijeFiguurUnits, FromFileText(texts.units));
    SetComboText(VrijeFiguurType, FromFileText(texts.type));
    const QString name = FromFileText(texts.name);
    if (NaamEditVrij->text() != name) NaamEditVrij->setText(name);
    const QString description = FromFileText(texts.description);
    if (BeschrijvingEditVrij->text() != description) BeschrijvingEditVrij->setText(description);
    ShowModel();
}

bool TFigureTab::OpenFigureListLines(const LineList& lines) {
    if (!MayDropChanges()) return false;
    form_.Pages()->setCurrentWidget(this);
    PatternHeader texts =
        ListTexts(VrijeFiguurUnits, VrijeFiguurType, NaamEditVrij, BeschrijvingEditVrij);
    const figure::ListReadResult result = session_.ReadListLines(lines, texts);
    if (result.tileSet) {
        RemoveBackgroundPicture();
        EnableFigureCommands();
    }
    SetComboText(VrijeFiguurUnits, FromFileText(texts.units));
    SetComboText(VrijeFiguurType, FromFileText(texts.type));
    NaamEditVrij->setText(FromFileText(texts.name));
    BeschrijvingEditVrij->setText(FromFileText(texts.description));
    ShowModel();
    return true;
}

void TFigureTab::ButtonCreateHatchClick() {
    MakeHatchThen([this](const LineList& lines) -> std::optional<std::string> {
        if (!SaveHatchFile(lines, form_.ThePlatform(), form_.HatchSaveDialog(), form_.Handle()))
            return std::nullopt;
        return form_.HatchSaveDialog().fileName;
    });
}

void TFigureTab::AddToLibraryClick() {
    MakeHatchThen([this](const LineList& lines) -> std::optional<std::string> {
        if (!AddToLibraryFile(lines, form_.ThePlatform(), form_.LibraryFileDialog(),
                              form_.Handle()))
            return std::nullopt;
        // A library holds many patterns: its name is not the pattern's.
        return std::string();
    });
}

void TFigureTab::TellMisreadingReaders(const LineList& lines, const std::string& fileName) {
    if (RememberedChoice(kChoiceReaderNoticeOff, false)) return;
    const std::optional<std::string> notice = figure::ReaderNotice(lines, fileName, SaveStyle());
    if (!notice) return;
    bool off = false;
    form_.ThePlatform().MessageBoxWithCheck(*notice, figure::kReaderNoticeTitle, style::kWarning,
                                            form_.Handle(), figure::kReaderNoticeCheck, off);
    if (off) RememberChoice(kChoiceReaderNoticeOff, true);
}

void TFigureTab::MakeHatchThen(
    const std::function<std::optional<std::string>(const LineList&)>& save) {
    CommitOpenCell(FiguurGrid);
    TErrorForm& errors = form_.ErrorWindow();
    errors.Clear();

    const std::optional<figure::ConversionSettings> choice = ConversionChoice();
    if (!choice) {
        // Named, since the edit lies away from the combo box that asks for it.
        ShowError(form_.ThePlatform(), std::string(kInvalidValueText) + " bij \"Max. afwijking\"",
                  "Error", form_.Handle());
        return;
    }
    const PatternHeader texts =
        ListTexts(VrijeFiguurUnits, VrijeFiguurType, NaamEditVrij, BeschrijvingEditVrij);
    Platform& platform = form_.ThePlatform();
    const figure::FigureHatch hatch = session_.MakeHatch(texts, *choice, &platform, SaveStyle());
    std::optional<std::string> written;
    RunCommand(platform, [&] { written = save(hatch.lines); });
    if (written) TellMisreadingReaders(hatch.lines, *written);

    // After the save flow, whatever became of it.
    if (hatch.failedRows.empty()) return;
    QStringList lines;
    for (const std::string& message : figure::FailedRowMessages(hatch.failedRows))
        lines << FromFileText(message);
    errors.ShowFailedRows(lines.join(QLatin1Char('\n')), hatch.failedRows.size(),
                          choice->accuracy == figure::Accuracy::OpMaat);
    errors.exec();
}

std::optional<figure::ConversionSettings> TFigureTab::ConversionChoice() const {
    return session_.ConversionChoice(ComboBoxNaukeurigheid->currentIndex(),
                                     ToFileText(MaxAfwijkingEdit->text()));
}

void TFigureTab::ShowMaxDeviationState() {
    const bool custom = figure::AccuracyFromIndex(ComboBoxNaukeurigheid->currentIndex()) ==
                        figure::Accuracy::OpMaat;
    LabelMaxAfwijking->setEnabled(custom);
    MaxAfwijkingEdit->setEnabled(custom);
}

void TFigureTab::Apply(const figure::Reaction& reaction, bool gridChanged) {
    if (reaction.status) ShowStatusText(*XYPos, FromFileText(*reaction.status));
    if (reaction.cursor) {
        const int number = static_cast<int>(*reaction.cursor);
        HatchImage->setCursor(number == 0 ? QCursor(Qt::ArrowCursor) : ScreenCursor(number));
    }
    if (reaction.selectedRow) MoveGridCurrent(*reaction.selectedRow);
    if (reaction.marker) {
        HatchImage->SetSnapMarker(QPoint(reaction.marker->pixel.x, reaction.marker->pixel.y),
                                  static_cast<int>(reaction.marker->kind));
    }
    if (reaction.window) {
        const figure::SelectionWindow& w = *reaction.window;
        HatchImage->SetSelectionWindow(
            w.shown ? QRect(QPoint(w.from.x, w.from.y), QPoint(w.to.x, w.to.y)) : QRect());
    }
    if (gridChanged) {
        ShowModel();
    } else {
        HatchImage->update();
    }
    if (reaction.warning) {
        ShowWarning(form_.ThePlatform(), *reaction.warning, std::string(), ApplicationHandle());
    }
    if (reaction.openTypedLengthBox) ShowTypedLengthBox(*reaction.openTypedLengthBox);
}

void TFigureTab::ShowTypedLengthBox(const figure::TypedLengthBox& box) {
    TInputRubberForm& input = form_.TypedLengthBox();
    input.InPutRubberEdit->setText(FromFileText(box.text));
    input.setGeometry(box.left, box.top, box.width, box.height);
    const bool accepted = input.exec() == QDialog::Accepted;
    const std::string text = ToFileText(input.InPutRubberEdit->text());
    input.InPutRubberEdit->clear();
    if (accepted) {
        Apply(session_.TypedText(text, form_.ThePlatform().DecimalSeparator()));
    } else {
        session_.TypedLengthCancelled();
    }
}

void TFigureTab::HatchImageMouseMove(QPoint pixel) {
    // A mouse move never changes the grid: only the canvas and the status text are shown again,
    // so following the mouse costs the same whatever the figure holds.
    Apply(session_.MouseMove(ToPixel(pixel)), false);
}

void TFigureTab::HatchImageClick(QPoint pixel) {
    CommitOpenCell(FiguurGrid);
    Apply(session_.Click(ToPixel(pixel)));
}

void TFigureTab::SpeedButtonSelectieModeClick() {
    Apply(session_.SelectionMode());
}

void TFigureTab::SpeedButtonTekenmodeClick() {
    Apply(session_.DrawingMode());
}

void TFigureTab::CheckBoxSnapClick() {
    Apply(session_.SetSnap(CheckBoxSnap->isChecked()));
}

figure::KeyFocus TFigureTab::KeyFocus() const {
    if (form_.Pages()->currentWidget() != this) return figure::KeyFocus::OtherTab;
    // A cell editor is a line edit too; an editable combo box's edit is the combo's child.
    for (const QWidget* w = QApplication::focusWidget(); w && w != this; w = w->parentWidget()) {
        if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
            qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
            qobject_cast<const QTextEdit*>(w)) {
            return figure::KeyFocus::TextControl;
        }
    }
    return figure::KeyFocus::FigureTab;
}

bool TFigureTab::DeleteKeyDeletesSegment(const QKeyEvent* event) const {
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    if (model_.interaction.drawing || !DeleteFiguurLijnAction->isEnabled()) return false;
    if (KeyFocus() != figure::KeyFocus::FigureTab) return false;
    // Only where the selected segment is what the user looks at: the grid without an open
    // cell editor, or the canvas.
    const QWidget* focus = QApplication::focusWidget();
    return !focus || focus == FiguurGrid || focus == HatchImage || focus == this;
}

bool TFigureTab::FormKeyDown(QKeyEvent* event) {
    const figure::Key key =
        event->key() == Qt::Key_Escape ? figure::Key::Escape : figure::Key::Other;
    // The Shift key's own press may come without the Shift modifier set.
    const bool shift =
        event->modifiers().testFlag(Qt::ShiftModifier) || event->key() == Qt::Key_Shift;
    if ((event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) &&
        DeleteKeyDeletesSegment(event)) {
        DeleteFiguurLijnActionExecute();
        return true;
    }
    // Space held over the figure tab: a left drag on the canvas pans.
    if (event->key() == Qt::Key_Space && KeyFocus() == figure::KeyFocus::FigureTab &&
        !qobject_cast<const QAbstractButton*>(QApplication::focusWidget())) {
        HatchImage->SetSpaceHeld(true);
        return true;
    }
    const figure::Reaction reaction = session_.KeyDown(key, shift, KeyFocus());
    // Most keys only pass by: the grid and the canvas are left alone for them.
    if (reaction.keySwallowed || reaction.status || reaction.cursor || reaction.selectedRow ||
        reaction.warning || reaction.openTypedLengthBox) {
        Apply(reaction);
    }
    return reaction.keySwallowed;
}

bool TFigureTab::FormKeyPress(QKeyEvent* event) {
    const QString text = event->text();
    if (text.size() != 1 || text[0].unicode() > 0x7F) return false;
    const figure::Reaction reaction = session_.KeyPress(
        static_cast<char>(text[0].unicode()), KeyFocus(), form_.Window().x(), form_.Window().y());
    if (!reaction.keySwallowed && !reaction.openTypedLengthBox) return false;
    Apply(reaction);
    return reaction.keySwallowed;
}

void TFigureTab::FormKeyUp(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) HatchImage->SetSpaceHeld(false);
    session_.KeyUp(event->modifiers().testFlag(Qt::ShiftModifier) && event->key() != Qt::Key_Shift);
}

// ---- Drawing tools: zoom and pan, switchable snaps, polar angles, chain drawing, end point
// drags and window selection. Every tool starts switched off, so the tab starts as designed.

namespace {

QToolButton* ToolButton(QWidget* parent, const char* name, const char* text, const char* hint,
                        QRect place) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QString::fromUtf8(text));
    button->setToolTip(QString::fromUtf8(hint));
    button->setGeometry(place);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

QAction* SnapAction(QMenu* menu, const char* name, const char* text, bool on) {
    QAction* action = menu->addAction(QString::fromUtf8(text));
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(true);
    action->setChecked(on);
    return action;
}

}  // namespace

void TFigureTab::BuildDrawingTools() {
    // In the button row above the grid, after the help button: the place below the figure
    // holds "Max. afwijking".
    PassendButton_ =
        ToolButton(this, "PassendButton", "Passend", "Tegel passend tonen", QRect(448, 8, 50, 22));
    SnapsButton_ = ToolButton(this, "SnapsButton", "Snaps", "Snappunten, poolhoeken en ketting",
                              QRect(500, 8, 48, 22));

    figure::SnapSettings& snaps = model_.interaction.snaps;
    SnapsMenu_ = new QMenu(SnapsButton_);
    SnapsMenu_->setObjectName(QStringLiteral("SnapsMenu"));
    const struct {
        const char* name;
        const char* text;
        bool figure::SnapSettings::*field;
    } kinds[] = {
        {"SnapGridAction", "Raster", &figure::SnapSettings::grid},
        {"SnapMidAction", "Middens", &figure::SnapSettings::midPoints},
        {"SnapIntersectionAction", "Snijpunten", &figure::SnapSettings::intersections},
        {"SnapNearestAction", "Dichtstbijzijnd punt", &figure::SnapSettings::nearest},
        {"SnapTileCornerAction", "Tegelhoeken", &figure::SnapSettings::tileCorners},
        {"SnapTileAction", "Tegelranden", &figure::SnapSettings::tile},
        {"SnapNeighbourAction", "Eindpunten van de buurkopieën", &figure::SnapSettings::neighbours},
    };
    for (const auto& kind : kinds) {
        QAction* action = SnapAction(SnapsMenu_, kind.name, kind.text, snaps.*kind.field);
        const auto field = kind.field;
        connect(action, &QAction::toggled, this, [this, field](bool on) {
            model_.interaction.snaps.*field = on;
            ShowModel();
        });
    }
    QAction* spacing = SnapsMenu_->addAction(QStringLiteral("Rasterafstand..."));
    spacing->setObjectName(QStringLiteral("GridSpacingAction"));
    connect(spacing, &QAction::triggered, this, &TFigureTab::GridSpacingClick);
    SnapsMenu_->addSeparator();

    PolarMenu_ = SnapsMenu_->addMenu(QStringLiteral("Poolhoeken"));
    PolarMenu_->setObjectName(QStringLiteral("PolarMenu"));
    auto* steps = new QActionGroup(PolarMenu_);
    for (const int step : {0, 15, 30, 45}) {
        QAction* action = PolarMenu_->addAction(step == 0 ? QStringLiteral("Uit")
                                                          : QStringLiteral("%1°").arg(step));
        action->setObjectName(QStringLiteral("Polar%1Action").arg(step));
        action->setCheckable(true);
        action->setChecked(step == 0);
        steps->addAction(action);
        connect(action, &QAction::triggered, this, [this, step] {
            model_.interaction.polarOn = step != 0;
            if (step != 0) model_.interaction.polarStep = step;
        });
    }
    QAction* chain = SnapAction(SnapsMenu_, "ChainAction",
                                "Ketting: elke lijn begint waar de vorige eindigde", false);
    connect(chain, &QAction::toggled, this, [this](bool on) { model_.interaction.chainOn = on; });
    SnapsButton_->setMenu(SnapsMenu_);
    SnapsButton_->setPopupMode(QToolButton::InstantPopup);

    connect(PassendButton_, &QToolButton::clicked, this, &TFigureTab::PassendClick);

    // The canvas's context menu: the selection copied, moved or mirrored by typed values.
    SelectionEditMenu_ = new QMenu(HatchImage);
    SelectionEditMenu_->setObjectName(QStringLiteral("SelectionEditMenu"));
    const struct {
        const char* name;
        const char* text;
        figure::SelectionEdit edit;
    } edits[] = {
        {"CopySelectionAction", "Kopiëren...", figure::SelectionEdit::Copy},
        {"MoveSelectionAction", "Verplaatsen...", figure::SelectionEdit::Move},
        {"MirrorLeftRightAction", "Spiegelen links-rechts...",
         figure::SelectionEdit::MirrorLeftRight},
        {"MirrorUpDownAction", "Spiegelen boven-onder...", figure::SelectionEdit::MirrorUpDown},
    };
    for (const auto& e : edits) {
        QAction* action = SelectionEditMenu_->addAction(QString::fromUtf8(e.text));
        action->setObjectName(QString::fromLatin1(e.name));
        const int edit = static_cast<int>(e.edit);
        connect(action, &QAction::triggered, this, [this, edit] { SelectionEditClick(edit); });
    }
    HatchImage->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(HatchImage, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        if (!model_.interaction.drawing) SelectionEditMenu_->popup(HatchImage->mapToGlobal(at));
    });
}

void TFigureTab::SelectionEditClick(int edit) {
    const auto kind = static_cast<figure::SelectionEdit>(edit);
    const figure::SelectionEditTexts texts =
        figure::EditTexts(kind, form_.ThePlatform().DecimalSeparator());
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("SelectionEditDialog"));
    dialog.setWindowTitle(FromFileText(texts.title));
    auto* layout = new QFormLayout(&dialog);
    auto* value = new QLineEdit(&dialog);
    value->setObjectName(QStringLiteral("SelectionEditValue"));
    layout->addRow(FromFileText(texts.label), value);
    auto* keep = new QCheckBox(QStringLiteral("Origineel behouden"), &dialog);
    keep->setObjectName(QStringLiteral("SelectionEditKeep"));
    keep->setChecked(true);
    keep->setVisible(texts.asksKeep);
    if (texts.asksKeep) layout->addRow(keep);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuleren"));
    layout->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted) return;
    const std::optional<figure::EditResult> result =
        session_.EditSelectionTyped(kind, ToFileText(value->text()), keep->isChecked());
    if (!result || *result == figure::EditResult::OntoItself) {
        ShowWarning(form_.ThePlatform(), result ? figure::kCopyOntoItselfText : texts.refused,
                    std::string(), ApplicationHandle());
    }
    if (result) ShowModel();
}

void TFigureTab::GridSpacingClick() {
    QInputDialog dialog(this);
    dialog.setObjectName(QStringLiteral("GridSpacingDialog"));
    dialog.setWindowTitle(QStringLiteral("Raster"));
    dialog.setLabelText(QStringLiteral("Rasterafstand:"));
    dialog.setTextValue(FromFileText(Fmt(model_.interaction.snaps.gridSpacing)));
    if (dialog.exec() != QDialog::Accepted) return;
    if (!session_.SetGridSpacingTyped(ToFileText(dialog.textValue()))) {
        ShowError(form_.ThePlatform(), figure::kInvalidValueText, figure::kInvalidValueTitle,
                  form_.Handle());
        return;
    }
    ShowModel();
}

void TFigureTab::ShowBackgroundForView(const QRect& area) {
    if (backgroundPicture_.isNull()) return;
    const figure::ViewState& v = model_.view;
    const QString key = QStringLiteral("%1 %2 %3 %4 %5")
                            .arg(static_cast<double>(v.zoom), 0, 'g', 17)
                            .arg(static_cast<double>(v.offsetX), 0, 'g', 17)
                            .arg(static_cast<double>(v.offsetY), 0, 'g', 17)
                            .arg(area.width())
                            .arg(area.height());
    if (key == backgroundShownFor_) return;
    backgroundShownFor_ = key;
    if (v.zoom == 1 && v.offsetX == 0 && v.offsetY == 0) {
        BackGroundImage->setAlignment(Qt::AlignCenter);
        BackGroundImage->setPixmap(QPixmap::fromImage(backgroundPicture_));
        return;
    }
    const figure::CanvasRect r =
        figure::PictureOnCanvas(model_, backgroundPicture_.width(), backgroundPicture_.height());
    const QRectF target(r.left, r.top, r.width, r.height);
    QPixmap shown(area.size());
    shown.fill(Qt::white);
    // Only the part on the canvas is painted; a picture far larger than any screen is left out.
    constexpr double kLargest = 1e6;
    if (target.width() < kLargest && target.height() < kLargest &&
        target.intersects(QRectF(QPointF(0, 0), QSizeF(area.size())))) {
        QPainter painter(&shown);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, backgroundPicture_);
    }
    BackGroundImage->setContentsMargins(0, 0, 0, 0);
    BackGroundImage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    BackGroundImage->setPixmap(shown);
}

void TFigureTab::ShowViewChange(QPoint mouse) {
    // The marker stood for the mouse over the old picture; a move shows it again where it is.
    HatchImage->SetSnapMarker(QPoint(), 0);
    ShowModel();
    // The redraw took the rubber line away: the mouse draws it again where it now is.
    if (HatchImage->rect().contains(mouse)) HatchImageMouseMove(mouse);
}

void TFigureTab::HatchImageWheel(QPoint pixel, int delta) {
    if (session_.Zoom(ToPixel(pixel), delta)) ShowViewChange(pixel);
}

void TFigureTab::HatchImagePan(QPoint delta) {
    if (session_.Pan(delta.x(), delta.y()))
        ShowViewChange(HatchImage->mapFromGlobal(QCursor::pos()));
}

void TFigureTab::PassendClick() {
    session_.Fit();
    ShowViewChange(HatchImage->mapFromGlobal(QCursor::pos()));
}

void TFigureTab::HatchImagePress(QPoint pixel) {
    Apply(session_.Press(ToPixel(pixel)), false);
}

void TFigureTab::HatchImageRelease(QPoint pixel, bool inside) {
    CommitOpenCell(FiguurGrid);
    const figure::Reaction reaction = session_.Release(ToPixel(pixel));
    Apply(reaction);
    if (!reaction.releaseHandled && inside) HatchImageClick(pixel);
}

void TFigureTab::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutForExtraRoom();
}

void TFigureTab::LayoutForExtraRoom() {
    const QTabWidget* pages = form_.Pages();
    if (!pages || !DP) return;
    const int extraWidth = std::max(pages->width() - kDesignedPageWidth, 0);
    const int extraHeight = std::max(pages->height() - kDesignedPageHeight, 0);
    if (designedPlaces_.empty()) {
        if (extraWidth != 0 || extraHeight != 0) return;  // not yet at the designed size
        for (QObject* child : children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (w && w != DP && !w->isWindow()) designedPlaces_.push_back({w, w->geometry()});
        }
    }
    // What lies below the canvas moves down, what lies beside it moves right; the grid grows
    // downward as well. At the designed size everything stays where it was.
    for (const auto& [w, place] : designedPlaces_) {
        QRect r = place;
        if (place.top() >= kBelowCanvas) {
            r.translate(0, extraHeight);
        } else if (place.left() >= kBesideCanvas) {
            r.translate(extraWidth, 0);
        }
        if (w == FiguurGrid) r.setHeight(place.height() + extraHeight);
        // The row below the grid goes with it.
        if (w == LabelBeschrijvingVrij || w == BeschrijvingEditVrij || w == libraryAddButton_)
            r = place.translated(extraWidth, extraHeight);
        // The status above the canvas widens with it: long numbers keep their face.
        if (w == XYPos) r.setWidth(place.width() + extraWidth);
        if (w->geometry() != r) w->setGeometry(r);
    }
    // The marker stood for the mouse over the old picture.
    HatchImage->SetSnapMarker(QPoint(), 0);
    ShowModel();
}

void TFigureTab::FitCanvasToRoom() {
    const QTabWidget* pages = form_.Pages();
    if (!pages) return;
    const figure::CanvasExtra extra = figure::CanvasRoom(
        model_, pages->width() - kDesignedPageWidth, pages->height() - kDesignedPageHeight);
    session_.UseRoom(extra.width, extra.height);
}

}  // namespace murvex::app
