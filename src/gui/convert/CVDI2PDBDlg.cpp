#include "convert/CVDI2PDBDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Ui.h"
#include "convert/ConvertCommands.h"

namespace varn {

namespace {

// The creator ID is four 8-bit characters: one byte per character.
std::string bytes(const QString& s) { return s.toLatin1().toStdString(); }
QString fromBytes(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

constexpr int kCreatorLength = 4;

}  // namespace

CVDI2PDBDlg::CVDI2PDBDlg(const ProjectSettings* project, Ui& ui, QWidget* parent) : QDialog(parent), ui_(ui) {
    setObjectName(QStringLiteral("VDI2PDBDlg"));
    setWindowTitle(QStringLiteral("Convert VDI to PDB"));

    input_ = new QLineEdit(this);
    input_->setObjectName(QStringLiteral("VarnDatabase"));
    input_->setMinimumWidth(280);
    browse_ = new QPushButton(QStringLiteral("..."), this);
    browse_->setObjectName(QStringLiteral("BrowseDatabase"));
    browse_->setAutoDefault(false);
    browse_->setMaximumWidth(browse_->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    auto* inputLabel = new QLabel(QStringLiteral("VARN database"), this);
    inputLabel->setBuddy(input_);

    creator_ = new QLineEdit(this);
    creator_->setObjectName(QStringLiteral("CreatorID"));
    creator_->setMaxLength(kCreatorLength);
    creator_->setMaximumWidth(creator_->fontMetrics().horizontalAdvance(QStringLiteral("WWWW")) + 16);
    auto* creatorLabel = new QLabel(QStringLiteral("Creator ID"), this);
    creatorLabel->setBuddy(creator_);

    nonBeamable_ = new QCheckBox(QStringLiteral("Non-beamable database"), this);
    nonBeamable_->setObjectName(QStringLiteral("NonBeamable"));
    backup_ = new QCheckBox(QStringLiteral("Set backup bit"), this);
    backup_->setObjectName(QStringLiteral("BackupBit"));

    auto* grid = new QGridLayout;
    grid->addWidget(inputLabel, 0, 0);
    auto* inputRow = new QHBoxLayout;
    inputRow->addWidget(input_, 1);
    inputRow->addWidget(browse_);
    grid->addLayout(inputRow, 0, 1);
    grid->addWidget(creatorLabel, 1, 0);
    auto* creatorRow = new QHBoxLayout;
    creatorRow->addWidget(creator_);
    creatorRow->addStretch(1);
    grid->addLayout(creatorRow, 1, 1);
    grid->addWidget(nonBeamable_, 2, 1);
    grid->addWidget(backup_, 3, 1);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(this);
    convert_ = buttons->addButton(QStringLiteral("&Convert"), QDialogButtonBox::ActionRole);
    convert_->setObjectName(QStringLiteral("Convert"));
    convert_->setDefault(true);
    exit_ = buttons->addButton(QStringLiteral("&Exit"), QDialogButtonBox::RejectRole);
    exit_->setObjectName(QStringLiteral("Exit"));
    connect(convert_, &QPushButton::clicked, this, &CVDI2PDBDlg::convert);
    connect(buttons, &QDialogButtonBox::rejected, this, &CVDI2PDBDlg::reject);
    connect(browse_, &QPushButton::clicked, this, &CVDI2PDBDlg::browseInput);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    creator_->setText(fromBytes(vdiStartCreator(project)));
}

void CVDI2PDBDlg::run(QWidget* parent, const ProjectSettings* project, Ui& ui) {
    CVDI2PDBDlg dlg(project, ui, parent);
    dlg.exec();
}

void CVDI2PDBDlg::browseInput() {
    FileDialog d;
    d.filter = kFilter;
    const QString current = input_->text().trimmed();
    if (!current.isEmpty()) {
        const QFileInfo fi(current);
        d.initialFolder = fi.path().toStdString();
        d.fileName = fi.fileName().toStdString();
    }
    if (std::optional<std::string> chosen = ui_.openFile(d)) input_->setText(QString::fromStdString(*chosen));
}

bool CVDI2PDBDlg::convert() {
    const std::string creator = bytes(creator_->text());
    if (checkVdiCreator(creator, ui_) != CreatorCheck::Accepted) {
        creator_->setFocus();
        creator_->selectAll();
        return false;
    }
    return runVdiConversion(input_->text().toStdString(), creator, nonBeamable_->isChecked(), backup_->isChecked(),
                            ui_);
}

}  // namespace varn
