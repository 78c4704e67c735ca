#include "app/CSettingsDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/Ui.h"
#include "editor/CChromaDialog.h"
#include "editor/ColouringSettings.h"
#include "platform/SettingsStore.h"

namespace varn {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

using K = IdeSettings::Key;

struct BoxRow {
    const char* key;
    const char* text;
    bool IdeSettings::*value;
};

constexpr BoxRow kBoxes[] = {
    {K::RestoreLastActiveWorkspace, "Restore last workspace", &IdeSettings::restoreLastActiveWorkspace},
    {K::AssumeProjectName, "Assume project name same as source name", &IdeSettings::assumeProjectName},
    {K::ConfirmAutoSave, "Confirm automatic save before build", &IdeSettings::confirmAutoSave},
    {K::ConfirmAutoBuild, "Confirm automatic build before run", &IdeSettings::confirmAutoBuild},
    {K::ShowCBuildWindow, "Show C build window", &IdeSettings::showCBuildWindow},
    {K::AddNewFile, "Add new file to project", &IdeSettings::addNewFile},
    {K::AutoDupCheck, "Automatic duplicate checking", &IdeSettings::autoDupCheck},
    {K::AllowMultipleIDE, "Allow multiple VARNide's to run", &IdeSettings::allowMultipleIDE},
    {K::AllowAutoProp, "Allow object property detection", &IdeSettings::allowAutoProp},
    {K::ShowDebugDataPopups, "Show debugger data popups", &IdeSettings::showDebugDataPopups},
    {K::ShowTabs, "Show tabs", &IdeSettings::showTabs},
};

std::optional<WindowFont> chooseFont(QWidget* parent, const WindowFont& current, bool fixedPitchOnly) {
    QFont f(q(current.faceName));
    f.setPointSize(std::max(1, current.size));
    f.setBold(current.weight >= 700);
    f.setItalic(current.italic);
    bool ok = false;
    QFontDialog::FontDialogOptions options = QFontDialog::ScalableFonts | QFontDialog::NonScalableFonts;
    if (fixedPitchOnly) options |= QFontDialog::MonospacedFonts;
    const QFont chosen = QFontDialog::getFont(&ok, f, parent, QStringLiteral("Font"), options);
    if (!ok) return std::nullopt;
    return fontFromChoice(chosen.family().toStdString(), chosen.pointSize() * 10, chosen.bold(), chosen.italic());
}

}  // namespace

CSettingsDlg::CSettingsDlg(SettingsStore& store, std::array<WindowFont, 4>& fonts, int formSizeX, int formSizeY,
                           Ui& ui, QWidget* parent)
    : QDialog(parent), store_(store), fonts_(fonts), ui_(ui) {
    setObjectName(QStringLiteral("IdeSettings"));
    setWindowTitle(QString::fromLatin1(IdeSettings::kTitle));
    values_ = IdeSettings::load(store, formSizeX, formSizeY);
    fontChooser_ = [this](const WindowFont& f, bool fixed) { return chooseFont(this, f, fixed); };
    colouring_ = [this](const std::string& section) {
        CChromaDialog dlg(store_, section, this);
        if (dlg.exec() == QDialog::Accepted) emit editorSettingsChanged();
    };

    auto* top = new QHBoxLayout;
    auto* switches = new QGroupBox(tr("Options"), this);
    auto* switchesLayout = new QVBoxLayout(switches);
    for (const BoxRow& row : kBoxes) {
        if (row.value == &IdeSettings::showTabs) continue;
        auto* b = new QCheckBox(QString::fromLatin1(row.text), switches);
        b->setObjectName(QString::fromLatin1(row.key));
        b->setChecked(values_.*row.value);
        boxes_[row.key] = b;
        switchesLayout->addWidget(b);
    }
    connect(boxes_[K::ShowCBuildWindow], &QCheckBox::toggled, this, &CSettingsDlg::onCBuildToggled);
    top->addWidget(switches);

    auto* right = new QVBoxLayout;
    auto addField = [this](QFormLayout* form, const char* key, const QString& label, const QString& value) {
        auto* e = new QLineEdit(value, this);
        e->setObjectName(QString::fromLatin1(key));
        fields_[key] = e;
        form->addRow(label, e);
        return e;
    };
    auto* dirs = new QGroupBox(tr("Install directories"), this);
    auto* dirsForm = new QFormLayout(dirs);
    for (auto [key, label, value] : {std::tuple{K::PalmPilotInstallDir, "PalmPilot", &values_.palmPilotInstallDir},
                                     std::tuple{K::WinCEInstallDir, "PocketPC", &values_.winCEInstallDir}}) {
        auto* e = new QLineEdit(q(*value), dirs);
        e->setObjectName(QString::fromLatin1(key));
        fields_[key] = e;
        auto* browse = new QPushButton(tr("..."), dirs);
        browse->setMaximumWidth(30);
        connect(browse, &QPushButton::clicked, this, [this, e] {
            const QString d = QFileDialog::getExistingDirectory(this, tr("Install directory"), e->text());
            if (!d.isEmpty()) e->setText(d);
        });
        auto* row = new QHBoxLayout;
        row->addWidget(e);
        row->addWidget(browse);
        dirsForm->addRow(QString::fromLatin1(label), row);
    }
    right->addWidget(dirs);

    auto* size = new QGroupBox(tr("IDE Form Size"), this);
    auto* sizeForm = new QFormLayout(size);
    addField(sizeForm, K::FormSizeX, tr("Width:"), QString::number(values_.formSizeX));
    addField(sizeForm, K::FormSizeY, tr("Height:"), QString::number(values_.formSizeY));
    right->addWidget(size);

    auto* tabs = new QGroupBox(tr("Tabs"), this);
    auto* tabsForm = new QFormLayout(tabs);
    addField(tabsForm, K::TabSize, tr("Tab size:"), QString::number(values_.tabSize));
    auto* showTabs = new QCheckBox(tr("Show tabs"), tabs);
    showTabs->setObjectName(QString::fromLatin1(K::ShowTabs));
    showTabs->setChecked(values_.showTabs);
    boxes_[K::ShowTabs] = showTabs;
    tabsForm->addRow(showTabs);
    insertSpaces_ = new QRadioButton(tr("Insert spaces"), tabs);
    keepTabs_ = new QRadioButton(tr("Keep tabs"), tabs);
    (values_.keepTabs ? keepTabs_ : insertSpaces_)->setChecked(true);
    tabsForm->addRow(insertSpaces_, keepTabs_);
    right->addWidget(tabs);
    top->addLayout(right);

    auto* fontsBox = new QGroupBox(tr("Fonts"), this);
    auto* fontsGrid = new QGridLayout(fontsBox);
    fontSlot_ = new QComboBox(fontsBox);
    for (const char* slot : CVarnIdeApp::kFontSlots) fontSlot_->addItem(QString::fromLatin1(slot));
    fontFace_ = new QLabel(fontsBox);
    fontSize_ = new QLabel(fontsBox);
    fontStyle_ = new QLabel(fontsBox);
    auto* change = new QPushButton(tr("Change Font..."), fontsBox);
    fontsGrid->addWidget(fontSlot_, 0, 0);
    fontsGrid->addWidget(fontFace_, 0, 1);
    fontsGrid->addWidget(fontSize_, 0, 2);
    fontsGrid->addWidget(fontStyle_, 0, 3);
    fontsGrid->addWidget(change, 0, 4);
    connect(fontSlot_, &QComboBox::currentIndexChanged, this, &CSettingsDlg::showSlot);
    connect(change, &QPushButton::clicked, this, &CSettingsDlg::changeFont);

    auto* colourRow = new QHBoxLayout;
    category_ = new QComboBox(this);
    for (const char* section : {kSourceFilesSection, kCBuildFilesSection, kDefaultFilesSection})
        category_->addItem(QString::fromLatin1(section).section(QLatin1Char('\\'), 1), QString::fromLatin1(section));
    auto* colouring = new QPushButton(tr("&Syntax coloring..."), this);
    connect(colouring, &QPushButton::clicked, this, &CSettingsDlg::openColouring);
    colourRow->addWidget(category_);
    colourRow->addWidget(colouring);
    colourRow->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSettingsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(fontsBox);
    layout->addLayout(colourRow);
    layout->addWidget(buttons);
    showSlot(0);
}

