#include "project/CCompilePilotDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/ReadOnlyField.h"
#include "app/Ui.h"
#include "project/CreatorId.h"
#include "project/VARNWorkspaceManager.h"

namespace varn {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// The creator ID is a handful of 8-bit characters: one byte per character.
std::string bytes(const QString& s) { return s.toLatin1().toStdString(); }
QString fromBytes(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

std::string rangeMessage(int low, int high) {
    return QStringLiteral("Please enter an integer between %1 and %2.").arg(low).arg(high).toStdString();
}

void applyControl(const ApplicationSettingsLayout::Control& c, std::initializer_list<QWidget*> widgets) {
    for (QWidget* w : widgets) {
        if (!w) continue;
        w->setHidden(!c.visible);
        w->setEnabled(c.enabled);
    }
}

}  // namespace

CCompilePilotDlg::CCompilePilotDlg(ProjectModel& model, Ui& ui, QWidget* parent)
    : QDialog(parent), ui_(ui), rules_(model), loaded_(rules_.fields) {
    setObjectName(QStringLiteral("CompilePilotDlg"));
    setWindowTitle(QStringLiteral("Application Settings"));

    // Creator ID, in both forms.
    auto* creatorGroup = new QGroupBox(QStringLiteral("Creator ID"), this);
    creatorText_ = new QLineEdit(creatorGroup);
    creatorText_->setObjectName(QStringLiteral("CreatorText"));
    creatorText_->setMaxLength(static_cast<int>(creator::kMaxText));
    creatorHex_ = new QLineEdit(creatorGroup);
    creatorHex_->setObjectName(QStringLiteral("CreatorHex"));
    creatorHex_->setMaxLength(static_cast<int>(creator::kMaxHex));
    creatorTextLabel_ = new QLabel(QStringLiteral("Text:"), creatorGroup);
    creatorTextLabel_->setBuddy(creatorText_);
    creatorHexLabel_ = new QLabel(QStringLiteral("Hex:"), creatorGroup);
    creatorHexLabel_->setBuddy(creatorHex_);
    changeDB_ = new QCheckBox(QStringLiteral("Database creator ID"), creatorGroup);
    changeDB_->setObjectName(QStringLiteral("ChangeDBCreatorID"));
    auto* creatorLayout = new QGridLayout(creatorGroup);
    creatorLayout->addWidget(creatorTextLabel_, 0, 0);
    creatorLayout->addWidget(creatorText_, 0, 1);
    creatorLayout->addWidget(creatorHexLabel_, 0, 2);
    creatorLayout->addWidget(creatorHex_, 0, 3);
    creatorLayout->addWidget(changeDB_, 1, 0, 1, 4);
    creatorLayout->setColumnStretch(3, 1);

    // The application.
    auto* appGroup = new QGroupBox(QStringLiteral("Application"), this);
    appGroup_ = appGroup;
    desktopName_ = new QLineEdit(appGroup);
    desktopName_->setObjectName(QStringLiteral("DesktopName"));
    desktopName_->setMaxLength(static_cast<int>(ApplicationSettingsRules::kMaxDesktopName));
    desktopNameLabel_ = new QLabel(QStringLiteral("Desktop Name"), appGroup);
    desktopNameLabel_->setBuddy(desktopName_);
    prcVersion_ = new QLineEdit(appGroup);
    prcVersion_->setObjectName(QStringLiteral("PRCVersion"));
    prcVersion_->setMaxLength(static_cast<int>(ApplicationSettingsRules::kMaxPrcVersion));
    prcVersionLabel_ = new QLabel(QStringLiteral("PRC Version"), appGroup);
    prcVersionLabel_->setBuddy(prcVersion_);
    prcType_ = new QComboBox(appGroup);
    prcType_->setObjectName(QStringLiteral("PRCType"));
    for (const char* type : ApplicationSettingsRules::kPrcTypes) prcType_->addItem(QString::fromLatin1(type));
    prcTypeLabel_ = new QLabel(QStringLiteral("PRC Type"), appGroup);
    prcTypeLabel_->setBuddy(prcType_);
    nonBeamable_ = new QCheckBox(QStringLiteral("Non-beamable application"), appGroup);
    nonBeamable_->setObjectName(QStringLiteral("DisableBeamApplication"));
    backup_ = new QCheckBox(QStringLiteral("Enable application backup"), appGroup);
    backup_->setObjectName(QStringLiteral("EnableApplicationBackup"));
    splash_ = new QComboBox(appGroup);
    splash_->setObjectName(QStringLiteral("SplashScreen"));
    splash_->setEditable(true);
    splash_->setInsertPolicy(QComboBox::NoInsert);
    splashLabel_ = new QLabel(QStringLiteral("Splash Screen"), appGroup);
    splashLabel_->setBuddy(splash_);
    sip_ = new QCheckBox(QStringLiteral("Enable SIP resize"), appGroup);
    sip_->setObjectName(QStringLiteral("EnableSipResize"));
    auto* appLayout = new QGridLayout(appGroup);
    int row = 0;
    appLayout->addWidget(desktopNameLabel_, row, 0);
    appLayout->addWidget(desktopName_, row++, 1);
    appLayout->addWidget(prcVersionLabel_, row, 0);
    appLayout->addWidget(prcVersion_, row++, 1);
    appLayout->addWidget(prcTypeLabel_, row, 0);
    appLayout->addWidget(prcType_, row++, 1);
    appLayout->addWidget(splashLabel_, row, 0);
    appLayout->addWidget(splash_, row++, 1);
    appLayout->addWidget(nonBeamable_, row++, 0, 1, 2);
    appLayout->addWidget(backup_, row++, 0, 1, 2);
    appLayout->addWidget(sip_, row++, 0, 1, 2);
    appLayout->setColumnStretch(1, 1);

    // The runtime form size.
    formWidth_ = new QSpinBox(this);
    formWidth_->setObjectName(QStringLiteral("FormSizeX"));
    formHeight_ = new QSpinBox(this);
    formHeight_->setObjectName(QStringLiteral("FormSizeY"));
    for (QSpinBox* box : {formWidth_, formHeight_}) {
        box->setRange(ApplicationSettingsRules::kMinFormSize, ApplicationSettingsRules::kMaxFormSize);
        box->setButtonSymbols(QAbstractSpinBox::NoButtons);
        box->setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    }
    formSizeLabel_ = new QLabel(QStringLiteral("Runtime Form Size"), this);
    formSizeLabel_->setBuddy(formWidth_);
    byLabel_ = new QLabel(QStringLiteral("x"), this);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(formSizeLabel_);
    sizeRow->addWidget(formWidth_);
    sizeRow->addWidget(byLabel_);
    sizeRow->addWidget(formHeight_);
    sizeRow->addStretch(1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CCompilePilotDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CCompilePilotDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(creatorGroup);
    layout->addWidget(appGroup);
    layout->addLayout(sizeRow);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    applyLayout();
    showFields();

    // Typing in either creator field rewrites the other one.
    connect(creatorText_, &QLineEdit::textEdited, this, [this](const QString& text) {
        rules_.setCreatorText(bytes(text));
        creatorHex_->setText(fromBytes(rules_.fields.creatorHex));
    });
    connect(creatorHex_, &QLineEdit::textEdited, this, [this](const QString& hex) {
        rules_.setCreatorHex(bytes(hex));
        creatorText_->setText(fromBytes(rules_.fields.creatorText));
    });
}

CCompilePilotDlg::~CCompilePilotDlg() {
    if (!writtenBack_) {
        writtenBack_ = true;
        rules_.writeBack();
    }
}

bool CCompilePilotDlg::run(QWidget* parent, VARNWorkspaceManager& workspace, Ui& ui) {
    CCompilePilotDlg dlg(workspace.project(), ui, parent);
    return dlg.exec() == QDialog::Accepted;
}

QLabel* CCompilePilotDlg::labelOf(QWidget* control) const {
    if (control == creatorText_) return creatorTextLabel_;
    if (control == creatorHex_) return creatorHexLabel_;
    if (control == desktopName_) return desktopNameLabel_;
    if (control == prcVersion_) return prcVersionLabel_;
    if (control == prcType_) return prcTypeLabel_;
    if (control == splash_) return splashLabel_;
    if (control == formWidth_ || control == formHeight_) return formSizeLabel_;
    return nullptr;
}

void CCompilePilotDlg::applyLayout() {
    const ApplicationSettingsLayout& l = rules_.layout;
    applyControl(l.creatorText, {creatorText_, creatorTextLabel_});
    applyControl(l.creatorHex, {creatorHex_, creatorHexLabel_});
    if (l.creatorHex.readOnly) showReadOnly(creatorHex_);
    applyControl(l.desktopName, {desktopName_, desktopNameLabel_});
    applyControl(l.changeDBCreatorID, {changeDB_});
    applyControl(l.prcVersion, {prcVersion_, prcVersionLabel_});
    applyControl(l.prcType, {prcType_, prcTypeLabel_});
    applyControl(l.nonBeamable, {nonBeamable_});
    applyControl(l.backup, {backup_});
    applyControl(l.splashScreen, {splash_, splashLabel_});
    applyControl(l.sipResize, {sip_});
    applyControl(l.formSize, {formWidth_, formHeight_, formSizeLabel_, byLabel_});
    // A group with nothing left to show goes as well.
    bool anyShown = false;
    for (const QWidget* w : std::initializer_list<const QWidget*>{desktopName_, prcVersion_, prcType_, splash_,
                                                                  nonBeamable_, backup_, sip_})
        anyShown = anyShown || !w->isHidden();
    appGroup_->setHidden(!anyShown);
}

void CCompilePilotDlg::showFields() {
    const ApplicationSettingsFields& f = rules_.fields;
    creatorText_->setText(fromBytes(f.creatorText));
    creatorHex_->setText(fromBytes(f.creatorHex));
    desktopName_->setText(q(f.desktopName));
    changeDB_->setChecked(f.changeDBCreatorID);
    prcVersion_->setText(q(f.prcVersion));
    prcType_->setCurrentIndex(f.prcTypeIndex == 1 ? 1 : 0);
    nonBeamable_->setChecked(f.nonBeamable);
    backup_->setChecked(f.backup);
    splash_->clear();
    for (const std::string& name : f.splashScreens) splash_->addItem(q(name));
    splash_->setEditText(q(f.splashScreen));
    sip_->setChecked(f.sipResize);
    formWidth_->setValue(f.formWidth);
    formHeight_->setValue(f.formHeight);
}

void CCompilePilotDlg::readFields() {
    ApplicationSettingsFields& f = rules_.fields;
    f.creatorText = bytes(creatorText_->text());
    f.creatorHex = bytes(creatorHex_->text());
    f.desktopName = desktopName_->text().toStdString();
    f.changeDBCreatorID = changeDB_->isChecked();
    f.prcVersion = prcVersion_->text().toStdString();
    f.prcTypeIndex = prcType_->currentIndex() == 1 ? 1 : 0;
    f.nonBeamable = nonBeamable_->isChecked();
    f.backup = backup_->isChecked();
    f.splashScreen = splash_->currentText().toStdString();
    f.sipResize = sip_->isChecked();
    f.formWidth = formWidth_->value();
    f.formHeight = formHeight_->value();
}

bool CCompilePilotDlg::formSizeValid(QSpinBox* box) {
    bool parsed = false;
    const int value = box->text().trimmed().toInt(&parsed);
    if (parsed && value >= ApplicationSettingsRules::kMinFormSize && value <= ApplicationSettingsRules::kMaxFormSize) {
        box->setValue(value);
        return true;
    }
    ui_.warning(rangeMessage(ApplicationSettingsRules::kMinFormSize, ApplicationSettingsRules::kMaxFormSize));
    box->setFocus();
    box->selectAll();
    return false;
}

void CCompilePilotDlg::accept() {
    if (!formSizeValid(formWidth_) || !formSizeValid(formHeight_)) return;
    readFields();
    const bool closes = rules_.ok(ui_);
    // The checks trimmed the texts: show what will be kept.
    creatorText_->setText(fromBytes(rules_.fields.creatorText));
    creatorHex_->setText(fromBytes(rules_.fields.creatorHex));
    desktopName_->setText(q(rules_.fields.desktopName));
    prcVersion_->setText(q(rules_.fields.prcVersion));
    if (closes) QDialog::accept();
}

void CCompilePilotDlg::reject() {
    // Cancel keeps what the dialog loaded: that is what goes back.
    rules_.fields = loaded_;
    QDialog::reject();
}

}  // namespace varn
