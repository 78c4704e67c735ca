#include "project/CProjectSettingsDlg.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/Ui.h"
#include "project/VARNWorkspaceManager.h"

namespace varn {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// The framework's own words for an integer field out of its range.
std::string rangeMessage(int low, int high) {
    return QStringLiteral("Please enter an integer between %1 and %2.").arg(low).arg(high).toStdString();
}

std::optional<QString> systemFontDialog(QWidget* parent, const QString& current) {
    bool ok = false;
    QFont initial(current);
    const QFont chosen = QFontDialog::getFont(&ok, initial, parent, QStringLiteral("Font"));
    if (!ok) return std::nullopt;
    return chosen.family();
}

}  // namespace

// ---------------------------------------------------------------------------

CColourWell::CColourWell(QWidget* parent) : QPushButton(parent) {
    setMinimumSize(56, 24);
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, &CColourWell::choose);
    setColour(0);
}

QColor CColourWell::toQColor(std::uint32_t packed) {
    return QColor(static_cast<int>(packed & 0xFF), static_cast<int>((packed >> 8) & 0xFF),
                  static_cast<int>((packed >> 16) & 0xFF));
}

std::uint32_t CColourWell::fromQColor(const QColor& c) {
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
           (static_cast<std::uint32_t>(c.blue()) << 16);
}

void CColourWell::setColour(std::uint32_t packed) {
    colour_ = packed & 0xFFFFFF;
    QPixmap swatch(36, 14);
    swatch.fill(toQColor(colour_));
    {
        QPainter p(&swatch);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    }
    setIcon(QIcon(swatch));
    setIconSize(swatch.size());
    setToolTip(toQColor(colour_).name(QColor::HexRgb).toUpper());
    emit colourChanged(colour_);
}

void CColourWell::choose() {
    const QColor c = QColorDialog::getColor(toQColor(colour_), this);
    if (c.isValid()) setColour(fromQColor(c));
}

// ---------------------------------------------------------------------------

