// The main window: title, About and close buttons, the three tabs and the key preview.
#include "MainForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <algorithm>

#include "AboutForm.h"
#include "BondTab.h"
#include "DesignFonts.h"
#include "ErrorForm.h"
#include "FigureTab.h"
#include "FreeLineTab.h"
#include "InputRubberForm.h"
#include "LibrarySave.h"
#include "NewVrijHatch.h"
#include "PreviewForm.h"
#include "SaveHatch.h"
#include "WindowFrame.h"
#include "WindowHandles.h"

namespace murvex::app {
namespace {

constexpr int kClientWidth = 652;
constexpr int kClientHeight = 552;
constexpr int kGlassStrip = 2;

}  // namespace

TMainForm::TMainForm(Platform& platform, QWidget* parent)
    : QWidget(parent),
      SaveDialog(MakeSaveHatchDialog()),
      OpenDialogHatchfile(MakeOpenHatchDialog()),
      LibraryDialog(MakeLibraryDialog()),
      platform_(platform) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Murvex"));
    // The close box only. The window opens at its designed size and may be dragged larger (the
    // figure tab's canvas grows with it), never smaller; it keeps its own taskbar button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setMinimumSize(kClientWidth, kClientHeight);
    resize(kClientWidth, kClientHeight);
    setFont(DesignFont("Tahoma", 8));
    setWindowIcon(QIcon(QStringLiteral(":/icons/murvex.png")));
    setAttribute(Qt::WA_DeleteOnClose, false);

    SetupWindowControls();
    SetupTabs();
    FormCreate();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    SetApplicationWindow(this);
    qApp->installEventFilter(this);
}

TMainForm::~TMainForm() = default;

WindowHandle TMainForm::Handle() {
    return HandleOf(this);
}

void TMainForm::AttachForms(TNewVrijHatch* newVrijHatch, TErrorForm* errorForm,
                            TInputRubberForm* inputRubberForm) {
    NewVrijHatch = newVrijHatch;
    ErrorForm = errorForm;
    InputRubberForm = inputRubberForm;
}

TNewVrijHatch& TMainForm::NewFigureDialog() {
    if (!NewVrijHatch) NewVrijHatch = new TNewVrijHatch(this);
    return *NewVrijHatch;
}

TErrorForm& TMainForm::ErrorWindow() {
    if (!ErrorForm) ErrorForm = new TErrorForm(this);
    return *ErrorForm;
}

TInputRubberForm& TMainForm::TypedLengthBox() {
    if (!InputRubberForm) InputRubberForm = new TInputRubberForm(this);
    return *InputRubberForm;
}

bool TMainForm::OpenFigureListLines(const LineList& lines) {
    return VrijFiguurTabSheet->OpenFigureListLines(lines);
}

void TMainForm::ShowPreview() {
    app::ShowPreview(*this);
}

void TMainForm::AddCommaToPointWidget(QWidget* widget) {
    if (widget && !commaToPointWidgets_.contains(widget)) commaToPointWidgets_.append(widget);
}

