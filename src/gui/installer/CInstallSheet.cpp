#include "installer/CInstallSheet.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "app/ReadOnlyField.h"
#include "app/Ui.h"
#include "project/ProjectModel.h"
#include "project/VARNWorkspaceManager.h"

namespace varn {

using namespace install;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }
std::string s(const QString& t) { return t.toStdString(); }

constexpr const char* kAllFilesFilter = "All Files (*.*)|*.*||";

// A caption, a line edit and a browse button on one row of `grid`.
CInstallFileField addFileField(QWidget* page, QGridLayout* grid, int row, const QString& caption,
                               const QString& objectName, const char* filter, const std::string& folder, Ui& ui) {
    CInstallFileField f;
    f.label = new QLabel(caption, page);
    f.edit = new QLineEdit(page);
    f.edit->setObjectName(objectName);
    f.label->setBuddy(f.edit);
    f.browse = new QPushButton(QStringLiteral("..."), page);
    f.browse->setObjectName(objectName + QStringLiteral("Browse"));
    grid->addWidget(f.label, row, 0);
    grid->addWidget(f.edit, row, 1);
    grid->addWidget(f.browse, row, 2);
    QLineEdit* edit = f.edit;
    const std::string filterText = filter;
    QObject::connect(f.browse, &QPushButton::clicked, page, [edit, filterText, folder, &ui] {
        FileDialog d;
        d.filter = filterText;
        d.initialFolder = folder;
        if (std::optional<std::string> chosen = ui.openFile(d)) edit->setText(q(*chosen));
    });
    return f;
}

QLineEdit* addEdit(QWidget* page, QGridLayout* grid, int row, const QString& caption, const QString& objectName) {
    auto* label = new QLabel(caption, page);
    auto* edit = new QLineEdit(page);
    edit->setObjectName(objectName);
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1, 1, 2);
    return edit;
}

bool isGroupItem(const QTreeWidgetItem* item) { return item && !item->parent(); }

}  // namespace

// --- Application Information ------------------------------------------------

CInstallAppinfoPage::CInstallAppinfoPage(TargetPlatform platform, const std::string& projectFolder, Ui& ui,
                                         QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("InstallAppinfoPage"));
    auto* grid = new QGridLayout(this);
    name_ = addEdit(this, grid, 0, QStringLiteral("&Application Name:"), QStringLiteral("ApplicationName"));
    company_ = addEdit(this, grid, 1, QStringLiteral("&Company Name:"), QStringLiteral("CompanyName"));
    version_ = addEdit(this, grid, 2, QStringLiteral("&Version:"), QStringLiteral("Version"));
    icon_ = addFileField(this, grid, 3, QStringLiteral("&Icon:"), QStringLiteral("ApplicationIcon"),
                         "Icon Files (*.ico)|*.ico||", projectFolder, ui);
    const bool pocketPC = platform == TargetPlatform::PocketPC;
    for (QWidget* w : {static_cast<QWidget*>(icon_.label), static_cast<QWidget*>(icon_.edit),
                       static_cast<QWidget*>(icon_.browse)})
        w->setHidden(!pocketPC);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);
}

void CInstallAppinfoPage::fill(const InstallSettings& st) {
    name_->setText(q(st.applicationName));
    company_->setText(q(st.companyName));
    version_->setText(q(st.version));
    icon_.edit->setText(q(st.applicationIcon));
}

void CInstallAppinfoPage::read(InstallSettings& st) const {
    st.applicationName = s(name_->text());
    st.companyName = s(company_->text());
    st.version = s(version_->text());
    st.applicationIcon = s(icon_.edit->text());
}

// --- Setup Dialogs ----------------------------------------------------------

CInstallDialogsPage::CInstallDialogsPage(const std::string& projectFolder, Ui& ui, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("InstallDialogsPage"));
    auto* grid = new QGridLayout(this);
    progress_ = new QCheckBox(QStringLiteral("Show &Progress Indicator"), this);
    progress_->setObjectName(QStringLiteral("ShowProgress"));
    grid->addWidget(progress_, 0, 0, 1, 3);
    license_ = addFileField(this, grid, 1, QStringLiteral("&Software License File:"),
                            QStringLiteral("SoftwareLicenseFile"), kAllFilesFilter, projectFolder, ui);
    prolog_ = addFileField(this, grid, 2, QStringLiteral("Setup &Prolog File:"), QStringLiteral("SetupPrologFile"),
                           kAllFilesFilter, projectFolder, ui);
    epilog_ = addFileField(this, grid, 3, QStringLiteral("Setup &Epilog File:"), QStringLiteral("SetupEpilogFile"),
                           kAllFilesFilter, projectFolder, ui);
    bitmap_ = addFileField(this, grid, 4, QStringLiteral("&Welcome Bitmap File:"), QStringLiteral("WelcomeBitmapFile"),
                           "BMP Files (*.bmp)|*.bmp||", projectFolder, ui);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(5, 1);
}

