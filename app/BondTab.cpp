// The tab "Metselverbanden": brick dimensions, name and rotation to a bond's pattern file.
#include "BondTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include "BondGenerator.h"
#include "BondPreview.h"
#include "BrickFormats.h"
#include "JpegDecoder.h"
#include "LibrarySave.h"
#include "Msg.h"
#include "PreviewForm.h"
#include "QtText.h"
#include "SaveHatch.h"
#include "StartUp.h"
#include "TabHost.h"
#include "TabParts.h"

namespace murvex::app {
namespace {

constexpr int kPictureWidth = 320;
constexpr int kPictureHeight = 200;

// The explanation picture of a bond; Wildverband has none.
QString PictureResource(int bondIndex) {
    if (bondIndex == 9) return {};
    const auto name = bonds::BondNames()[static_cast<std::size_t>(bondIndex)];
    return QStringLiteral(":/uitleg/uitleg_%1.jpg")
        .arg(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())).toLower());
}

constexpr const char* kOwnSizeItem = "Eigen maat";

// The combo item of the format whose texts the four edits hold (and the width, when it is
// filled), 0 ("Eigen maat") for none.
int FormatItemOf(const QString& length, const QString& lengthJoint, const QString& height,
                 const QString& heightJoint, const QString& width) {
    int item = 1;
    for (const bonds::BrickFormat& f : bonds::BrickFormats()) {
        const bonds::FormatTexts t = bonds::TextsOfFormat(f);
        if (length.toStdString() == t.length && lengthJoint.toStdString() == t.lengthJoint &&
            height.toStdString() == t.height && heightJoint.toStdString() == t.heightJoint &&
            (width.isEmpty() || width.toStdString() == t.width))
            return item;
        ++item;
    }
    return 0;
}

QPixmap LoadPicture(const QString& resource) {
    QFile file(resource);
    if (resource.isEmpty() || !file.open(QIODevice::ReadOnly)) return {};
    const pictures::JpegResult picture =
        pictures::DecodeJpeg(file.readAll(), QSize(kPictureWidth, kPictureHeight));
    return picture.ok() ? QPixmap::fromImage(picture.image) : QPixmap();
}

}  // namespace