void TMainForm::SetupWindowControls() {
    Label2 = new QLabel(QStringLiteral("Murvex Beta"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(6, 6, 317, 33);
    QFont title = DesignFont("Tahoma", 8);
    title.setPixelSize(27);
    SetBoldItalic(title);
    Label2->setFont(title);

    AboutAction = new QAction(QStringLiteral("About"), this);
    AboutAction->setObjectName(QStringLiteral("AboutAction"));
    AboutAction->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    addAction(AboutAction);
    connect(AboutAction, &QAction::triggered, this, &TMainForm::AboutActionExecute);

    AboutButton = new QPushButton(AboutAction->icon(), AboutAction->text(), this);
    AboutButton->setObjectName(QStringLiteral("AboutButton"));
    AboutButton->setGeometry(568, 10, 75, 25);
    AboutButton->setAutoDefault(false);
    connect(AboutButton, &QPushButton::clicked, AboutAction, &QAction::trigger);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(4, 46, 641, 469);

    CloseButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton),
                                  QStringLiteral("Sluiten"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    CloseButton->setGeometry(572, 522, 75, 25);
    CloseButton->setAutoDefault(false);
    connect(CloseButton, &QPushButton::clicked, this, &TMainForm::CloseButtonClick);

    BottomPanel = new QWidget(this);
    BottomPanel->setObjectName(QStringLiteral("BottomPanel"));
    BottomPanel->setGeometry(0, kClientHeight - kGlassStrip, kClientWidth, kGlassStrip);
    BottomPanel->setAutoFillBackground(true);
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    // Beyond the designed size the tabs take the extra room; the buttons keep to their corners.
    const int dw = std::max(width() - kClientWidth, 0);
    const int dh = std::max(height() - kClientHeight, 0);
    if (PageControl1) PageControl1->setGeometry(4, 46, 641 + dw, 469 + dh);
    if (AboutButton) AboutButton->move(568 + dw, 10);
    if (CloseButton) CloseButton->move(572 + dw, 522 + dh);
    if (BottomPanel) BottomPanel->setGeometry(0, height() - kGlassStrip, width(), kGlassStrip);
    QWidget::resizeEvent(event);
}

void TMainForm::SetupTabs() {
    MetselverbandenTab = new TBondTab(*this);
    PageControl1->addTab(MetselverbandenTab, QStringLiteral("Metselverbanden"));
    TabSheetVrijeLijn = new TFreeLineTab(*this);
    PageControl1->addTab(TabSheetVrijeLijn, QStringLiteral("Vrije lijnarceringen"));
    VrijFiguurTabSheet = new TFigureTab(*this);
    PageControl1->addTab(VrijFiguurTabSheet, QStringLiteral("Vrij figuur"));
}

void TMainForm::FormCreate() {
    SubstituteFormFont(this);

    // The glass strip: the window frame reaches 2 pixels into the bottom of the client area
    // where the desktop composes windows; elsewhere the strip has the window's own colour.
    QPalette strip = BottomPanel->palette();
    if (CompositionEnabled()) {
        strip.setColor(QPalette::Window, Qt::black);
        ExtendFrame(this, FrameMargins{0, 0, 0, kGlassStrip});
    } else {
        strip.setColor(QPalette::Window, palette().color(QPalette::Window));
    }
    BottomPanel->setPalette(strip);
}

void TMainForm::FormShow() {
    MetselverbandenTab->ComboBoxMetselverbandenChange();
    PageControl1->setCurrentWidget(MetselverbandenTab);
    // The keyboard starts in the tab's first field, not on "About" (Space would open the box).
    MetselverbandenTab->FirstInput()->setFocus(Qt::OtherFocusReason);
}

void TMainForm::showEvent(QShowEvent* event) {
    // Only a show asked for by the program, not the window system restoring a minimised window.
    if (!event->spontaneous()) FormShow();
    QWidget::showEvent(event);
}

void TMainForm::AboutActionExecute() {
    // A fresh about box each time; the one made at start-up is never shown.
    TAboutForm about(platform_, this);
    about.exec();
}

void TMainForm::CloseButtonClick() {
    close();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // Each tab in its turn; Annuleren, or a save that did not happen, keeps the window open.
    if (!TabSheetVrijeLijn->MayDropChanges() || !VrijFiguurTabSheet->MayDropChanges()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && watched->isWidgetType()) {
        auto* receiver = static_cast<QWidget*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        if (receiver->window() == this && ActiveControl(receiver) == receiver) {
            if (type == QEvent::KeyRelease) {
                FormKeyUp(receiver, key);
            } else if (FormKeyDown(receiver, key) || FormKeyPress(receiver, key)) {
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

QWidget* TMainForm::ActiveControl(QWidget* receiver) const {
    // The active control is the one that holds the focus itself: the open cell editor of a
    // grid, not the grid. A key passed on to a parent is not seen again here.
    QWidget* active = QApplication::focusWidget();
    if (!active || active->window() != this) active = receiver;
    return active;
}

bool TMainForm::FormKeyDown(QWidget*, QKeyEvent* event) {
    return VrijFiguurTabSheet->FormKeyDown(event);
}

void TMainForm::FormKeyUp(QWidget*, QKeyEvent* event) {
    VrijFiguurTabSheet->FormKeyUp(event);
}

bool TMainForm::FormKeyPress(QWidget* receiver, QKeyEvent* event) {
    QWidget* active = receiver;

    if (event->text() == QLatin1String(",") && commaToPointWidgets_.contains(active)) {
        QKeyEvent point(QEvent::KeyPress, Qt::Key_Period, event->modifiers(), QStringLiteral("."),
                        event->isAutoRepeat(), static_cast<quint16>(event->count()));
        QCoreApplication::sendEvent(receiver, &point);
        event->setAccepted(point.isAccepted());
        return true;
    }
    // Then a digit typed while a segment is open starts a typed length, on the figure tab
    // outside its text controls.
    return VrijFiguurTabSheet->FormKeyPress(event);
}

}  // namespace murvex::app