void CInstallDialogsPage::fill(const InstallSettings& st) {
    progress_->setChecked(st.showProgress);
    license_.edit->setText(q(st.softwareLicenseFile));
    prolog_.edit->setText(q(st.setupPrologFile));
    epilog_.edit->setText(q(st.setupEpilogFile));
    bitmap_.edit->setText(q(st.welcomeBitmapFile));
}

void CInstallDialogsPage::read(InstallSettings& st) const {
    st.showProgress = progress_->isChecked();
    st.softwareLicenseFile = s(license_.edit->text());
    st.setupPrologFile = s(prolog_.edit->text());
    st.setupEpilogFile = s(epilog_.edit->text());
    st.welcomeBitmapFile = s(bitmap_.edit->text());
}

// --- The group tree ---------------------------------------------------------

CInstallFileGroupTreeCtrl::CInstallFileGroupTreeCtrl(TargetPlatform platform, QWidget* parent)
    : QTreeWidget(parent), views_(groupsFor(platform)) {
    setObjectName(QStringLiteral("FileGroupTree"));
    setHeaderHidden(true);
    setColumnCount(1);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setDropIndicatorShown(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    for (std::size_t i = 0; i < views_.size(); ++i) {
        auto* item = new QTreeWidgetItem(this, QStringList(q(views_[i].caption)));
        item->setData(0, kGroupRole, static_cast<int>(i));
    }
}

QTreeWidgetItem* CInstallFileGroupTreeCtrl::groupItem(FileGroup g) const {
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = topLevelItem(i);
        if (const GroupView* v = viewOf(item); v && v->group == g) return item;
    }
    return nullptr;
}

QTreeWidgetItem* CInstallFileGroupTreeCtrl::groupOf(QTreeWidgetItem* item) const {
    if (!item) return nullptr;
    return item->parent() ? item->parent() : item;
}

const GroupView* CInstallFileGroupTreeCtrl::viewOf(QTreeWidgetItem* item) const {
    if (!isGroupItem(item)) return nullptr;
    const int i = item->data(0, kGroupRole).toInt();
    if (i < 0 || static_cast<std::size_t>(i) >= views_.size()) return nullptr;
    return &views_[static_cast<std::size_t>(i)];
}

void CInstallFileGroupTreeCtrl::fill(const InstallSettings& st) {
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* group = topLevelItem(i);
        qDeleteAll(group->takeChildren());
        for (const std::string& file : st.files(viewOf(group)->group))
            new QTreeWidgetItem(group, QStringList(q(file)));
    }
    expandAll();
}

void CInstallFileGroupTreeCtrl::read(InstallSettings& st) const {
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* group = topLevelItem(i);
        std::vector<std::string>& files = st.files(viewOf(group)->group);
        files.clear();
        for (int c = 0; c < group->childCount(); ++c) files.push_back(s(group->child(c)->text(0)));
    }
}

int CInstallFileGroupTreeCtrl::addFiles(QTreeWidgetItem* target, const QStringList& paths) {
    QTreeWidgetItem* group = groupOf(target);
    const GroupView* view = viewOf(group);
    if (!view) return 0;
    int added = 0;
    for (const QString& path : paths) {
        const std::string native = s(QDir::toNativeSeparators(path));
        if (!accepts(*view, native)) continue;
        new QTreeWidgetItem(group, QStringList(q(native)));
        ++added;
    }
    if (added) group->setExpanded(true);
    return added;
}

bool CInstallFileGroupTreeCtrl::deleteCurrent() {
    QTreeWidgetItem* item = currentItem();
    if (!item || isGroupItem(item)) return false;
    delete item;
    return true;
}

void CInstallFileGroupTreeCtrl::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
    else e->ignore();
}

