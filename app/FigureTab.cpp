// The tab "Vrij figuur": a figure of segments in a tile, drawn and typed, as a pattern file.
#include "FigureTab.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
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
#include "Conversion.h"
#include "Cursors.h"
#include "DesignFonts.h"
#include "ErrorForm.h"
#include "FigureCanvas.h"
#include "FigureEditing.h"
#include "FigureList.h"
#include "FigurePreview.h"
#include "GridUndo.h"
#include "InputRubberForm.h"
#include "Interaction.h"
#include "MainForm.h"
#include "Msg.h"
#include "NewVrijHatch.h"
#include "OpenPage.h"
#include "QtText.h"
#include "SaveHatch.h"
#include "TabParts.h"
#include "TextGridModel.h"
#include "WindowHandles.h"
#include "help/HelpPage.h"

namespace murvex::app {
namespace {

// An action of the window's action list with its hint and picture.
QAction* TabAction(TMainForm& form, QObject* owner, const char* name, const char* hint, Glyph glyph,
                   bool enabled) {
    auto* action = new QAction(GlyphIcon(glyph), QString(), owner);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(QString::fromUtf8(hint));
    action->setStatusTip(QString::fromUtf8(hint));
    action->setEnabled(enabled);
    form.addAction(action);
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

TFigureTab::TFigureTab(TMainForm& form)
    : QWidget(&form),
      SaveDialogVrijFiguur(figure::MakeSaveFigureListDialog()),
      OpenDialogVrijFiguur(figure::MakeOpenFigureListDialog()),
      OpenPictureDialog(MakeOpenPictureDialog()),
      form_(form) {
    setObjectName(QStringLiteral("VrijFiguurTabSheet"));
    BuildControls();
    Connect();
    FiguurGridUndo = new GridUndo<figure::FigureSnapshot>(this, FiguurGrid, FiguurGridModel);
    FiguurGridUndo->Capture = [this] { return figure::Snapshot(model_); };
    FiguurGridUndo->Put = [this](const figure::FigureSnapshot& state) {
        if (figure::Restore(model_, HatchImage->Canvas(), state)) RemoveBackgroundPicture();
        // The view's current cell follows next: that must not draw (and clip) the current row.
        movingCurrent_ = true;
    };
    // The typed-length box is modal and opens only while a segment is open.
    FiguurGridUndo->Blocked = [this] { return model_.interaction.drawing; };
    connect(FiguurGridUndo, &GridUndoKeys::GridRestored, this, [this] {
        movingCurrent_ = false;  // set by Put
        if (model_.HasFigure()) EnableFigureCommands();
        ShowModel();
    });
    saved_.Set(figure::Snapshot(model_));
}

template <class Command>
void TFigureTab::Step(Command&& command) {
    figure::FigureSnapshot before = figure::Snapshot(model_);
    std::forward<Command>(command)();
    if (std::optional<figure::FigureSnapshot> step = steps_.Ran(std::move(before), model_))
        FiguurGridUndo->Record(*step);
}

TFigureTab::~TFigureTab() {
    // The grid's view and model go before the figure model whose grid they show.
    delete FiguurGrid;
    FiguurGrid = nullptr;
    FiguurGridModel = nullptr;
}

void TFigureTab::BuildControls() {
    AddfiguurLijn = TabAction(form_, this, "AddfiguurLijn", "Lijn toevoegen", Glyph::Plus, false);
    DeleteFiguurLijnAction =
        TabAction(form_, this, "DeleteFiguurLijnAction", "Lijn wissen", Glyph::Minus, false);
    SafeVrijFiguurlist =
        TabAction(form_, this, "SafeVrijFiguurlist", "Oplaan coördinatenlijst", Glyph::Save, false);
    OpenVrijfiguurList =
        TabAction(form_, this, "OpenVrijfiguurList", "Coördinatenlijst openen", Glyph::Open, true);
    OpenPictureAction = TabAction(form_, this, "OpenPictureAction", "Achtergrondafbeelding openen",
                                  Glyph::Picture, false);
    DeleteBackGroundImageAction =
        TabAction(form_, this, "DeleteBackGroundImageAction", "Achtergrondafbeelding wissen",
                  Glyph::NoPicture, false);
    HelpVrijeFiguurAction = TabAction(form_, this, "HelpVrijeFiguurAction",
                                      "Uitleg Vrij Figuur arcering", Glyph::Help, true);

    NieuwFiguur = new QPushButton(QStringLiteral("Nieuw"), this);
    NieuwFiguur->setObjectName(QStringLiteral("NieuwFiguur"));
    NieuwFiguur->setGeometry(4, 8, 75, 22);
    NieuwFiguur->setAutoDefault(false);

    SpeedbuttonLoadImage = ActionButton(this, "SpeedbuttonLoadImage", OpenPictureAction, 82);
    SpeedButton1DeleteBackgroundImage =
        ActionButton(this, "SpeedButton1DeleteBackgroundImage", DeleteBackGroundImageAction, 106);

    XYPos = new QLabel(this);
    XYPos->setObjectName(QStringLiteral("XYPos"));
    XYPos->setGeometry(132, 8, 173, 22);
    XYPos->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    XYPos->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    XYPos->setLineWidth(1);
    XYPos->setFont(StatusFont());

    AddFiguurLijnSpeedButton = ActionButton(this, "AddFiguurLijnSpeedButton", AddfiguurLijn, 322);
    DeleteFiguurLijnSpeedButton =
        ActionButton(this, "DeleteFiguurLijnSpeedButton", DeleteFiguurLijnAction, 346);
    SpeedButtonSaveCoordinaten =
        ActionButton(this, "SpeedButtonSaveCoordinaten", SafeVrijFiguurlist, 370);
    SpeedButtonOpenCoordinaten =
        ActionButton(this, "SpeedButtonOpenCoordinaten", OpenVrijfiguurList, 393);
    HelpVrijeFiguurSpeedButton =
        ActionButton(this, "HelpVrijeFiguurSpeedButton", HelpVrijeFiguurAction, 420);

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
    FiguurGrid->setGeometry(318, 34, 309, 370);
    FiguurGridModel = new TextGridModel(&model_.grid, FiguurGrid);
    ShowTextGrid(FiguurGrid, FiguurGridModel, figure::kNrColWidth, figure::kRowHeight,
                 figure::kDefaultColWidth);

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

    LabelNauwkeurigheid = new QLabel(QStringLiteral("Nauwkeurigheid:"), this);
    LabelNauwkeurigheid->setObjectName(QStringLiteral("LabelNauwkeurigheid"));
    PlaceAccuracyLabel(*LabelNauwkeurigheid, font());

    // Only its three items: a typed text would have no accuracy.
    ComboBoxNaukeurigheid = new QComboBox(this);
    ComboBoxNaukeurigheid->setObjectName(QStringLiteral("ComboBoxNaukeurigheid"));
    ComboBoxNaukeurigheid->setGeometry(470, 410, 80, 21);
    ComboBoxNaukeurigheid->addItems(
        {QStringLiteral("Nauwkeurig"), QStringLiteral("Middel"), QStringLiteral("Laag")});
    ComboBoxNaukeurigheid->setCurrentIndex(0);
    auto* narrow = new NarrowComboStyle(QApplication::style()->name());
    narrow->setParent(ComboBoxNaukeurigheid);
    ComboBoxNaukeurigheid->setStyle(narrow);

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
    connect(HatchImage, &FigureCanvas::MouseMoved, this, &TFigureTab::HatchImageMouseMove);
    connect(HatchImage, &FigureCanvas::Clicked, this, &TFigureTab::HatchImageClick);

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
    VoorbeeldButton = AddFigurePreview(*this, form_);
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
    const int panelWidth = model_.PanelWidth();
    const int panelHeight = model_.PanelHeight();
    if (DP->width() != panelWidth || DP->height() != panelHeight) {
        DP->resize(panelWidth, panelHeight);
    }
    const QRect area(1, 1, panelWidth - 2, panelHeight - 2);
    BackGroundImage->setGeometry(area);
    // The picture is centred on the tile, which spans canvas pixels 0 to the tile's pixel size.
    BackGroundImage->setContentsMargins(0, 0, area.width() - model_.TilePixelWidth(),
                                        area.height() - model_.TilePixelHeight());
    HatchImage->setGeometry(area);
    movingCurrent_ = true;
    RefreshGridView(FiguurGrid, FiguurGridModel);
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
    HatchImage->SetTransparent(false);
    DeleteBackGroundImageAction->setEnabled(false);
}

void TFigureTab::NieuwFiguurClick() {
    if (model_.interaction.drawing) return;
    if (!MayDropChanges()) return;
    if (!form_.NewVrijHatch) form_.NewVrijHatch = new TNewVrijHatch(&form_);
    TNewVrijHatch& dialog = *form_.NewVrijHatch;
    // Cancelled, the old figure stays with all its commands.
    if (dialog.exec() != QDialog::Accepted) return;
    AddfiguurLijn->setEnabled(false);
    DeleteFiguurLijnAction->setEnabled(false);
    SafeVrijFiguurlist->setEnabled(false);
    DeleteBackGroundImageAction->setEnabled(false);
    HatchImage->setEnabled(false);
    RefreschButton->setEnabled(false);
    // The first figure starts the history: before it there is nothing to go back to.
    const bool hadFigure = model_.HasFigure();
    bool made = false;
    Step([&] {
        made = figure::NewFigureFromTexts(model_, HatchImage->Canvas(),
                                          ToFileText(dialog.BreedteEdit->text()),
                                          ToFileText(dialog.HoogteEdit->text()));
    });
    if (!made) {
        ShowError(form_.ThePlatform(), figure::kInvalidValueText, figure::kInvalidValueTitle,
                  form_.Handle());
        return;
    }
    if (!hadFigure) FiguurGridUndo->History().Clear();
    saved_.Set(figure::Snapshot(model_));
    RemoveBackgroundPicture();
    EnableFigureCommands();
    ShowModel();
}

void TFigureTab::AddfiguurLijnExecute() {
    CommitOpenCell(FiguurGrid);
    // The new row becomes current; showing the model scrolls the grid to it.
    Step([this] { figure::AddCurrentSegmentRow(model_, HatchImage->Canvas()); });
    ShowModel();
}

void TFigureTab::DeleteFiguurLijnActionExecute() {
    CommitOpenCell(FiguurGrid);
    Step([this] { figure::DeleteSelectedSegment(model_, HatchImage->Canvas()); });
    ShowModel();
}

void TFigureTab::FiguurGridKeyDown() {
    Step([this] { figure::DrawEnteredRow(model_, HatchImage->Canvas()); });
    ShowModel();
}

void TFigureTab::FiguurGridSelectCell(int row) {
    // Drawing the row clips it when it leaves the tile.
    Step([&] { figure::ShowSelectedRow(model_, HatchImage->Canvas(), row); });
    HatchImage->update();
}

void TFigureTab::FiguurGridClick() {
    Step([this] { figure::RedrawAfterBackgroundChange(model_, HatchImage->Canvas()); });
    ShowModel();
}

void TFigureTab::DikkePenClick() {
    Step([this] { figure::SetThickPen(model_, HatchImage->Canvas(), DikkePen->isChecked()); });
    ShowModel();
}

void TFigureTab::RefreschButtonClick() {
    Step([this] { figure::RedrawFiguur(model_, HatchImage->Canvas()); });
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
    BackGroundImage->setPixmap(QPixmap::fromImage(picture.image));
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

PatternHeader ListTexts(const QComboBox* units, const QComboBox* type, const QLineEdit* name) {
    return {ToFileText(units->currentText()), ToFileText(type->currentText()),
            ToFileText(name->text())};
}

}  // namespace

void TFigureTab::SafeVrijFiguurlistExecute() {
    SaveFigureListNow();
}

bool TFigureTab::SaveFigureListNow() {
    CommitOpenCell(FiguurGrid);
    const PatternHeader texts = ListTexts(VrijeFiguurUnits, VrijeFiguurType, NaamEditVrij);
    bool saved = false;
    RunCommand(form_.ThePlatform(), [&] {
        saved = figure::SaveFigureList(form_.ThePlatform(), SaveDialogVrijFiguur,
                                       ApplicationHandle(), model_, texts);
    });
    if (saved) saved_.Set(figure::Snapshot(model_));
    return saved;
}

bool TFigureTab::MayDropChanges() {
    CommitOpenCell(FiguurGrid);
    // Only a figure can be saved as a list; before the first one there is nothing to lose.
    const bool changed = model_.HasFigure() && saved_.Changed(figure::Snapshot(model_));
    // The user sees what the question is about.
    if (changed) form_.PageControl1->setCurrentWidget(this);
    const QString caption = form_.PageControl1->tabText(form_.PageControl1->indexOf(this));
    return murvex::MayDropChanges(form_.ThePlatform(), changed, ToFileText(caption), form_.Handle(),
                                  [this] { return SaveFigureListNow(); });
}

void TFigureTab::OpenVrijfiguurListExecute() {
    if (!MayDropChanges()) return;
    bool chosen = false;
    RunCommand(form_.ThePlatform(), [&] {
        chosen = figure::ChooseFigureList(form_.ThePlatform(), OpenDialogVrijFiguur,
                                          ApplicationHandle());
    });
    if (chosen) OpenFigureListFile(OpenDialogVrijFiguur.fileName);
}

void TFigureTab::OpenFigureListFile(const std::string& path) {
    // The open dialog offers the file next time, however it was named.
    OpenDialogVrijFiguur.fileName = path;
    PatternHeader texts = ListTexts(VrijeFiguurUnits, VrijeFiguurType, NaamEditVrij);
    std::optional<figure::ListReadResult> result;
    const bool hadFigure = model_.HasFigure();
    Step([&] {
        RunCommand(form_.ThePlatform(), [&] {
            result = figure::OpenFigureListFile(form_.ThePlatform(), path, ApplicationHandle(),
                                                model_, HatchImage->Canvas(), texts);
        });
    });
    if (!hadFigure && model_.HasFigure()) FiguurGridUndo->History().Clear();
    if (result && result->status == figure::ListReadStatus::Ok)
        saved_.Set(figure::Snapshot(model_));
    if (result && result->tileSet) {
        // A new tile: the picture goes, the delete command keeps its state.
        RemoveBackgroundPicture();
        EnableFigureCommands();
    }
    SetComboText(VrijeFiguurUnits, FromFileText(texts.units));
    SetComboText(VrijeFiguurType, FromFileText(texts.type));
    const QString name = FromFileText(texts.name);
    if (NaamEditVrij->text() != name) NaamEditVrij->setText(name);
    ShowModel();
}

void TFigureTab::ButtonCreateHatchClick() {
    CommitOpenCell(FiguurGrid);
    if (!form_.ErrorForm) form_.ErrorForm = new TErrorForm(&form_);
    TErrorForm& errors = *form_.ErrorForm;
    errors.Clear();

    const int item = ComboBoxNaukeurigheid->currentIndex();
    const PatternHeader texts{ToFileText(VrijeFiguurUnits->currentText()),
                              ToFileText(VrijeFiguurType->currentText()),
                              ToFileText(NaamEditVrij->text())};
    Platform& platform = form_.ThePlatform();
    const figure::FigureHatch hatch =
        figure::FigureHatchLines({model_.TileWidth(), model_.TileHeight()}, model_.grid, texts,
                                 figure::AccuracyFromIndex(item), &platform);
    RunCommand(platform,
               [&] { SaveHatchFile(hatch.lines, platform, form_.SaveDialog, form_.Handle()); });

    // After the save flow, whatever became of it.
    if (hatch.failedRows.empty()) return;
    QStringList lines;
    for (const std::string& message : figure::FailedRowMessages(hatch.failedRows))
        lines << FromFileText(message);
    errors.ShowFailedRows(lines.join(QLatin1Char('\n')), hatch.failedRows.size());
    errors.exec();
}

void TFigureTab::Apply(const figure::Reaction& reaction, bool gridChanged) {
    if (reaction.status) ShowStatusText(*XYPos, FromFileText(*reaction.status));
    if (reaction.cursor) {
        const int number = static_cast<int>(*reaction.cursor);
        HatchImage->setCursor(number == 0 ? QCursor(Qt::ArrowCursor) : ScreenCursor(number));
    }
    if (reaction.selectedRow) MoveGridCurrent(*reaction.selectedRow);
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
    if (!form_.InputRubberForm) form_.InputRubberForm = new TInputRubberForm(&form_);
    TInputRubberForm& input = *form_.InputRubberForm;
    input.InPutRubberEdit->setText(FromFileText(box.text));
    input.setGeometry(box.left, box.top, box.width, box.height);
    const bool accepted = input.exec() == QDialog::Accepted;
    const std::string text = ToFileText(input.InPutRubberEdit->text());
    input.InPutRubberEdit->clear();
    if (accepted) {
        figure::Reaction reaction;
        Step([&] { reaction = figure::TypedLengthAccepted(model_, HatchImage->Canvas(), text); });
        Apply(reaction);
    } else {
        figure::TypedLengthCancelled(model_);
    }
}

void TFigureTab::HatchImageMouseMove(QPoint pixel) {
    // A mouse move never changes the grid: only the canvas and the status text are shown again,
    // so following the mouse costs the same whatever the figure holds.
    Apply(figure::MouseMove(model_, HatchImage->Canvas(), ToPixel(pixel)), false);
}

void TFigureTab::HatchImageClick(QPoint pixel) {
    CommitOpenCell(FiguurGrid);
    figure::Reaction reaction;
    Step([&] { reaction = figure::Click(model_, HatchImage->Canvas(), ToPixel(pixel)); });
    Apply(reaction);
}

void TFigureTab::SpeedButtonSelectieModeClick() {
    const figure::Reaction reaction = figure::EnterSelectionMode(model_, HatchImage->Canvas());
    steps_.ForgetAbandonedSegment(model_);
    Apply(reaction);
}

void TFigureTab::SpeedButtonTekenmodeClick() {
    Apply(figure::EnterDrawingMode(model_));
}

void TFigureTab::CheckBoxSnapClick() {
    Apply(figure::SetSnap(model_, CheckBoxSnap->isChecked()));
}

figure::KeyFocus TFigureTab::KeyFocus() const {
    if (form_.PageControl1->currentWidget() != this) return figure::KeyFocus::OtherTab;
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
    if (event->key() == Qt::Key_Delete && DeleteKeyDeletesSegment(event)) {
        DeleteFiguurLijnActionExecute();
        return true;
    }
    const figure::Reaction reaction =
        figure::KeyDown(model_, HatchImage->Canvas(), key, shift, KeyFocus());
    steps_.ForgetAbandonedSegment(model_);
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
    const figure::Reaction reaction = figure::KeyPress(model_, static_cast<char>(text[0].unicode()),
                                                       KeyFocus(), form_.x(), form_.y());
    if (!reaction.keySwallowed && !reaction.openTypedLengthBox) return false;
    Apply(reaction);
    return reaction.keySwallowed;
}

void TFigureTab::FormKeyUp(QKeyEvent* event) {
    figure::KeyUp(model_,
                  event->modifiers().testFlag(Qt::ShiftModifier) && event->key() != Qt::Key_Shift);
}

}  // namespace murvex::app
