// The tab "Vrije lijnarceringen": pattern lines typed into a grid, written and read back.
#include "FreeLineTab.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <optional>

#include "GridUndo.h"
#include "HatchReader.h"
#include "LibraryForm.h"
#include "LibrarySave.h"
#include "LijnGrid.h"
#include "Msg.h"
#include "OpenPage.h"
#include "PatternAsFigure.h"
#include "PatternLibrary.h"
#include "PreviewForm.h"
#include "QtText.h"
#include "SaveHatch.h"
#include "TabHost.h"
#include "TabParts.h"
#include "TextGridModel.h"
#include "WindowHandles.h"
#include "help/HelpPage.h"

namespace murvex::app {
namespace {

constexpr int kDefaultColWidth = 64;

// A flat speed button, 23 x 22, that never takes the focus (an open cell editor stays open).
QToolButton* SpeedButton(QWidget* parent, const char* name, Glyph glyph, const char* hint,
                         int left) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, 12, 23, 22);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIcon(GlyphIcon(glyph));
    button->setIconSize(QSize(16, 16));
    button->setToolTip(QString::fromLatin1(hint));
    return button;
}

QToolButton* TextSpeedButton(QWidget* parent, const char* name, const char* text, const char* hint,
                             int left) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QString::fromLatin1(text));
    button->setToolTip(QString::fromLatin1(hint));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setGeometry(left, 12, button->sizeHint().width(), 22);
    return button;
}

PatternHeader TabTexts(const QComboBox* units, const QComboBox* type, const QLineEdit* name,
                       const QLineEdit* description) {
    return {ToFileText(units->currentText()), ToFileText(type->currentText()),
            ToFileText(name->text()), ToFileText(description->text())};
}

}  // namespace