void CInstallFileGroupTreeCtrl::dragMoveEvent(QDragMoveEvent* e) {
    if (e->mimeData()->hasUrls() && itemAt(e->position().toPoint())) e->acceptProposedAction();
    else e->ignore();
}

void CInstallFileGroupTreeCtrl::dropEvent(QDropEvent* e) {
    QTreeWidgetItem* target = itemAt(e->position().toPoint());
    if (!target || !e->mimeData()->hasUrls()) {
        e->ignore();
        return;
    }
    QStringList paths;
    for (const QUrl& url : e->mimeData()->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    addFiles(target, paths);
    e->acceptProposedAction();
}

void CInstallFileGroupTreeCtrl::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Delete && e->modifiers() == Qt::NoModifier) {
        deleteCurrent();
        e->accept();
        return;
    }
    QTreeWidget::keyPressEvent(e);
}

// --- File Groups ------------------------------------------------------------

CInstallFilesPage::CInstallFilesPage(TargetPlatform platform, const std::string& projectFolder, Ui& ui,
                                     QWidget* parent)
    : QWidget(parent), projectFolder_(projectFolder), ui_(ui),
      opener_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setObjectName(QStringLiteral("InstallFilesPage"));
    tree_ = new CInstallFileGroupTreeCtrl(platform, this);
    auto* label = new QLabel(QStringLiteral("&Files to transfer:"), this);
    label->setBuddy(tree_);
    locate_ = new QPushButton(QStringLiteral("&Locate files and then drag-n-drop"), this);
    locate_->setObjectName(QStringLiteral("LocateFiles"));
    add_ = new QPushButton(QStringLiteral("Add Files..."), this);
    add_->setObjectName(QStringLiteral("AddFiles"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(locate_);
    buttons->addWidget(add_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(tree_, 1);
    layout->addLayout(buttons);

    connect(locate_, &QPushButton::clicked, this,
            [this] { opener_(QUrl::fromLocalFile(q(projectFolder_))); });
    connect(add_, &QPushButton::clicked, this, &CInstallFilesPage::addThroughDialog);
    connect(tree_, &QTreeWidget::currentItemChanged, this, &CInstallFilesPage::updateAddButton);
    updateAddButton();
}

std::string CInstallFilesPage::filterOf(const GroupView& view) {
    if (view.acceptsAny) return kAllFilesFilter;
    std::string patterns;
    for (const std::string& ext : view.extensions) {
        if (!patterns.empty()) patterns += ';';
        patterns += "*." + ext;
    }
    return view.caption + "|" + patterns + "||";
}

void CInstallFilesPage::updateAddButton() {
    const GroupView* view = tree_->viewOf(tree_->groupOf(tree_->currentItem()));
    add_->setEnabled(view && (view->acceptsAny || !view->extensions.empty()));
}

void CInstallFilesPage::addThroughDialog() {
    QTreeWidgetItem* group = tree_->groupOf(tree_->currentItem());
    const GroupView* view = tree_->viewOf(group);
    if (!view) return;
    FileDialog d;
    d.title = "Add Files";
    d.filter = filterOf(*view);
    d.initialFolder = projectFolder_;
    d.multiple = true;
    QStringList paths;
    for (const std::string& path : ui_.openFiles(d)) paths << q(path);
    tree_->addFiles(group, paths);
}

// --- Synchronization --------------------------------------------------------

CInstallSyncPage::CInstallSyncPage(TargetPlatform platform, const ProjectSettings& project, QWidget* parent)
    : QWidget(parent), platform_(platform), project_(project) {
    setObjectName(QStringLiteral("InstallSyncPage"));
    auto* grid = new QGridLayout(this);
    creator_ = addEdit(this, grid, 0, QStringLiteral("Application &Creator ID:"), QStringLiteral("ApplicationID"));
    showReadOnly(creator_);
    name_ = addEdit(this, grid, 1, QStringLiteral("&Name shown during synchronization:"),
                    QStringLiteral("ApplicationSyncName"));
    directory_ = addEdit(this, grid, 2, QStringLiteral("&Application synchronization directory:"),
                         QStringLiteral("ApplicationSyncDirectory"));
    directoryLabel_ = qobject_cast<QLabel*>(grid->itemAtPosition(2, 0)->widget());
    conduit_ = new QCheckBox(QStringLiteral("&Install the conduit"), this);
    conduit_->setObjectName(QStringLiteral("InstallConduit"));
    grid->addWidget(conduit_, 3, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);

    if (syncFieldsFixed(project_, platform_)) {
        for (QLineEdit* e : {name_, directory_}) {
            showReadOnly(e);
            e->setFocusPolicy(Qt::NoFocus);
        }
    }
    if (platform_ == TargetPlatform::PocketPC) {
        directory_->hide();
        directoryLabel_->hide();
    }
}

void CInstallSyncPage::fill(const InstallSettings& loaded) {
    InstallSettings st = loaded;
    applySyncPageRules(st, project_, platform_);
    creator_->setText(q(creatorDisplay(st.applicationID)));
    name_->setText(q(st.applicationSyncName));
    directory_->setText(q(st.applicationSyncDirectory));
    conduit_->setChecked(st.installConduit);
}

void CInstallSyncPage::read(InstallSettings& st) const {
    st.applicationSyncName = s(name_->text());
    st.applicationSyncDirectory = s(directory_->text());
    st.installConduit = conduit_->isChecked();
    applySyncPageRules(st, project_, platform_);
}

// --- Build ------------------------------------------------------------------

CInstallBuildPage::CInstallBuildPage(TargetPlatform platform, Ui& ui, QWidget* parent)
    : QWidget(parent), platform_(platform), ui_(ui) {
    setObjectName(QStringLiteral("InstallBuildPage"));
    cab_ = new QCheckBox(QStringLiteral("&Create CAB files"), this);
    cab_->setObjectName(QStringLiteral("BuildCabFiles"));
    cab_->setHidden(platform != TargetPlatform::PocketPC);
    build_ = new QPushButton(QStringLiteral("&Build Install"), this);
    build_->setObjectName(QStringLiteral("BuildInstall"));
    test_ = new QPushButton(QStringLiteral("&Test Install"), this);
    test_->setObjectName(QStringLiteral("TestInstall"));
    auto* label = new QLabel(QStringLiteral("Build results:"), this);
    results_ = new QPlainTextEdit(this);
    results_->setObjectName(QStringLiteral("BuildResults"));
    results_->setReadOnly(true);
    results_->setLineWrapMode(QPlainTextEdit::NoWrap);
    label->setBuddy(results_);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(build_);
    buttons->addWidget(test_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cab_);
    layout->addLayout(buttons);
    layout->addWidget(label);
    layout->addWidget(results_, 1);

    connect(build_, &QPushButton::clicked, this, &CInstallBuildPage::buildRequested);
    connect(test_, &QPushButton::clicked, this, &CInstallBuildPage::testRequested);
    // Only a click warns; filling the page does not.
    connect(cab_, &QCheckBox::clicked, this, [this](bool checked) {
        updateTestButton();
        if (!checked)
            ui_.warning("The CAB files must be build in order to succesufully run the install setup.exe program.");
    });
    updateTestButton();
}

void CInstallBuildPage::fill(const InstallSettings& st) {
    cab_->setChecked(st.buildCabFiles);
    updateTestButton();
}

void CInstallBuildPage::read(InstallSettings& st) const { st.buildCabFiles = cab_->isChecked(); }

void CInstallBuildPage::updateTestButton() {
    test_->setEnabled(platform_ == TargetPlatform::PalmOS ||
                      (platform_ == TargetPlatform::PocketPC && cab_->isChecked()));
}

void CInstallBuildPage::setResults(const std::string& results) {
    QString text = q(results);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.remove(QLatin1Char('\r'));
    results_->setPlainText(text);
    results_->moveCursor(QTextCursor::End);
}

void CInstallBuildPage::activated() { results_->clear(); }

// --- The sheet --------------------------------------------------------------

CInstallSheet::CInstallSheet(ProjectModel& model, const std::string& ideDirectory, Ui& ui, StartPage start,
                             bool buildNow, QWidget* parent)
    : QDialog(parent), model_(model), ui_(ui), platform_(installPlatformOf(model.activeConfiguration)),
      path_(settingsFilePath(model.projectPath, platform_)), loaded_(InstallSettings::load(path_)),
      build_(std::make_unique<InstallerBuild>(InstallerBuild::forProject(model, ideDirectory, ui))),
      buildNow_(buildNow) {
    setObjectName(QStringLiteral("InstallSheet"));
    setWindowTitle(q(sheetCaption(path_)));
    build_->setPump([] { QCoreApplication::processEvents(); });

    const std::string folder = model.projectFolder();
    tabs_ = new QTabWidget(this);
    appinfo_ = new CInstallAppinfoPage(platform_, folder, ui, tabs_);
    dialogs_ = new CInstallDialogsPage(folder, ui, tabs_);
    files_ = new CInstallFilesPage(platform_, folder, ui, tabs_);
    if (hasSyncPage(platform_)) sync_ = new CInstallSyncPage(platform_, model.settings, tabs_);
    buildPage_ = new CInstallBuildPage(platform_, ui, tabs_);
    tabs_->addTab(appinfo_, QStringLiteral("Application Information"));
    tabs_->addTab(dialogs_, QStringLiteral("Setup Dialogs"));
    tabs_->addTab(files_, QStringLiteral("File Groups"));
    if (sync_) tabs_->addTab(sync_, QStringLiteral("Synchronization"));
    tabs_->addTab(buildPage_, QStringLiteral("Build"));

    appinfo_->fill(loaded_);
    dialogs_->fill(loaded_);
    files_->fill(loaded_);
    if (sync_) sync_->fill(loaded_);
    buildPage_->fill(loaded_);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, &CInstallSheet::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &CInstallSheet::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addWidget(buttons_);
    resize(660, 440);

    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (tabs_->widget(index) == buildPage_) buildPage_->activated();
    });
    connect(buildPage_, &CInstallBuildPage::buildRequested, this, [this] { buildInstall(); });
    connect(buildPage_, &CInstallBuildPage::testRequested, this, [this] { testInstall(); });

    if (start == StartPage::Build || buildNow) showPage(buildPage_);
}

