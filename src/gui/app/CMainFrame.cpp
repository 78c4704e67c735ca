#include "app/CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include "app/CSettingsDlg.h"
#include "app/CUserToolsDlg.h"
#include "app/DocumentJournal.h"
#include "app/DocumentManager.h"
#include "app/Ui.h"
#include "app/UserTools.h"
#include "app/VARNTipOfDay.h"
#include "app/WindowState.h"
#include "build/COutputControlBar.h"
#include "build/DeviceInstall.h"
#include "build/GuiBuildHost.h"
#include "build/HotSyncInstaller.h"
#include "build/ProjectBuilder.h"
#include "convert/CImportImage.h"
#include "convert/CVDI2PDBDlg.h"
#include "debug/CWatchControlBar.h"
#include "debug/DebugCommands.h"
#include "debug/DebugControl.h"
#include "editor/CFindInFiles.h"
#include "editor/CVarnIdeView.h"
#include "editor/SourceEditorCommands.h"
#include "form/CVARNfbPropertySheet.h"
#include "form/CVARNfbView.h"
#include "form/FormCommands.h"
#include "form/FormDialogCommands.h"
#include "image/ImageCommands.h"
#include "installer/CInstallSheet.h"
#include "menubar/MenuBarCommands.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"
#include "project/BuildConfiguration.h"
#include "project/CCompilePilotDlg.h"
#include "project/CProjectBar.h"
#include "project/CProjectSettingsDlg.h"
#include "project/ProjectCommands.h"
#include "project/VARNWorkspaceManager.h"