TFreeLineTab::TFreeLineTab(TabHost& form) : QWidget(&form.Window()), form_(form) {
    setObjectName(QStringLiteral("TabSheetVrijeLijn"));

    VrijLijnPlus = SpeedButton(this, "VrijLijnPlus", Glyph::Plus, "Regel toevoegen", 10);
    VrijLijnMin = SpeedButton(this, "VrijLijnMin", Glyph::Minus, "Regel wissen", 34);
    VrijeLijnHelp =
        SpeedButton(this, "VrijeLijnHelp", Glyph::Help, "Hoe zit een PAT bestand inelkaar?", 62);
    VrijeLijnOpenHatch = SpeedButton(this, "VrijeLijnOpenHatch", Glyph::Open, "Hatch openen", 90);

    // Text buttons in the speed buttons' row: the library commands have no picture of their own.
    libraryOpenButton_ =
        TextSpeedButton(this, "VrijeLijnUitBibliotheek", "Uit bibliotheek openen...",
                        "Een arcering uit een bestand met meerdere arceringen openen", 122);
    libraryAddButton_ =
        TextSpeedButton(this, "VrijeLijnAanBibliotheek", "Aan bibliotheek toevoegen...",
                        "Deze arcering aan een bestand met meerdere arceringen toevoegen",
                        libraryOpenButton_->geometry().right() + 5);

    LijnGrid = new QTableView(this);
    LijnGrid->setObjectName(QStringLiteral("LijnGrid"));
    // 26 pixels shorter than specified: the row below it holds the description.
    LijnGrid->setGeometry(8, 34, 620, 337);
    LijnGridModel = new TextGridModel(freelines::MakeLijnGrid(), LijnGrid);
    ShowTextGrid(LijnGrid, LijnGridModel, kDefaultColWidth);

    VrijeLijnType =
        TextCombo(this, "VrijeLijnType", {QStringLiteral("MODEL"), QStringLiteral("DRAFTING")}, 8,
                  100, "Type arcering");
    VrijeLijnUnits =
        TextCombo(this, "VrijeLijnUnits", {QStringLiteral("MM"), QStringLiteral("INCH")}, 110, 100,
                  "Type Units");

    LabelNameHatchLine = new QLabel(QStringLiteral("Naam Hatch:"), this);
    LabelNameHatchLine->setObjectName(QStringLiteral("LabelNameHatchLine"));
    LabelNameHatchLine->move(220, 412);
    LabelNameHatchLine->adjustSize();

    NaamVrijeLijnArcering = new QLineEdit(QStringLiteral("naam arcering"), this);
    NaamVrijeLijnArcering->setObjectName(QStringLiteral("NaamVrijeLijnArcering"));
    NaamVrijeLijnArcering->setGeometry(285, 410, 100, 21);
    NaamVrijeLijnArcering->setToolTip(QStringLiteral("Naam van de arcering"));

    // Above the name, as wide as the grid: "*NAME, description" in the file.
    LabelBeschrijving = new QLabel(QStringLiteral("Beschrijving:"), this);
    LabelBeschrijving->setObjectName(QStringLiteral("LabelBeschrijvingVrijeLijn"));
    LabelBeschrijving->move(220, 380);
    LabelBeschrijving->adjustSize();
    BeschrijvingVrijeLijn = new QLineEdit(this);
    BeschrijvingVrijeLijn->setObjectName(QStringLiteral("BeschrijvingVrijeLijn"));
    BeschrijvingVrijeLijn->setGeometry(285, 378, LijnGrid->geometry().right() + 1 - 285, 21);
    BeschrijvingVrijeLijn->setToolTip(
        QStringLiteral("Beschrijving van de arcering, na de naam geschreven: *NAAM, beschrijving"));
    LabelBeschrijving->setBuddy(BeschrijvingVrijeLijn);

    VrijeLijnMaakHatch = new QPushButton(QStringLiteral("Maak Hatch"), this);
    VrijeLijnMaakHatch->setObjectName(QStringLiteral("VrijeLijnMaakHatch"));
    VrijeLijnMaakHatch->setGeometry(560, 408, 70, 25);
    VrijeLijnMaakHatch->setAutoDefault(false);

    VoorbeeldButton = new QPushButton(QStringLiteral("Voorbeeld"), this);
    VoorbeeldButton->setObjectName(QStringLiteral("VoorbeeldVrijeLijn"));
    VoorbeeldButton->setGeometry(480, 408, 75, 25);
    VoorbeeldButton->setAutoDefault(false);
    VoorbeeldButton->setToolTip(QStringLiteral("Het patroon bekijken voor het opslaan"));

    // In the row of "Maak Hatch", between the name and "Voorbeeld".
    auto* asFigureButton = new QPushButton(QString::fromLatin1(kAsFigureTitle), this);
    asFigureButton->setObjectName(QStringLiteral("VrijeLijnAlsFiguur"));
    asFigureButton->setAutoDefault(false);
    asFigureButton->setToolTip(QStringLiteral(
        "De herhaling van deze arcering als figuur in het tabblad Vrij figuur openen"));
    const int asFigureLeft = NaamVrijeLijnArcering->geometry().right() + 4;
    asFigureButton->setGeometry(asFigureLeft, 408,
                                VoorbeeldButton->geometry().left() - 3 - asFigureLeft, 25);
    connect(asFigureButton, &QPushButton::clicked, this, &TFreeLineTab::OpenAsFigureExecute);

    // The row of "Maak Hatch" is full; the free place is above the grid, on its right edge.
    CompatibelOpslaan = CompatibleBox(this, "CompatibelOpslaanVrijeLijn", 0, 13);
    CompatibelOpslaan->move(LijnGrid->geometry().right() + 1 - CompatibelOpslaan->width(), 13);

    OpenHatchAction = new QAction(GlyphIcon(Glyph::Open), QString(), this);
    OpenHatchAction->setObjectName(QStringLiteral("OpenHatchAction"));
    OpenHatchAction->setToolTip(QStringLiteral("Hatchfile openen"));
    OpenHatchAction->setStatusTip(QStringLiteral("Hatchfile openen"));
    // The action belongs to the window's action list.
    form_.Window().addAction(OpenHatchAction);

    LijnGridUndo = new GridUndo<TextGrid>(this, LijnGrid, LijnGridModel);
    saved_.Set(LijnGridModel->Grid());

    // The grid itself turns a typed comma into a point; its open cell editor does not.
    form_.AddCommaToPointWidget(LijnGrid);

    connect(VrijLijnPlus, &QToolButton::clicked, this, &TFreeLineTab::VrijLijnPlusClick);
    connect(VrijLijnMin, &QToolButton::clicked, this, &TFreeLineTab::VrijLijnMinClick);
    connect(VrijeLijnHelp, &QToolButton::clicked, this, &TFreeLineTab::VrijeLijnHelpClick);
    connect(VrijeLijnOpenHatch, &QToolButton::clicked, OpenHatchAction, &QAction::trigger);
    connect(OpenHatchAction, &QAction::triggered, this, &TFreeLineTab::OpenHatchActionExecute);
    connect(libraryOpenButton_, &QToolButton::clicked, this, &TFreeLineTab::OpenFromLibraryExecute);
    connect(libraryAddButton_, &QToolButton::clicked, this, &TFreeLineTab::AddToLibraryExecute);
    connect(VrijeLijnMaakHatch, &QPushButton::clicked, this,
            &TFreeLineTab::VrijeLijnMaakHatchClick);
    connect(VoorbeeldButton, &QPushButton::clicked, this, [this] { form_.ShowPreview(); });

    auto* preview = new PreviewSource(this, [this] { return PreviewNow(); });
    const auto changed = [preview] { emit preview->ContentChanged(); };
    connect(LijnGridModel, &QAbstractItemModel::dataChanged, preview, changed);
    connect(LijnGridModel, &QAbstractItemModel::rowsInserted, preview, changed);
    connect(LijnGridModel, &QAbstractItemModel::rowsRemoved, preview, changed);
    connect(LijnGridModel, &QAbstractItemModel::modelReset, preview, changed);
    connect(LijnGridModel, &QAbstractItemModel::layoutChanged, preview, changed);
    for (QComboBox* combo : {VrijeLijnUnits, VrijeLijnType})
        connect(combo, &QComboBox::currentTextChanged, preview, changed);
    for (QLineEdit* edit : {NaamVrijeLijnArcering, BeschrijvingVrijeLijn})
        connect(edit, &QLineEdit::textChanged, preview, changed);
    connect(CompatibelOpslaan, &QCheckBox::toggled, preview, changed);
}