CProjectSettingsDlg::CProjectSettingsDlg(ProjectModel& model, Ui& ui, QWidget* parent)
    : QDialog(parent), model_(model), ui_(ui), fontChooser_(systemFontDialog) {
    setObjectName(QStringLiteral("ProjectSettingsDlg"));
    setWindowTitle(q(ProjectSettingsRules::title(model_.projectPath)));

    // Form font
    auto* fontGroup = new QGroupBox(QStringLiteral("Form Font"), this);
    fontName_ = new QLineEdit(fontGroup);
    fontName_->setObjectName(QStringLiteral("FormFontName"));
    browse_ = new QPushButton(QStringLiteral("..."), fontGroup);
    browse_->setObjectName(QStringLiteral("BrowseFont"));
    browse_->setAutoDefault(false);
    browse_->setFixedWidth(browse_->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    browse_->setToolTip(QStringLiteral("Choose the form font"));
    useVARNFonts_ = new QCheckBox(QStringLiteral("Use VARN fonts"), fontGroup);
    useVARNFonts_->setObjectName(QStringLiteral("UseVARNFonts"));
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(fontName_, 1);
    fontRow->addWidget(browse_);
    auto* fontLayout = new QVBoxLayout(fontGroup);
    fontLayout->addLayout(fontRow);
    fontLayout->addWidget(useVARNFonts_);

    // Display size
    auto* sizeGroup = new QGroupBox(QStringLiteral("Display Size"), this);
    width_ = new QSpinBox(sizeGroup);
    width_->setObjectName(QStringLiteral("VARNWidth"));
    height_ = new QSpinBox(sizeGroup);
    height_->setObjectName(QStringLiteral("VARNHeight"));
    for (QSpinBox* box : {width_, height_}) {
        box->setRange(ProjectSettingsRules::kMinDisplay, ProjectSettingsRules::kMaxDisplay);
        box->setButtonSymbols(QAbstractSpinBox::NoButtons);
        box->setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    }
    auto* sizeLayout = new QGridLayout(sizeGroup);
    auto* widthLabel = new QLabel(QStringLiteral("&Width:"), sizeGroup);
    widthLabel->setBuddy(width_);
    auto* heightLabel = new QLabel(QStringLiteral("&Height:"), sizeGroup);
    heightLabel->setBuddy(height_);
    sizeLayout->addWidget(widthLabel, 0, 0);
    sizeLayout->addWidget(width_, 0, 1);
    sizeLayout->addWidget(heightLabel, 1, 0);
    sizeLayout->addWidget(height_, 1, 1);
    sizeLayout->setColumnStretch(2, 1);

    // Colours
    auto* colourGroup = new QGroupBox(QStringLiteral("Colors"), this);
    useSystemColors_ = new QCheckBox(QStringLiteral("Use system colors"), colourGroup);
    useSystemColors_->setObjectName(QStringLiteral("UseSystemColors"));
    allow1Bit_ = new QCheckBox(QStringLiteral("Allow 1-bit color control"), colourGroup);
    allow1Bit_->setObjectName(QStringLiteral("Allow1BitColor"));
    textColour_ = new CColourWell(colourGroup);
    textColour_->setObjectName(QStringLiteral("DefaultForeGroundColor"));
    backColour_ = new CColourWell(colourGroup);
    backColour_->setObjectName(QStringLiteral("DefaultBackGroundColor"));
    textColourLabel_ = new QLabel(QStringLiteral("Text color:"), colourGroup);
    textColourLabel_->setBuddy(textColour_);
    backColourLabel_ = new QLabel(QStringLiteral("Background color:"), colourGroup);
    backColourLabel_->setBuddy(backColour_);
    auto* colourLayout = new QGridLayout(colourGroup);
    colourLayout->addWidget(useSystemColors_, 0, 0, 1, 3);
    colourLayout->addWidget(allow1Bit_, 1, 0, 1, 3);
    colourLayout->addWidget(textColourLabel_, 2, 0);
    colourLayout->addWidget(textColour_, 2, 1);
    colourLayout->addWidget(backColourLabel_, 3, 0);
    colourLayout->addWidget(backColour_, 3, 1);
    colourLayout->setColumnStretch(2, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CProjectSettingsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CProjectSettingsDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fontGroup);
    layout->addWidget(sizeGroup);
    layout->addWidget(colourGroup);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const ProjectSettingsFields f = ProjectSettingsRules::load(model_.settings);
    fontName_->setText(q(f.formFontName));
    useVARNFonts_->setChecked(f.useVARNFonts);
    width_->setValue(f.displayWidth);
    height_->setValue(f.displayHeight);
    useSystemColors_->setChecked(f.useSystemColors);
    allow1Bit_->setChecked(f.allow1BitColor);
    textColour_->setColour(f.textColour);
    backColour_->setColour(f.backgroundColour);
    updateEnabling();

    connect(useVARNFonts_, &QCheckBox::toggled, this, &CProjectSettingsDlg::updateEnabling);
    connect(useSystemColors_, &QCheckBox::toggled, this, &CProjectSettingsDlg::updateEnabling);
    connect(browse_, &QPushButton::clicked, this, &CProjectSettingsDlg::browseFont);
}

bool CProjectSettingsDlg::run(QWidget* parent, VARNWorkspaceManager& workspace, Ui& ui,
                              std::function<void()> formsChanged) {
    CProjectSettingsDlg dlg(workspace.project(), ui, parent);
    dlg.setFormsChanged(std::move(formsChanged));
    return dlg.exec() == QDialog::Accepted;
}

ProjectSettingsFields CProjectSettingsDlg::fields() const {
    ProjectSettingsFields f;
    f.formFontName = fontName_->text().toStdString();
    f.useVARNFonts = useVARNFonts_->isChecked();
    f.displayWidth = width_->value();
    f.displayHeight = height_->value();
    f.useSystemColors = useSystemColors_->isChecked();
    f.allow1BitColor = allow1Bit_->isChecked();
    f.textColour = textColour_->colour();
    f.backgroundColour = backColour_->colour();
    return f;
}

void CProjectSettingsDlg::updateEnabling() {
    const ProjectSettingsFields f = fields();
    const bool fontName = ProjectSettingsRules::fontNameEnabled(f);
    fontName_->setEnabled(fontName);
    browse_->setEnabled(fontName);
    const bool wells = ProjectSettingsRules::colourWellsEnabled(f);
    for (QWidget* w : std::initializer_list<QWidget*>{textColour_, backColour_, textColourLabel_, backColourLabel_})
        w->setEnabled(wells);
}

void CProjectSettingsDlg::browseFont() {
    if (!fontChooser_) return;
    const auto face = fontChooser_(this, fontName_->text());
    if (!face) return;
    ProjectSettingsFields f = fields();
    ProjectSettingsRules::chooseFont(f, model_.settings, face->toStdString());
    fontName_->setText(q(f.formFontName));
    if (formsChanged_) formsChanged_();
}

bool CProjectSettingsDlg::displaySizeValid(QSpinBox* box) {
    bool parsed = false;
    const int value = box->text().trimmed().toInt(&parsed);
    if (parsed && ProjectSettingsRules::displaySizeInRange(value)) {
        box->setValue(value);
        return true;
    }
    ui_.warning(rangeMessage(ProjectSettingsRules::kMinDisplay, ProjectSettingsRules::kMaxDisplay));
    box->setFocus();
    box->selectAll();
    return false;
}

void CProjectSettingsDlg::accept() {
    if (!displaySizeValid(width_) || !displaySizeValid(height_)) return;
    DisplaySize previous{model_.previousVarnWidth, model_.previousVarnHeight};
    ProjectSettingsRules::apply(fields(), model_, previous);
    model_.previousVarnWidth = previous.width;
    model_.previousVarnHeight = previous.height;
    QDialog::accept();
}

}  // namespace varn