namespace varn {

namespace {

constexpr const char* kSettings = "Settings";

QString q(const std::string& s) { return QString::fromStdString(s); }
QString q(const char* s) { return QString::fromLatin1(s); }

// The menu title without its mnemonic.
QString plainTitle(const QString& title) {
    QString t = title;
    t.remove(QLatin1Char('&'));
    return t;
}

QFont fontOf(const WindowFont& w, bool fixedPitch) {
    QFont f(q(w.faceName));
    f.setPointSize(std::max(1, w.size));
    f.setWeight(static_cast<QFont::Weight>(std::clamp(w.weight, 100, 900)));
    f.setItalic(w.italic);
    if (fixedPitch) {
        f.setStyleHint(QFont::TypeWriter);
        f.setFixedPitch(true);
    }
    return f;
}

}  // namespace

// Follows the project tree: a project opened or closed, files added or removed.
class CMainFrame::TreeWatch : public ProjectTreeListener {
public:
    TreeWatch(CMainFrame& frame, ProjectTree& tree) : frame_(frame), tree_(tree) { tree_.addListener(this); }
    ~TreeWatch() override { tree_.removeListener(this); }
    void projectTreeChanged() override { frame_.projectChanged(); }

private:
    CMainFrame& frame_;
    ProjectTree& tree_;
};

CMainFrame::CMainFrame(VARNWorkspaceManager& workspace, Ui& ui, SettingsStore& settings, QWidget* parent)
    : QMainWindow(parent), workspace_(workspace), ui_(ui), settings_(settings) {
    setObjectName(QStringLiteral("MainFrame"));
    setWindowTitle(q(CVarnIdeApp::kAppName));
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);

    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("MDIClient"));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setTabsClosable(true);
    mdi_->setTabsMovable(true);
    setCentralWidget(mdi_);

    projectBar_ = new CProjectBar(workspace_.project().tree, this);
    addDockWidget(Qt::LeftDockWidgetArea, projectBar_);
    outputBar_ = new COutputControlBar(this);
    addDockWidget(Qt::BottomDockWidgetArea, outputBar_);
    outputBar_->setProjectFolderSource([this] { return workspace_.project().projectFolder(); });
    connect(outputBar_, &COutputControlBar::openAtLine, this,
            [this](const QString& path, int line) { openAtLine(path.toStdString(), line); });

    documents_ = std::make_unique<DocumentManager>(*mdi_, ui_);
    windowState_ =
        std::make_unique<WindowState>(*this, *mdi_, *documents_, workspace_.project(), settings_, projectBar_);
    workspace_.setWindows(windowState_.get());
    commands_ = std::make_unique<ProjectCommands>(workspace_, ui_, settings_, *documents_);
    buildHost_ = std::make_unique<GuiBuildHost>(*outputBar_, *commands_, *mdi_);
    buildHost_->setBeforePump([this] { updateCommands(); });
    buildHost_->setBuildStarted([this] {
        for (CVarnIdeView* v : documents_->views()) v->setErrorLine(-1);
    });
    buildHost_->setApplicationSettingsDialog([this] { return CCompilePilotDlg::run(this, workspace_, ui_); });
    builder_ = std::make_unique<ProjectBuilder>(workspace_, ui_, settings_, *buildHost_, workspace_.installPath());
    debug_ = new DebugCommands(*this, *documents_, workspace_, *builder_, *outputBar_, settings_, ui_);
    connect(debug_, &DebugCommands::stateChanged, this, &CMainFrame::updateCommands);
    programWatched_ = [this] { return debug_->programWatched(); };
    setHotSyncInstaller(std::make_unique<FolderHotSyncInstaller>());

    editor_ = new SourceEditorCommands(*this, *documents_, workspace_, settings_, ui_);
    formDialogs_ = new FormDialogCommands(this, workspace_, ui_);
    images_ = new ImageCommands(*this, *mdi_, *documents_, workspace_, settings_, ui_);
    documents_->setViewSetup([this](CVarnIdeView& v) {
        editor_->setupView(v);
        debug_->setupView(v);
        if (journal_) journal_->watch(v);
    });
    documents_->setDebugging([this] { return debug_->control().debugMode(); });
    documents_->setProjectFolder([this] { return workspace_.project().projectFolder(); });
    connect(editor_, &SourceEditorCommands::commandsWanted, this, &CMainFrame::updateCommands);
    auto firstSave = [this](const std::string& path) {
        if (settings_.getInt(kSettings, "AddNewFile", 1) != 0 && workspace_.project().workspaceOpen)
            commands_->addFile(path);
    };
    documents_->setFirstSave(firstSave);
    form_ = new FormCommands(*this, *mdi_, *documents_, workspace_, *commands_, ui_);
    form_->setFirstSave(firstSave);
    documents_->addEditor(form_);
    // A double-click on the dominant control (or Enter) opens its properties.
    form_->setPropertiesHandler([this](CVARNfbView& view) {
        CVARNfbPropertySheet::edit(this, view.designer(), PropertySheetContext::forMainFrame(*this, ui_, settings_));
    });
    createMenusAndBars();
    editor_->setDebugActions(debug_->contextActions());
    wireProjectBar();
    (new MenuBarCommands(*this, ui_))->install();
    connect(mdi_, &QMdiArea::subWindowActivated, this, &CMainFrame::updateCommands);
    setWorkbookMode(settings_.getInt(kSettings, "WorkbookMode", 0) != 0);

    busyIndicator_ = new QProgressBar(this);
    busyIndicator_->setRange(0, 0);  // no known end: the moving busy bar
    busyIndicator_->setMaximumWidth(140);
    busyIndicator_->setTextVisible(false);
    busyIndicator_->setVisible(false);
    busyLabel_ = new QLabel(this);
    statusBar()->addPermanentWidget(busyLabel_);
    statusBar()->addPermanentWidget(busyIndicator_);
    statusBar()->showMessage(tr("Ready"));

    treeWatch_ = std::make_unique<TreeWatch>(*this, workspace_.project().tree);
    // A project opened afresh (even the same one again) brings its own
    // configuration and watch lists.
    workspace_.setOpenedHandler([this] {
        debug_->projectChanged(true);
        projectChanged();
    });
    projectChanged();
    resize(1024, 720);

    // The menus refresh when they open; toolbar buttons follow the state here.
    auto* refresh = new QTimer(this);
    connect(refresh, &QTimer::timeout, this, &CMainFrame::updateCommands);
    refresh->start(250);
}

CMainFrame::~CMainFrame() {
    // The document area outlives the commands; its last activations go unheard.
    disconnect(mdi_, nullptr, this, nullptr);
    // The bars listen to the project tree; stop before the tree outlives them.
    treeWatch_.reset();
    workspace_.setOpenedHandler({});
    workspace_.setWindows(nullptr);
}

DocumentWindows& CMainFrame::documents() { return *documents_; }

void CMainFrame::setApplication(CVarnIdeApp* app) {
    app_ = app;
    images_->setApplication(app);
}

void CMainFrame::setHotSyncInstaller(std::unique_ptr<HotSyncInstaller> installer) {
    install_.reset();
    hotSync_ = std::move(installer);
    install_ = std::make_unique<DeviceInstall>(*builder_, *hotSync_, ui_, settings_, *buildHost_);
}