CInstallSheet::~CInstallSheet() = default;

bool CInstallSheet::run(QWidget* parent, VARNWorkspaceManager& workspace, Ui& ui, StartPage start, bool buildNow,
                        const std::string& logCopyPath) {
    CInstallSheet sheet(workspace.project(), workspace.installPath(), ui, start, buildNow, parent);
    sheet.setLogCopyPath(logCopyPath);
    return sheet.exec() == QDialog::Accepted;
}

void CInstallSheet::showPage(QWidget* page) {
    if (tabs_->currentWidget() == page) {
        if (page == buildPage_) buildPage_->activated();
        return;
    }
    tabs_->setCurrentWidget(page);
}

InstallSettings CInstallSheet::currentSettings() const {
    InstallSettings st = loaded_;
    appinfo_->read(st);
    dialogs_->read(st);
    files_->read(st);
    if (sync_) sync_->read(st);
    buildPage_->read(st);
    return st;
}

void CInstallSheet::setBuilding(bool on) {
    building_ = on;
    buildPage_->buildButton()->setEnabled(!on);
    for (QDialogButtonBox::StandardButton b : {QDialogButtonBox::Ok, QDialogButtonBox::Cancel})
        buttons_->button(b)->setEnabled(!on);
}

bool CInstallSheet::buildInstall() {
    if (building_) return false;
    buildPage_->setResults({});
    bool ok = false;
    setBuilding(true);
    {
        WaitCursor wait(ui_);
        ok = build_->build(currentSettings());
    }
    setBuilding(false);
    buildPage_->setResults(build_->results());
    return ok;
}

bool CInstallSheet::testInstall() { return build_->testInstall(); }

void CInstallSheet::accept() {
    if (building_) return;
    switch (saveAfterOk(currentSettings(), path_, platform_, ui_)) {
    case SaveOutcome::Saved: QDialog::accept(); break;
    case SaveOutcome::ReadOnly: QDialog::reject(); break;
    case SaveOutcome::Failed: break;  // the user may fix the folder and press OK again
    }
}

void CInstallSheet::reject() {
    if (building_) return;
    QDialog::reject();
}

void CInstallSheet::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    setWindowTitle(q(sheetCaption(path_)));
    if (buildNow_ && !builtNow_) {
        builtNow_ = true;
        QTimer::singleShot(0, this, &CInstallSheet::buildNowAndClose);
    }
}

void CInstallSheet::buildNowAndClose() {
    buildInstall();
    if (!logCopyPath_.empty()) appendToLogCopy(logCopyPath_, build_->results(), ui_);
    accept();
}

}  // namespace varn
