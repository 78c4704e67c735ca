#include "convert/CImportImage.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Ui.h"
#include "convert/BmpImport.h"
#include "project/ProjectImages.h"

namespace varn {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QPushButton* browseButton(QWidget* parent, const QString& name) {
    auto* b = new QPushButton(QStringLiteral("..."), parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setMaximumWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    return b;
}

// Where a chooser starts: the folder and name of the path already typed.
void startAt(FileDialog& d, const QString& path) {
    if (path.trimmed().isEmpty()) return;
    const QFileInfo fi(path.trimmed());
    d.initialFolder = fi.path().toStdString();
    d.fileName = fi.fileName().toStdString();
}

}  // namespace

CImportImage::CImportImage(ProjectModel* project, Ui& ui, QWidget* parent) : QDialog(parent), ui_(ui) {
    if (project) project_ = std::make_unique<ProjectImages>(*project);
    setObjectName(QStringLiteral("ImportImage"));
    setWindowTitle(QStringLiteral("Import Image"));

    importFile_ = new QLineEdit(this);
    importFile_->setObjectName(QStringLiteral("ImportFile"));
    importFile_->setMinimumWidth(300);
    importBrowse_ = browseButton(this, QStringLiteral("BrowseImportFile"));
    auto* importLabel = new QLabel(QStringLiteral("Import file"), this);
    importLabel->setBuddy(importFile_);

    imageFile_ = new QLineEdit(this);
    imageFile_->setObjectName(QStringLiteral("ImageFile"));
    imageBrowse_ = browseButton(this, QStringLiteral("BrowseImageFile"));
    auto* imageLabel = new QLabel(QStringLiteral("VARN image file"), this);
    imageLabel->setBuddy(imageFile_);

    auto* grid = new QGridLayout;
    grid->addWidget(importLabel, 0, 0);
    grid->addWidget(importFile_, 0, 1);
    grid->addWidget(importBrowse_, 0, 2);
    grid->addWidget(imageLabel, 1, 0);
    grid->addWidget(imageFile_, 1, 1);
    grid->addWidget(imageBrowse_, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(this);
    import_ = buttons->addButton(QStringLiteral("Import"), QDialogButtonBox::ActionRole);
    import_->setObjectName(QStringLiteral("Import"));
    import_->setDefault(true);
    exit_ = buttons->addButton(QStringLiteral("Exit"), QDialogButtonBox::RejectRole);
    exit_->setObjectName(QStringLiteral("Exit"));
    connect(import_, &QPushButton::clicked, this, &CImportImage::importImage);
    connect(buttons, &QDialogButtonBox::rejected, this, &CImportImage::reject);
    connect(importBrowse_, &QPushButton::clicked, this, &CImportImage::browseImportFile);
    connect(imageBrowse_, &QPushButton::clicked, this, &CImportImage::browseImageFile);
    connect(importFile_, &QLineEdit::textChanged, this, &CImportImage::updateImportButton);
    connect(imageFile_, &QLineEdit::textChanged, this, &CImportImage::updateImportButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    updateImportButton();
}

CImportImage::~CImportImage() = default;

bool CImportImage::run(QWidget* parent, ProjectModel* project, Ui& ui) {
    CImportImage dlg(project, ui, parent);
    dlg.exec();
    return dlg.imported();
}

void CImportImage::updateImportButton() {
    import_->setEnabled(!importFile_->text().isEmpty() && !imageFile_->text().isEmpty());
}

void CImportImage::browseImportFile() {
    FileDialog d;
    d.filter = kImportFilter;
    d.defaultExtension = "bmp";
    startAt(d, importFile_->text());
    std::optional<std::string> chosen = ui_.openFile(d);
    if (!chosen) return;
    importFile_->setText(q(*chosen));
    if (imageFile_->text().isEmpty()) imageFile_->setText(q(defaultImageFileFor(*chosen)));
}

void CImportImage::browseImageFile() {
    // The image file may be a new one: the chooser lets a name be typed, and
    // an existing one is appended to, not replaced, so there is nothing to confirm.
    FileDialog d;
    d.filter = kImageFilter;
    d.defaultExtension = "vbm";
    d.confirmOverwrite = false;
    startAt(d, imageFile_->text());
    if (std::optional<std::string> chosen = ui_.saveFile(d)) imageFile_->setText(q(*chosen));
}

bool CImportImage::importImage() {
    if (!import_->isEnabled()) return false;
    std::string written;
    if (!importBmpFile(importFile_->text().toStdString(), imageFile_->text().toStdString(), ui_, project_.get(),
                       &written))
        return false;
    // Show the name the image was written under (".vbm" added when it had none).
    if (!written.empty()) imageFile_->setText(q(written));
    imported_ = true;
    return true;
}

}  // namespace varn