QAction* CMainFrame::addCommand(QMenu* menu, const QString& text, int id, const QKeySequence& key,
                                void (CMainFrame::*slot)()) {
    QAction* a = menu->addAction(text);
    if (!key.isEmpty()) a->setShortcut(key);
    a->setData(id);
    connect(a, &QAction::triggered, this, slot);
    commandActions_[id] = a;
    return a;
}

void CMainFrame::createMenusAndBars() {
    QStyle* st = style();
    QMenuBar* bar = menuBar();

    // File
    QMenu* file = bar->addMenu(tr("&File"));
    QMenu* newMenu = file->addMenu(st->standardIcon(QStyle::SP_FileIcon), tr("&New"));
    for (DocumentTemplate type :
         {DocumentTemplate::Source, DocumentTemplate::CFile, DocumentTemplate::Header, DocumentTemplate::Package}) {
        const std::string name = documentTemplateInfo(type).filterName;
        QAction* a = newMenu->addAction(q(name.substr(0, name.find(" ("))));
        connect(a, &QAction::triggered, this, [this, type] {
            documents_->newDocument(type);
            updateCommands();
        });
    }
    connect(newMenu->addAction(QStringLiteral("VARN Form")), &QAction::triggered, this, [this] {
        form_->newForm();
        updateCommands();
    });
    QAction* open = file->addAction(st->standardIcon(QStyle::SP_DialogOpenButton), tr("&Open..."));
    open->setObjectName(QStringLiteral("FileOpen"));
    open->setShortcut(QKeySequence::Open);
    connect(open, &QAction::triggered, this, [this] { openDocument(); });
    saveAction_ = file->addAction(st->standardIcon(QStyle::SP_DialogSaveButton), tr("&Save"));
    saveAction_->setObjectName(QStringLiteral("FileSave"));
    saveAction_->setShortcut(QKeySequence::Save);
    connect(saveAction_, &QAction::triggered, this, [this] {
        documents_->saveActive();
        updateCommands();
    });
    saveAsAction_ = file->addAction(tr("Save &As..."));
    saveAsAction_->setObjectName(QStringLiteral("FileSaveAs"));
    connect(saveAsAction_, &QAction::triggered, this, [this] {
        documents_->saveActiveAs();
        updateCommands();
    });
    QAction* saveAll = file->addAction(st->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("Save All"));
    connect(saveAll, &QAction::triggered, this, [this] {
        commands_->saveAll();
        updateCommands();
    });
    saveAll->setObjectName(QStringLiteral("FileSaveAll"));
    file->addSeparator();
    QAction* exit = file->addAction(tr("E&xit"));
    exit->setMenuRole(QAction::QuitRole);
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu* edit = bar->addMenu(tr("&Edit"));
    QAction* findInFiles = edit->addAction(QStringLiteral("F&ind in Files..."));
    findInFiles->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    findInFiles->setStatusTip(QStringLiteral("Search for a string in multiple files"));
    connect(findInFiles, &QAction::triggered, this, [this] {
        CFindInFiles::run(this, settings_, *outputBar_, workspace_.project().tree, ui_, documents_.get());
    });
    QAction* findAll = edit->addAction(QStringLiteral("Fi&nd All Functions"));
    findAll->setObjectName(QStringLiteral("FindAllFunctions"));
    connect(findAll, &QAction::triggered, this,
            [this] { CFindInFiles::findAllFunctions(*outputBar_, workspace_.project().tree, ui_, documents_.get()); });
    QMenu* view = bar->addMenu(tr("&View"));
    editor_->setFindInFilesAction(findInFiles);
    // Find All Functions stands on the File menu as well, before Exit.
    file->insertAction(exit, findAll);
    file->insertSeparator(exit);

    // Project
    QMenu* project = bar->addMenu(tr("&Project"));
    QAction* newProject =
        project->addAction(st->standardIcon(QStyle::SP_FileDialogNewFolder), QStringLiteral("New Project"));
    connect(newProject, &QAction::triggered, this, [this] {
        commands_->newProject();
        updateCommands();
    });
    QAction* openProject =
        project->addAction(st->standardIcon(QStyle::SP_DialogOpenButton), QStringLiteral("Open Project"));
    connect(openProject, &QAction::triggered, this, [this] {
        commands_->openProject();
        updateCommands();
    });
    QAction* closeProject = project->addAction(QStringLiteral("Close Project"));
    connect(closeProject, &QAction::triggered, this, [this] {
        commands_->closeProject();
        updateCommands();
    });
    project->addSeparator();
    QAction* addFiles = project->addAction(QStringLiteral("Add Files..."));
    connect(addFiles, &QAction::triggered, this, [this] {
        commands_->addFiles(ProjectCommands::AddFilter::All);
        updateCommands();
    });
    QAction* updateIncludes = project->addAction(QStringLiteral("Update Includes"));
    connect(updateIncludes, &QAction::triggered, this, [this] { commands_->updateIncludes(); });
    QAction* duplicates = project->addAction(QStringLiteral("Check For Duplicates"));
    connect(duplicates, &QAction::triggered, this, [this] { commands_->checkForDuplicates(); });
    project->addSeparator();
    v2Action_ = project->addAction(q(ProjectCommands::kV2ToggleText));
    v2Action_->setCheckable(true);
    v2Action_->setStatusTip(q(ProjectCommands::kV2ToggleTip));
    v2Action_->setToolTip(q(ProjectCommands::kV2ToggleTip));
    connect(v2Action_, &QAction::triggered, this, [this] {
        commands_->toggleV2();
        updateCommands();
    });
    optimizedAction_ = project->addAction(q(ProjectCommands::kOptimizedToggleText));
    optimizedAction_->setCheckable(true);
    connect(optimizedAction_, &QAction::triggered, this, [this] {
        commands_->toggleOptimized();
        updateCommands();
    });
    QAction* projectSettings = project->addAction(QStringLiteral("Project Settings..."));
    connect(projectSettings, &QAction::triggered, this, [this] { runProjectSettings(); });
    QAction* projectVariables = formDialogs_->projectVariablesAction();
    project->addAction(projectVariables);
    QAction* appSettings = project->addAction(QStringLiteral("Application Settings"));
    connect(appSettings, &QAction::triggered, this, [this] { runApplicationSettings(); });
    QAction* installSettings = project->addAction(QStringLiteral("Application &Install Settings..."));
    connect(installSettings, &QAction::triggered, this, [this] { CInstallSheet::run(this, workspace_, ui_); });
    QAction* buildInstaller = project->addAction(QStringLiteral("Build Application &Installer..."));
    connect(buildInstaller, &QAction::triggered, this,
            [this] { CInstallSheet::run(this, workspace_, ui_, CInstallSheet::StartPage::Build); });
    projectFileActions_ = {newProject, openProject,     closeProject,    addFiles,        updateIncludes,
                           duplicates, projectSettings, appSettings,     installSettings, buildInstaller,
                           saveAll,    v2Action_,       projectVariables};

    // Build
    QMenu* build = bar->addMenu(tr("&Build"));
    QAction* compile = addCommand(build, QStringLiteral("&Compile"), ID_BUILD_COMPILE, QKeySequence(Qt::Key_F7),
                                  &CMainFrame::onCompile);
    compile->setIcon(QIcon::fromTheme(QStringLiteral("run-build"), st->standardIcon(QStyle::SP_BrowserReload)));
    QAction* cbuild = addCommand(build, QStringLiteral("C &Build"), ID_BUILD_CBUILD, {}, &CMainFrame::onCBuild);
    cbuild->setCheckable(true);
    build->addSeparator();
    addCommand(build, QStringLiteral("&Make PRC..."), ID_BUILD_MAKEPRC, QKeySequence(Qt::CTRL | Qt::Key_F7),
               &CMainFrame::onMakePrc);
    addCommand(build, QStringLiteral("&PRC Install..."), ID_BUILD_PRCINSTALL,
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F7), &CMainFrame::onPrcInstall);
    addCommand(build, QStringLiteral("V&SM Install"), ID_BUILD_VSMINSTALL, {}, &CMainFrame::onVsmInstall);
    addCommand(build, QStringLiteral("P&ocketPC Install"), ID_BUILD_POCKETPCINSTALL, {},
               &CMainFrame::onPocketPCInstall);

    QMenu* tools = bar->addMenu(tr("&Tools"));
    QAction* convertVdi = tools->addAction(QStringLiteral("Con&vert VDI to PDB..."));
    connect(convertVdi, &QAction::triggered, this, [this] {
        const ProjectModel& p = workspace_.project();
        CVDI2PDBDlg::run(this, p.projectPath.empty() ? nullptr : &p.settings, ui_);
    });
    QAction* importImage = tools->addAction(QStringLiteral("I&mport Image..."));
    importImage->setStatusTip(QStringLiteral("Convert a BMP file to a VARN image file"));
    connect(importImage, &QAction::triggered, this, [this] {
        ProjectModel& p = workspace_.project();
        if (CImportImage::run(this, p.projectPath.empty() ? nullptr : &p, ui_)) projectChanged();
    });

    tools->addSeparator();
    QAction* ideSettings = tools->addAction(QStringLiteral("IDE Settings..."));
    ideSettings->setObjectName(QStringLiteral("IdeSettings"));
    connect(ideSettings, &QAction::triggered, this, &CMainFrame::showIdeSettings);
    QAction* customize = tools->addAction(QStringLiteral("&Customize..."));
    connect(customize, &QAction::triggered, this, &CMainFrame::customizeTools);
    toolsSeparator_ = tools->addSeparator();
    connect(tools, &QMenu::aboutToShow, this, &CMainFrame::fillToolsMenu);

    // Window
    QMenu* window = bar->addMenu(tr("&Window"));
    connect(window->addAction(tr("&Cascade")), &QAction::triggered, mdi_, &QMdiArea::cascadeSubWindows);
    connect(window->addAction(tr("&Tile")), &QAction::triggered, mdi_, &QMdiArea::tileSubWindows);
    connect(window->addAction(tr("Close &All")), &QAction::triggered, mdi_, &QMdiArea::closeAllSubWindows);

    QMenu* help = bar->addMenu(tr("&Help"));
    editor_->createActions(*edit, *view, *help);
    QAction* tip = help->addAction(QStringLiteral("Tip of the Day..."));
    tip->setObjectName(QStringLiteral("TipOfTheDay"));
    connect(tip, &QAction::triggered, this, &CMainFrame::showTipOfDay);
    help->addSeparator();
    QAction* about = help->addAction(tr("&About VARNide43..."));
    about->setMenuRole(QAction::AboutRole);
    connect(about, &QAction::triggered, this, [this] {
        QMessageBox::about(this, q(CVarnIdeApp::kAppName),
                           tr("VARNide43 %1\nThe VARN development environment.").arg(QStringLiteral(VARN_VERSION)));
    });

    // Toolbars
    fileBar_ = addToolBar(QStringLiteral("File"));
    fileBar_->setObjectName(QStringLiteral("FileToolBar"));
    fileBar_->addAction(newProject);
    fileBar_->addAction(openProject);
    fileBar_->addAction(saveAll);

    executeBar_ = addToolBar(QStringLiteral("Execute"));
    executeBar_->setObjectName(QStringLiteral("ExecuteToolBar"));
    configBox_ = new QComboBox(executeBar_);
    configBox_->setObjectName(QStringLiteral("BuildConfiguration"));
    configBox_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    configBox_->setToolTip(tr("Build configuration"));
    for (const char* name : kBuildConfigurations) configBox_->addItem(q(name));
    connect(configBox_, &QComboBox::activated, this,
            [this](int index) { setActiveConfiguration(configBox_->itemText(index).toStdString()); });
    executeBar_->addWidget(configBox_);
    executeBar_->addAction(compile);
    // The Execute and Debug menus stand after Build.
    debug_->createActions(*bar, menu(QStringLiteral("Tools"))->menuAction(), *executeBar_);

    // View: the workbook, the toolbars and bars.
    workbookAction_ = view->addAction(QStringLiteral("Workbook Mode"));
    workbookAction_->setCheckable(true);
    connect(workbookAction_, &QAction::toggled, this, &CMainFrame::setWorkbookMode);
    view->addSeparator();
    view->addAction(fileBar_->toggleViewAction());
    view->addAction(executeBar_->toggleViewAction());
    view->addAction(debug_->debuggerToolBar()->toggleViewAction());
    view->addAction(debug_->watchBar()->toggleViewAction());
    view->addAction(projectBar_->toggleViewAction());
    view->addAction(outputBar_->toggleViewAction());
    images_->createActions(*bar, build->menuAction(), *view);
    QAction* statusBarAction = view->addAction(tr("&Status Bar"));
    statusBarAction->setCheckable(true);
    statusBarAction->setChecked(true);
    connect(statusBarAction, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
    form_->createActions(*bar, menu(QStringLiteral("Build"))->menuAction(), *view);

    for (QMenu* m : bar->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        connect(m, &QMenu::aboutToShow, this, &CMainFrame::updateCommands);
}

void CMainFrame::wireProjectBar() {
    using C = CProjectBar::Command;
    using F = ProjectCommands::AddFilter;
    auto add = [this](F filter) {
        return [this, filter] {
            commands_->addFiles(filter);
            updateCommands();
        };
    };
    projectBar_->setHasApplication([this] { return commands_->hasApplication(); });
    projectBar_->setHandler(C::AddFormFile, add(F::Form));
    projectBar_->setHandler(C::AddBitmapFile, add(F::Bitmap));
    projectBar_->setHandler(C::AddIconFile, add(F::Icon));
    projectBar_->setHandler(C::AddPackageFile, add(F::Package));
    projectBar_->setHandler(C::AddCFile, add(F::CFile));
    projectBar_->setHandler(C::AddHFile, add(F::Header));
    projectBar_->setHandler(C::RemoveProjectItem, [this] {
        commands_->removeItem(projectBar_->selectedItem());
        updateCommands();
    });
    projectBar_->setHandler(C::UpdateIncludes, [this] { commands_->updateIncludes(); });
    projectBar_->setHandler(C::CheckForDuplicates, [this] { commands_->checkForDuplicates(); });
    projectBar_->setHandler(C::ProjectSettings, [this] { runProjectSettings(); });
    projectBar_->setHandler(C::PrcSettings, [this] { runApplicationSettings(); });
    projectBar_->setHandler(C::InstallSettings, [this] { CInstallSheet::run(this, workspace_, ui_); });
    projectBar_->setHandler(C::ProjectVariables, [this] { formDialogs_->projectVariables(); });
    connect(projectBar_, &CProjectBar::openFileRequested, this,
            [this](const QString& path) { documents_->open(path.toStdString(), false); });
}

void CMainFrame::runProjectSettings() {
    CProjectSettingsDlg::run(this, workspace_, ui_);
    updateCommands();
}

void CMainFrame::runApplicationSettings() {
    CCompilePilotDlg::run(this, workspace_, ui_);
    updateCommands();
}

QMenu* CMainFrame::menu(const QString& title) const {
    for (QAction* a : menuBar()->actions())
        if (a->menu() && plainTitle(a->text()) == title) return a->menu();
    return nullptr;
}

QAction* CMainFrame::action(int id) const {
    auto it = commandActions_.find(id);
    return it == commandActions_.end() ? nullptr : it->second;
}

std::array<WindowFont, 4>& CMainFrame::fonts() { return app_ ? app_->fonts : fonts_; }

void CMainFrame::showIdeSettings() {
    std::array<WindowFont, 4>& fonts = this->fonts();
    CSettingsDlg dlg(settings_, fonts, app_ ? app_->formSizeX : 320, app_ ? app_->formSizeY : 320, ui_, this);
    // Fonts and colours take effect (and reach the disk) as soon as their dialogs close with OK.
    connect(&dlg, &CSettingsDlg::fontChanged, this, [this] {
        setWindowFonts(this->fonts());
        saveSettings();
    });
    connect(&dlg, &CSettingsDlg::editorSettingsChanged, this, [this] {
        editor_->applySettingsToAll();
        saveSettings();
    });
    if (dlg.exec() != QDialog::Accepted) return;
    // The form size and install folders become the process values too.
    if (app_) IdeSettings(dlg.values()).apply(*app_);
    saveSettings();
}

void CMainFrame::saveSettings() {
    const Status saved = app_ ? app_->saveSettings() : settings_.save();
    if (!saved) statusBar()->showMessage(q(saved.error().message), 10000);
}

void CMainFrame::customizeTools() {
    const std::string file = UserTools::filePath(workspace_.installPath());
    auto tools = UserTools::load(file);
    CUserToolsDlg dlg(tools ? *tools : std::vector<UserTool>{}, this);
    if (dlg.exec() != QDialog::Accepted) return;
    if (Status saved = UserTools::save(file, dlg.tools()); !saved) ui_.error(saved.error().message);
}

void CMainFrame::fillToolsMenu() {
    QMenu* tools = menu(QStringLiteral("Tools"));
    for (QAction* a : userToolActions_) {
        tools->removeAction(a);
        a->deleteLater();
    }
    userToolActions_.clear();
    auto loaded = UserTools::load(UserTools::filePath(workspace_.installPath()));
    if (!loaded) return;
    const std::vector<UserTool> list = *loaded;
    for (std::size_t i = 0; i < list.size() && i < static_cast<std::size_t>(UserTools::kMaxTools); ++i) {
        QAction* a = tools->addAction(q(list[i].menuText));
        a->setData(UserTools::commandId(static_cast<int>(i)));
        const UserTool tool = list[i];
        connect(a, &QAction::triggered, this, [this, tool] {
            reapEndedTools(startedTools_);
            runTool(tool, toolMacros(workspace_.project()), ui_, &startedTools_);
        });
        userToolActions_.push_back(a);
    }
}

void CMainFrame::setWindowFonts(const std::array<WindowFont, 4>& fonts) {
    editor_->setEditorFont(fontOf(fonts[0], true));
    outputBar_->setPaneFont(fontOf(fonts[1], true));
    projectBar_->setTreeFont(fontOf(fonts[2], false));
    debug_->watchBar()->setPaneFont(fontOf(fonts[3], false));
}

void CMainFrame::setWorkbookMode(bool on) {
    mdi_->setViewMode(on ? QMdiArea::TabbedView : QMdiArea::SubWindowView);
    if (workbookAction_ && workbookAction_->isChecked() != on) workbookAction_->setChecked(on);
}

bool CMainFrame::workbookMode() const { return mdi_->viewMode() == QMdiArea::TabbedView; }

bool CMainFrame::busy() const { return commandRunning_ || builder_->busy(); }

// The Build menu follows core's enabling rules.
bool CMainFrame::commandEnabled(int id) const {
    // The GUI's own busy state covers a command from its start, before core's flag is set.
    if (busy()) return false;
    const bool watched = programWatched_ && programWatched_();
    switch (id) {
        case ID_BUILD_COMPILE:
            return builder_->canCompile(watched);
        case ID_BUILD_CBUILD:
            return commands_->canToggleOptimized(false);
        case ID_BUILD_MAKEPRC:
        case ID_BUILD_PRCINSTALL:
            return builder_->canMakePrc();
        case ID_BUILD_VSMINSTALL:
            return builder_->canVsmInstall();
        case ID_BUILD_POCKETPCINSTALL:
            return builder_->canPocketPCInstall();
        default:
            return false;
    }
}

void CMainFrame::updateCommands() {
    for (auto& [id, a] : commandActions_) a->setEnabled(commandEnabled(id));
    const bool b = busy();
    if (QAction* cbuild = action(ID_BUILD_CBUILD)) cbuild->setChecked(commands_->optimizedChecked());
    optimizedAction_->setEnabled(commands_->canToggleOptimized(b));
    optimizedAction_->setChecked(commands_->optimizedChecked());
    v2Action_->setChecked(commands_->v2Checked());
    for (QAction* a : projectFileActions_) a->setEnabled(!b);
    v2Action_->setEnabled(!b && commands_->canToggleV2());
    configBox_->setEnabled(!b);
    const bool savable = documents_->activeSavable();
    saveAction_->setEnabled(savable);
    saveAsAction_->setEnabled(savable);
    projectBar_->setCommandsBlocked(b);
    editor_->updateCommands();
    debug_->updateCommands(b);
    images_->updateCommands();
    form_->updateCommands();
    // Menus that later parts fill stay out of the menu bar while empty.
    for (const QString& title : {QStringLiteral("Edit"), QStringLiteral("Tools")})
        if (QMenu* m = menu(title)) m->menuAction()->setVisible(!m->isEmpty());
}

void CMainFrame::setActiveConfiguration(const std::string& name) {
    workspace_.project().setActiveConfiguration(name);
    const int at = configBox_->findText(q(workspace_.project().activeConfiguration), Qt::MatchFixedString);
    configBox_->setCurrentIndex(at);
    updateCommands();
}

void CMainFrame::projectChanged() {
    const ProjectModel& p = workspace_.project();
    configBox_->setCurrentIndex(configBox_->findText(q(p.activeConfiguration), Qt::MatchFixedString));
    const std::string label = p.tree.projectLabel();
    setWindowTitle(p.projectPath.empty() ? q(CVarnIdeApp::kAppName)
                                         : q(CVarnIdeApp::kAppName) + QStringLiteral(" - ") + q(label));
    debug_->projectChanged();
    updateCommands();
}

bool CMainFrame::openDocument(const std::string& path) {
    std::vector<std::string> chosen;
    if (path.empty()) {
        FileDialog d;
        d.title = "Open";
        d.filter = documentFilter();
        d.initialFolder = workspace_.project().projectFolder();
        d.multiple = true;
        chosen = ui_.openFiles(d);
    } else {
        chosen.push_back(path);
    }
    bool opened = false;
    for (const auto& p : chosen) opened = documents_->open(p, false) || opened;
    updateCommands();
    return opened;
}

bool CMainFrame::openFromShell(const std::string& path) {
    if (path.empty()) return false;
    bool opened = false;
    if (paths::equalNoCase(paths::extension(path), "vpj"))
        opened = commands_->openProject(path);
    else
        opened = documents_->open(path, false);
    updateCommands();
    return opened;
}

bool CMainFrame::openAtLine(const std::string& path, int line) { return documents_->openAtLine(path, line, true); }

void CMainFrame::setBusyShown(bool on, const QString& what) {
    busyIndicator_->setVisible(on);
    busyLabel_->setText(on ? what : QString());
    if (on) {
        statusBar()->clearMessage();
        statusBar()->repaint();
    } else {
        statusBar()->showMessage(tr("Ready"));
    }
}

void CMainFrame::runBuildCommand(int id, const std::function<void()>& body) {
    if (!commandEnabled(id)) return;
    QString what = action(id)->text();
    what.remove(QLatin1Char('&'));
    what.remove(QStringLiteral("..."));
    commandRunning_ = true;
    setBusyShown(true, what);
    updateCommands();
    emit busyChanged(true);
    body();
    commandRunning_ = false;
    setBusyShown(false, {});
    updateCommands();
    emit busyChanged(false);
    if (closePending_) {
        closePending_ = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void CMainFrame::onCompile() {
    runBuildCommand(ID_BUILD_COMPILE, [this] { builder_->compileCommand(); });
}

void CMainFrame::onCBuild() {
    if (!commandEnabled(ID_BUILD_CBUILD)) return;
    builder_->toggleOptimizedBuild();
    updateCommands();
}

void CMainFrame::onMakePrc() {
    runBuildCommand(ID_BUILD_MAKEPRC, [this] { builder_->makePrc(false); });
}

void CMainFrame::onPrcInstall() {
    runBuildCommand(ID_BUILD_PRCINSTALL, [this] { install_->prcInstall(); });
}

void CMainFrame::onVsmInstall() {
    runBuildCommand(ID_BUILD_VSMINSTALL, [this] { install_->vsmInstall(); });
}

void CMainFrame::onPocketPCInstall() {
    runBuildCommand(ID_BUILD_POCKETPCINSTALL, [this] { install_->pocketPCInstall(); });
}

void CMainFrame::closeEvent(QCloseEvent* e) {
    if (busy()) {
        // The tool is waited for; the window closes when it has ended.
        closePending_ = true;
        statusBar()->showMessage(tr("Closing when the running tool has ended..."));
        e->ignore();
        return;
    }
    QMdiSubWindow* active = mdi_->activeSubWindow();
    if (!commands_->mainWindowClosing(active && active->isMaximized())) {
        e->ignore();
        return;
    }
    settings_.setInt(kSettings, "WorkbookMode", workbookMode() ? 1 : 0);
    windowState_->saveDockLayout();
    debug_->stopPrograms();
    e->accept();
}

DocumentJournal* CMainFrame::documentJournal() const { return journal_; }

void CMainFrame::setDocumentJournal(DocumentJournal* journal) {
    journal_ = journal;
    if (journal_) journal_->followMainFrame(*this, ui_);
}

void CMainFrame::showTipOfDay() {
    if (tipOfDay_) {
        settings_.setInt(kSettings, "CurrentTip", tipOfDay_->currentTip());
        settings_.setInt(kSettings, "ShowAtStartup", tipOfDay_->showAtStartup() ? 1 : 0);
        delete tipOfDay_;
        tipOfDay_ = nullptr;
    }
    tipOfDay_ = new VARNTipOfDay(workspace_.installPath(), settings_.getInt(kSettings, "CurrentTip", 0),
                                 settings_.getInt(kSettings, "ShowAtStartup", 1) != 0, this);
    tipOfDay_->show();
    tipOfDay_->raise();
}

bool CMainFrame::tipState(int& currentTip, bool& showAtStartup) const {
    if (!tipOfDay_) return false;
    currentTip = tipOfDay_->currentTip();
    showAtStartup = tipOfDay_->showAtStartup();
    return true;
}

}  // namespace varn