const StateHistory<TextGrid>& TFreeLineTab::UndoHistory() const {
    return LijnGridUndo->History();
}

PreviewContent TFreeLineTab::PreviewNow() const {
    PreviewContent content;
    const PatternHeader texts =
        TabTexts(VrijeLijnUnits, VrijeLijnType, NaamVrijeLijnArcering, BeschrijvingVrijeLijn);
    content.fileName = texts.name;
    content.patternLines =
        freelines::BuildFreeLineHatch(LijnGridModel->Grid(), texts, StyleOf(CompatibelOpslaan));
    if (ParsePatternLines(content.patternLines).empty())
        content.problem =
            "Nog geen geldige patroonregel: vul minstens Hoek, X start, Y start, "
            "X shift en Y shift in";
    return content;
}

void TFreeLineTab::VrijLijnPlusClick() {
    CommitOpenCell(LijnGrid);
    LijnGridUndo->Run([this] { freelines::InsertRowAtCurrent(LijnGridModel->Grid()); });
    RefreshGridView(LijnGrid, LijnGridModel);
}

void TFreeLineTab::VrijLijnMinClick() {
    CommitOpenCell(LijnGrid);
    LijnGridUndo->Run([this] { freelines::DeleteCurrentRow(LijnGridModel->Grid()); });
    RefreshGridView(LijnGrid, LijnGridModel);
}

void TFreeLineTab::VrijeLijnMaakHatchClick() {
    SavePattern();
}

bool TFreeLineTab::SavePattern() {
    CommitOpenCell(LijnGrid);
    bool saved = false;
    RunCommand(form_.ThePlatform(), [&] {
        saved = freelines::SaveFreeLineHatch(
            LijnGridModel->Grid(),
            TabTexts(VrijeLijnUnits, VrijeLijnType, NaamVrijeLijnArcering, BeschrijvingVrijeLijn),
            form_.ThePlatform(), form_.HatchSaveDialog(), form_.Handle(),
            StyleOf(CompatibelOpslaan));
    });
    if (saved) saved_.Set(LijnGridModel->Grid());
    return saved;
}

bool TFreeLineTab::MayDropChanges() {
    CommitOpenCell(LijnGrid);
    const bool changed = saved_.Changed(LijnGridModel->Grid());
    // The user sees what the question is about.
    if (changed) form_.Pages()->setCurrentWidget(this);
    const QString caption = form_.Pages()->tabText(form_.Pages()->indexOf(this));
    return murvex::MayDropChanges(form_.ThePlatform(), changed, ToFileText(caption), form_.Handle(),
                                  [this] { return SavePattern(); });
}

void TFreeLineTab::VrijeLijnHelpClick() {
    // Without a page nothing happens; without a browser the user is told where the page is.
    const QString url = PatternFileHelpUrl();
    if (!url.isEmpty()) OpenPageOrTell(form_.ThePlatform(), url, form_.Handle());
}