QCheckBox* CSettingsDlg::box(const char* key) const {
    auto it = boxes_.find(key);
    return it == boxes_.end() ? nullptr : it->second;
}

QLineEdit* CSettingsDlg::field(const char* key) const {
    auto it = fields_.find(key);
    return it == fields_.end() ? nullptr : it->second;
}

void CSettingsDlg::showSlot(int slot) {
    if (slot < 0 || slot >= static_cast<int>(fonts_.size())) return;
    const WindowFont& f = fonts_[static_cast<std::size_t>(slot)];
    fontFace_->setText(q(f.faceName));
    fontSize_->setText(QString::number(f.size));
    fontStyle_->setText(q(fontStyleText(f.weight, f.italic)));
}

void CSettingsDlg::changeFont() {
    const int slot = std::max(0, fontSlot_->currentIndex());
    auto chosen = fontChooser_(fonts_[static_cast<std::size_t>(slot)], slot == 0);
    if (!chosen) return;
    fonts_[static_cast<std::size_t>(slot)] = *chosen;
    showSlot(slot);
    emit fontChanged(slot);
}

void CSettingsDlg::openColouring() { colouring_(category_->currentData().toString().toStdString()); }

void CSettingsDlg::onCBuildToggled(bool on) {
    if (on || IdeSettings::confirmHideCBuildWindow(ui_)) return;
    QSignalBlocker block(boxes_[K::ShowCBuildWindow]);
    boxes_[K::ShowCBuildWindow]->setChecked(true);
}

void CSettingsDlg::accept() {
    // Number fields are checked in field order, as the dialog framework does.
    struct NumberField {
        const char* key;
        int min, max;
        int IdeSettings::*value;
    };
    IdeSettings v = values_;
    for (const NumberField& n : {NumberField{K::FormSizeX, IdeSettings::kMinFormSize, IdeSettings::kMaxFormSize, &IdeSettings::formSizeX},
                                 NumberField{K::FormSizeY, IdeSettings::kMinFormSize, IdeSettings::kMaxFormSize, &IdeSettings::formSizeY},
                                 NumberField{K::TabSize, IdeSettings::kMinTabSize, IdeSettings::kMaxTabSize, &IdeSettings::tabSize}}) {
        const std::string text = fields_[n.key]->text().toStdString();
        if (auto refusal = integerFieldRefusal(text, n.min, n.max)) {
            ui_.warning(*refusal);
            fields_[n.key]->setFocus();
            fields_[n.key]->selectAll();
            return;
        }
        v.*n.value = std::stoi(text);
    }
    for (const BoxRow& row : kBoxes) v.*row.value = boxes_[row.key]->isChecked();
    v.palmPilotInstallDir = fields_[K::PalmPilotInstallDir]->text().toStdString();
    v.winCEInstallDir = fields_[K::WinCEInstallDir]->text().toStdString();
    v.keepTabs = keepTabs_->isChecked();
    v.save(store_);
    values_ = v;
    emit editorSettingsChanged();
    QDialog::accept();
}

}  // namespace varn