TBondTab::TBondTab(TabHost& form) : QWidget(&form.Window()), form_(form) {
    InitResources();
    setObjectName(QStringLiteral("MetselverbandenTab"));

    ParametersGroupBox = new QGroupBox(QStringLiteral("Parameters"), this);
    ParametersGroupBox->setObjectName(QStringLiteral("ParametersGroupBox"));
    ParametersGroupBox->setGeometry(8, 8, 290, 206);

    const auto addLabel = [](QWidget* parent, const char* text, int left, int top) {
        auto* label = new QLabel(QString::fromLatin1(text), parent);
        label->setGeometry(left, top, 116, 21);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return label;
    };
    const auto addEdit = [](QWidget* parent, const char* name, const char* text, int left, int top,
                            int width) {
        auto* edit = new QLineEdit(QString::fromLatin1(text), parent);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setGeometry(left, top, width, 21);
        return edit;
    };

    addLabel(ParametersGroupBox, "Metselverband", 12, 24);
    ComboBoxMetselverbanden = new QComboBox(ParametersGroupBox);
    ComboBoxMetselverbanden->setObjectName(QStringLiteral("ComboBoxMetselverbanden"));
    ComboBoxMetselverbanden->setGeometry(130, 24, 148, 21);
    ComboBoxMetselverbanden->setEditable(true);
    ComboBoxMetselverbanden->setInsertPolicy(QComboBox::NoInsert);
    ComboBoxMetselverbanden->setMaxVisibleItems(15);
    for (const auto name : bonds::BondNames()) {
        ComboBoxMetselverbanden->addItem(
            QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    }
    ComboBoxMetselverbanden->setCurrentIndex(0);

    addLabel(ParametersGroupBox, "Steenlengte:", 12, 52);
    SteenlengteEdit = addEdit(ParametersGroupBox, "SteenlengteEdit", "210", 130, 52, 148);
    addLabel(ParametersGroupBox, "Steenlengte + voeg:", 12, 80);
    SteenLengteVoegEdit = addEdit(ParametersGroupBox, "SteenLengteVoegEdit", "220", 130, 80, 148);
    addLabel(ParametersGroupBox, "Steenhoogte:", 12, 108);
    SteenhoogteEdit = addEdit(ParametersGroupBox, "SteenhoogteEdit", "50", 130, 108, 148);
    addLabel(ParametersGroupBox, "Steenhoogte + voeg:", 12, 136);
    SteenhoogteVoegEdit = addEdit(ParametersGroupBox, "SteenhoogteVoegEdit", "62.5", 130, 136, 148);
    addLabel(ParametersGroupBox, "Naam Hatch:", 12, 164);
    NaamEdit = addEdit(ParametersGroupBox, "NaamEdit", "naam metselverband", 130, 164, 148);

    addLabel(this, "Hoekverdraaiing:", 20, 226);
    HoekverdraaiingEdit = addEdit(this, "HoekverdraaiingEdit", "0", 138, 226, 70);
    HoekverdraaiingEdit->setToolTip(QStringLiteral("-360 tot 360"));

    CreateHatchButton = new QPushButton(QStringLiteral("Maak Hatch"), this);
    CreateHatchButton->setObjectName(QStringLiteral("CreateHatchButton"));
    CreateHatchButton->setGeometry(223, 224, 75, 25);
    CreateHatchButton->setAutoDefault(false);

    VoorbeeldButton = new QPushButton(QStringLiteral("Voorbeeld"), this);
    VoorbeeldButton->setObjectName(QStringLiteral("VoorbeeldButton"));
    VoorbeeldButton->setGeometry(306, 224, 75, 25);
    VoorbeeldButton->setAutoDefault(false);
    VoorbeeldButton->setToolTip(QStringLiteral("Het patroon bekijken voor het opslaan"));

    // Below the rotation, in the column of the edits: the dimensions it fills are just above.
    addLabel(this, "Formaat:", 20, 258);
    formatCombo_ = new QComboBox(this);
    formatCombo_->setObjectName(QStringLiteral("FormaatCombo"));
    formatCombo_->setGeometry(138, 258, 160, 21);
    formatCombo_->setToolTip(
        QStringLiteral("Standaard steenformaat; kopvoeg 10 mm, lintvoeg 12.5 mm"));
    formatCombo_->addItem(QString::fromLatin1(kOwnSizeItem));
    for (const bonds::BrickFormat& f : bonds::BrickFormats()) {
        formatCombo_->addItem(
            QString::fromLatin1(f.name.data(), static_cast<qsizetype>(f.name.size())));
        formatCombo_->setItemData(formatCombo_->count() - 1,
                                  QString::fromStdString(bonds::SizeText(f)), Qt::ToolTipRole);
    }

    addLabel(this, "Steenbreedte:", 20, 286);
    SteenbreedteEdit = addEdit(this, "SteenbreedteEdit", "", 138, 286, 70);
    SteenbreedteEdit->setToolTip(
        QStringLiteral("Lengte van een kop; leeg: (steenlengte - voeg) / 2"));
    formatCombo_->setCurrentIndex(FormatItemOf(SteenlengteEdit->text(), SteenLengteVoegEdit->text(),
                                               SteenhoogteEdit->text(), SteenhoogteVoegEdit->text(),
                                               SteenbreedteEdit->text()));

    libraryAddButton_ = new QPushButton(QStringLiteral("Aan bibliotheek toevoegen..."), this);
    libraryAddButton_->setObjectName(QStringLiteral("AanBibliotheekButton"));
    libraryAddButton_->setAutoDefault(false);
    libraryAddButton_->setToolTip(
        QStringLiteral("Deze arcering aan een bestand met meerdere arceringen toevoegen"));
    libraryAddButton_->setGeometry(389, 224, libraryAddButton_->sizeHint().width(), 25);

    // Beside "Formaat", under the buttons that write.
    CompatibelOpslaan = CompatibleBox(this, "CompatibelOpslaanVerband", 306, 260);

    for (int i = 0; i < bonds::kBondCount; ++i) {
        const auto name = bonds::BondNames()[static_cast<std::size_t>(i)];
        auto* image = new QLabel(this);
        image->setObjectName(QStringLiteral("UitlegImage") +
                             QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
        image->setGeometry(306, 14, kPictureWidth, kPictureHeight);
        image->setPixmap(LoadPicture(PictureResource(i)));
        image->hide();
        UitlegImages[static_cast<std::size_t>(i)] = image;
    }

    for (QWidget* edit : {SteenlengteEdit, SteenLengteVoegEdit, SteenhoogteEdit,
                          SteenhoogteVoegEdit, SteenbreedteEdit}) {
        form_.AddCommaToPointWidget(edit);
    }

    // Typing into the field and choosing an item (the same one again too) both count.
    connect(ComboBoxMetselverbanden, &QComboBox::currentTextChanged, this,
            &TBondTab::ComboBoxMetselverbandenChange);
    connect(ComboBoxMetselverbanden, &QComboBox::activated, this,
            &TBondTab::ComboBoxMetselverbandenChange);
    connect(CreateHatchButton, &QPushButton::clicked, this, &TBondTab::CreateHatchButtonClick);
    connect(libraryAddButton_, &QPushButton::clicked, this, &TBondTab::AddToLibraryClick);
    connect(formatCombo_, &QComboBox::activated, this, &TBondTab::FormatChosen);
    // Typing a size of one's own; texts written by the program (a format, the normalising of
    // "Maak Hatch") do not count.
    for (QLineEdit* edit : {SteenlengteEdit, SteenLengteVoegEdit, SteenhoogteEdit,
                            SteenhoogteVoegEdit, SteenbreedteEdit}) {
        connect(edit, &QLineEdit::textEdited, this, [this] { formatCombo_->setCurrentIndex(0); });
    }
    connect(VoorbeeldButton, &QPushButton::clicked, this, [this] { form_.ShowPreview(); });

    auto* preview = new PreviewSource(this, [this] { return PreviewNow(); });
    connect(ComboBoxMetselverbanden, &QComboBox::currentTextChanged, preview,
            &PreviewSource::ContentChanged);
    for (QLineEdit* edit : {SteenlengteEdit, SteenLengteVoegEdit, SteenhoogteEdit,
                            SteenhoogteVoegEdit, NaamEdit, HoekverdraaiingEdit, SteenbreedteEdit}) {
        connect(edit, &QLineEdit::textChanged, preview, &PreviewSource::ContentChanged);
    }
    connect(CompatibelOpslaan, &QCheckBox::toggled, preview, &PreviewSource::ContentChanged);
}

PreviewContent TBondTab::PreviewNow() const {
    // The edits are read as "Maak Hatch" reads them, but left as they are.
    const bonds::BondReading reading =
        bonds::ReadBondTexts(BondItemIndex(), EditTexts(), ToFileText(NaamEdit->text()),
                             form_.ThePlatform().DecimalSeparator());
    if (!reading.valid) {
        PreviewContent content;
        content.fileName = reading.input.name;
        content.problem = kInvalidValueText;
        return content;
    }
    return bonds::BondPreviewContent(reading.input, StyleOf(CompatibelOpslaan));
}

int TBondTab::BondItemIndex() const {
    const int index = ComboBoxMetselverbanden->currentIndex();
    if (index < 0) return -1;
    return ComboBoxMetselverbanden->currentText() == ComboBoxMetselverbanden->itemText(index)
               ? index
               : -1;
}

void TBondTab::ComboBoxMetselverbandenChange() {
    for (QLabel* image : UitlegImages)
        image->hide();
    const int bond = bonds::EffectiveBondIndex(BondItemIndex());
    UitlegImages[static_cast<std::size_t>(bond)]->show();
    const auto name = bonds::BondNames()[static_cast<std::size_t>(bond)];
    NaamEdit->setText(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

void TBondTab::FormatChosen(int item) {
    if (item < 1) return;
    const bonds::BrickFormat& format = bonds::BrickFormats()[static_cast<std::size_t>(item - 1)];
    const bonds::FormatTexts texts = bonds::TextsOfFormat(format);
    SteenlengteEdit->setText(QString::fromStdString(texts.length));
    SteenLengteVoegEdit->setText(QString::fromStdString(texts.lengthJoint));
    SteenhoogteEdit->setText(QString::fromStdString(texts.height));
    SteenhoogteVoegEdit->setText(QString::fromStdString(texts.heightJoint));
    SteenbreedteEdit->setText(QString::fromStdString(texts.width));
}

bonds::BondTexts TBondTab::EditTexts() const {
    return {
        ToFileText(SteenlengteEdit->text()),     ToFileText(SteenLengteVoegEdit->text()),
        ToFileText(SteenhoogteEdit->text()),     ToFileText(SteenhoogteVoegEdit->text()),
        ToFileText(HoekverdraaiingEdit->text()), ToFileText(SteenbreedteEdit->text()),
    };
}

void TBondTab::CreateHatchButtonClick() {
    MakeBondThen([this](const LineList& lines) {
        SaveHatchFile(lines, form_.ThePlatform(), form_.HatchSaveDialog(), form_.Handle());
    });
}

void TBondTab::AddToLibraryClick() {
    MakeBondThen([this](const LineList& lines) {
        AddToLibraryFile(lines, form_.ThePlatform(), form_.LibraryFileDialog(), form_.Handle());
    });
}

void TBondTab::MakeBondThen(const std::function<void(const LineList&)>& save) {
    RunCommand(form_.ThePlatform(), [&] {
        const bonds::BondReading reading =
            bonds::ReadBondTexts(BondItemIndex(), EditTexts(), ToFileText(NaamEdit->text()),
                                 form_.ThePlatform().DecimalSeparator());

        // The user sees the normalised dimensions whatever happens next.
        SteenlengteEdit->setText(FromFileText(reading.normalised.length));
        SteenLengteVoegEdit->setText(FromFileText(reading.normalised.lengthJoint));
        SteenhoogteEdit->setText(FromFileText(reading.normalised.height));
        SteenhoogteVoegEdit->setText(FromFileText(reading.normalised.heightJoint));
        SteenbreedteEdit->setText(FromFileText(reading.normalised.width));

        if (!reading.valid) {
            ShowError(form_.ThePlatform(), kInvalidValueText, "Error", form_.Handle());
            return;
        }
        save(bonds::GenerateBond(reading.input, StyleOf(CompatibelOpslaan)));
    });
}

QWidget* TBondTab::FirstInput() const {
    return ComboBoxMetselverbanden;
}

}  // namespace murvex::app