void TFreeLineTab::OpenHatchActionExecute() {
    if (!MayDropChanges()) return;
    bool chosen = false;
    RunCommand(form_.ThePlatform(), [&] {
        chosen = form_.ThePlatform().RunFileDialog(form_.PatternOpenDialog(), ApplicationHandle());
    });
    if (chosen) OpenPatternFile(form_.PatternOpenDialog().fileName);
}

void TFreeLineTab::OpenPatternFile(const std::string& path) {
    // The open dialog offers the file next time, however it was named.
    form_.PatternOpenDialog().fileName = path;
    OpenPattern([&](TextGrid& grid, PatternHeader& texts) {
        return freelines::OpenHatchFile(form_.ThePlatform(), path, grid, texts,
                                        ApplicationHandle());
    });
}

void TFreeLineTab::OpenPattern(const std::function<bool(TextGrid&, PatternHeader&)>& read) {
    PatternHeader texts =
        TabTexts(VrijeLijnUnits, VrijeLijnType, NaamVrijeLijnArcering, BeschrijvingVrijeLijn);
    bool opened = false;
    LijnGridUndo->Run([&] {
        RunCommand(form_.ThePlatform(), [&] { opened = read(LijnGridModel->Grid(), texts); });
    });
    if (opened) saved_.Set(LijnGridModel->Grid());
    // Whatever the read reached stays, also after an error.
    RefreshGridView(LijnGrid, LijnGridModel);
    SetComboText(VrijeLijnUnits, FromFileText(texts.units));
    SetComboText(VrijeLijnType, FromFileText(texts.type));
    const QString name = FromFileText(texts.name);
    if (NaamVrijeLijnArcering->text() != name) NaamVrijeLijnArcering->setText(name);
    const QString description = FromFileText(texts.description);
    if (BeschrijvingVrijeLijn->text() != description) BeschrijvingVrijeLijn->setText(description);
}

void TFreeLineTab::OpenFromLibraryExecute() {
    if (!MayDropChanges()) return;
    Platform& platform = form_.ThePlatform();
    std::optional<TLibraryForm> chooser;
    RunCommand(platform, [&] {
        if (!platform.RunFileDialog(form_.LibraryFileDialog(), ApplicationHandle())) return;
        ReadFileResult file = ReadFileLimited(form_.LibraryFileDialog().fileName, kMaxLibraryBytes);
        LibraryIndex index;
        if (file.status == ReadFileStatus::Ok) index = SplitLibrary(file.bytes);
        if (file.status != ReadFileStatus::Ok || index.status != LibraryStatus::Ok) {
            ShowError(platform, freelines::kReadErrorText, freelines::kReadErrorTitle,
                      ApplicationHandle());
            return;
        }
        const QString title =
            FromFileText(form_.LibraryFileDialog().fileName).section(QLatin1Char('/'), -1);
        chooser.emplace(&form_.Window(), std::move(file.bytes), std::move(index), title);
    });
    if (!chooser || chooser->exec() != QDialog::Accepted) return;
    const std::string pattern = chooser->Model().PatternFile(chooser->ChosenRow());
    if (pattern.empty()) return;
    if (chooser->AsFigure()) {
        OpenPatternAsFigure(form_, pattern);
        return;
    }
    OpenPattern([&](TextGrid& grid, PatternHeader& texts) {
        return freelines::OpenHatchBytes(form_.ThePlatform(), pattern, grid, texts,
                                         ApplicationHandle());
    });
}

void TFreeLineTab::OpenAsFigureExecute() {
    CommitOpenCell(LijnGrid);
    const LineList lines = freelines::BuildFreeLineHatch(
        LijnGridModel->Grid(),
        TabTexts(VrijeLijnUnits, VrijeLijnType, NaamVrijeLijnArcering, BeschrijvingVrijeLijn));
    OpenPatternAsFigure(form_, JoinCrLf(lines));
}

void TFreeLineTab::AddToLibraryExecute() {
    CommitOpenCell(LijnGrid);
    Platform& platform = form_.ThePlatform();
    RunCommand(platform, [&] {
        const LineList lines = freelines::BuildFreeLineHatch(
            LijnGridModel->Grid(),
            TabTexts(VrijeLijnUnits, VrijeLijnType, NaamVrijeLijnArcering, BeschrijvingVrijeLijn));
        AddToLibraryFile(lines, platform, form_.LibraryFileDialog(), form_.Handle());
    });
}

}  // namespace murvex::app
