#include "form/FormCommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>

#include "app/DocumentManager.h"
#include "app/Ui.h"
#include "editor/FindInFiles.h"
#include "editor/SourceCommands.h"
#include "form/CVARNfbFrm.h"
#include "form/CVARNfbView.h"
#include "form/FormIcons.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "project/ProjectCommands.h"
#include "project/ProjectImages.h"
#include "project/VARNWorkspaceManager.h"

namespace varn {

namespace {

using C = DesignerCommand;

QString q(const std::string& s) { return QString::fromStdString(s); }

constexpr DesignerCommand kTools[] = {C::AddButton,   C::AddCheckbox, C::AddLabel, C::AddText,
                                      C::AddSelector, C::AddFileSel,  C::AddGrid,  C::AddDropdown};

bool checkable(DesignerCommand c) {
    for (DesignerCommand t : kTools)
        if (t == c) return true;
    return c == C::Deselect || c == C::ToggleFrame || c == C::ToggleGrid || c == C::SnapToGrid;
}

}  // namespace

// --- clipboard ---

QString SystemFormClipboard::mimeType() {
    return QStringLiteral("application/x-") + QString::fromLatin1(kClipboardFormatName);
}

bool SystemFormClipboard::holdsBlock() const {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasFormat(mimeType());
}

std::optional<std::string> SystemFormClipboard::readBlock(unsigned& errorCode) {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(mimeType())) {
        errorCode = kInvalidClipboardData;
        return std::nullopt;
    }
    return data->data(mimeType()).toStdString();
}

void SystemFormClipboard::writeBlock(std::string bytes) {
    auto* data = new QMimeData;
    data->setData(mimeType(), QByteArray::fromStdString(bytes));
    QApplication::clipboard()->setMimeData(data);
}

// --- commands ---

FormCommands::FormCommands(QMainWindow& window, QMdiArea& area, DocumentManager& documents,
                           VARNWorkspaceManager& workspace, ProjectCommands& commands, Ui& ui)
    : QObject(&window),
      window_(window),
      area_(area),
      documents_(documents),
      workspace_(workspace),
      commands_(commands),
      ui_(ui),
      images_(std::make_unique<ProjectImages>(workspace.project())) {
    connect(&area_, &QMdiArea::subWindowActivated, this, [this] {
        fillSelector();
        updateCommands();
    });
}

FormCommands::~FormCommands() = default;

QAction* FormCommands::addCommand(QMenu& menu, DesignerCommand command) {
    if (QAction* a = action(command)) {
        menu.addAction(a);
        return a;
    }
    const QString full = QString::fromLatin1(FormDesigner::commandText(command));
    const qsizetype tab = full.indexOf(QLatin1Char('\t'));
    auto* a = new QAction(formCommandIcon(command), tab < 0 ? full : full.left(tab), this);
    if (tab >= 0) {
        a->setShortcut(QKeySequence::fromString(full.mid(tab + 1)));
        // The keys belong to the designer view; a source view keeps its own.
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    QString tip = a->text();
    tip.remove(QLatin1Char('&'));
    a->setToolTip(tip);
    a->setStatusTip(tip);
    a->setCheckable(checkable(command));
    a->setObjectName(QStringLiteral("Form") + QString(tip).remove(QLatin1Char(' ')));
    connect(a, &QAction::triggered, this, [this, command] { run(command); });
    actions_[command] = a;
    menu.addAction(a);
    return a;
}

void FormCommands::createActions(QMenuBar& bar, QAction* before, QMenu& view) {
    menu_ = new QMenu(QStringLiteral("F&orm"), &bar);
    bar.insertMenu(before, menu_);
    QMenu& m = *menu_;
    addCommand(m, C::Undo);
    m.addSeparator();
    for (C c : {C::Copy, C::Paste, C::Delete, C::SelectAll}) addCommand(m, c);
    m.addSeparator();
    auto sub = [&](const QString& title, std::initializer_list<C> list) {
        QMenu* s = m.addMenu(title);
        for (C c : list) addCommand(*s, c);
    };
    sub(QStringLiteral("&Align"), {C::AlignLeft, C::AlignRight, C::AlignTop, C::AlignBottom});
    sub(QStringLiteral("&Center"), {C::CentreVertical, C::CentreHorizontal});
    sub(QStringLiteral("S&pace Evenly"), {C::SpaceAcross, C::SpaceDown});
    sub(QStringLiteral("&Make Same Size"), {C::SameWidth, C::SameHeight, C::SameBoth});
    addCommand(m, C::SizeToContent);
    m.addSeparator();
    for (C c : {C::ToggleGrid, C::SnapToGrid, C::GridSpacing}) addCommand(m, c);
    m.addSeparator();
    for (C c : {C::ToggleFrame, C::Lock, C::Unlock}) addCommand(m, c);
    m.addSeparator();
    addCommand(m, C::GoToInvoker);
    m.addSeparator();
    QMenu* tools = m.addMenu(QStringLiteral("Co&ntrols"));
    addCommand(*tools, C::Deselect);
    for (C c : kTools) addCommand(*tools, c);

    window_.addToolBarBreak();
    controlsBar_ = window_.addToolBar(QStringLiteral("Form Controls"));
    controlsBar_->setObjectName(QStringLiteral("FormControlsToolBar"));
    controlsBar_->addAction(action(C::Deselect));
    for (C c : kTools) controlsBar_->addAction(action(c));
    controlsBar_->addSeparator();
    controlsBar_->addAction(action(C::ToggleFrame));

    layoutBar_ = window_.addToolBar(QStringLiteral("Form Layout"));
    layoutBar_->setObjectName(QStringLiteral("FormLayoutToolBar"));
    selector_ = new QComboBox(layoutBar_);
    selector_->setObjectName(QStringLiteral("ObjectSelector"));
    selector_->setToolTip(tr("Object selector"));
    selector_->setMinimumContentsLength(16);
    selector_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(selector_, &QComboBox::activated, this, &FormCommands::selectorChosen);
    layoutBar_->addWidget(selector_);
    layoutBar_->addSeparator();
    for (C c : {C::AlignLeft, C::AlignRight, C::AlignTop, C::AlignBottom, C::CentreVertical, C::CentreHorizontal,
                C::SpaceAcross, C::SpaceDown, C::SameWidth, C::SameHeight, C::SameBoth})
        layoutBar_->addAction(action(c));
    layoutBar_->addSeparator();
    for (C c : {C::ToggleGrid, C::SnapToGrid, C::GridSpacing}) layoutBar_->addAction(action(c));

    view.addSeparator();
    QMenu* zoomMenu = view.addMenu(QStringLiteral("Form &Zoom"));
    auto zoom = [&](const QString& text, const QKeySequence& key, int step) {
        QAction* a = zoomMenu->addAction(text);
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(a, &QAction::triggered, this, [this, step] { zoomBy(step); });
        zoomActions_.push_back(a);
    };
    zoom(QStringLiteral("Zoom &In"), QKeySequence(Qt::CTRL | Qt::Key_Plus), 1);
    zoom(QStringLiteral("Zoom &Out"), QKeySequence(Qt::CTRL | Qt::Key_Minus), -1);
    zoom(QStringLiteral("&Actual Size"), QKeySequence(Qt::CTRL | Qt::Key_0), 0);
    view.addAction(controlsBar_->toggleViewAction());
    view.addAction(layoutBar_->toggleViewAction());

    status_ = new QLabel(&window_);
    status_->setObjectName(QStringLiteral("FormStatus"));
    window_.statusBar()->addPermanentWidget(status_);
    connect(menu_, &QMenu::aboutToShow, this, &FormCommands::updateCommands);
    updateCommands();
}

QAction* FormCommands::action(DesignerCommand command) const {
    auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

std::vector<CVARNfbFrm*> FormCommands::frames() const {
    std::vector<CVARNfbFrm*> out;
    for (QMdiSubWindow* w : area_.subWindowList(QMdiArea::CreationOrder))
        if (auto* f = qobject_cast<CVARNfbFrm*>(w); f && !f->isHidden()) out.push_back(f);
    return out;
}

CVARNfbFrm* FormCommands::frameOf(const CVARNfbView& view) const {
    for (CVARNfbFrm* f : frames())
        if (&f->view() == &view) return f;
    return nullptr;
}

CVARNfbView* FormCommands::activeView() const {
    QMdiSubWindow* w = area_.activeSubWindow();
    if (!w) w = area_.currentSubWindow();
    auto* f = qobject_cast<CVARNfbFrm*>(w);
    return f && !f->isHidden() ? &f->view() : nullptr;
}

CVARNfbView* FormCommands::view(const std::string& path) const {
    auto* f = qobject_cast<CVARNfbFrm*>(windowOf(path));
    return f ? &f->view() : nullptr;
}

bool FormCommands::handles(const std::string& path) const {
    return documentTemplateOfFile(path) == DocumentTemplate::Form;
}

QMdiSubWindow* FormCommands::windowOf(const std::string& path) const {
    for (CVARNfbFrm* f : frames())
        if (paths::equalNoCase(f->path(), path)) return f;
    return nullptr;
}

std::vector<std::string> FormCommands::openPaths() const {
    std::vector<std::string> out;
    for (CVARNfbFrm* f : frames()) out.push_back(f->path());
    return out;
}

bool FormCommands::isModified(const std::string& path) const {
    CVARNfbView* v = view(path);
    return v && v->designer().modified();
}

CVARNfbDoc* FormCommands::openForm(const std::string& path) {
    CVARNfbView* v = view(path);
    return v ? &v->doc() : nullptr;
}

QMdiSubWindow* FormCommands::open(const std::string& path, bool /*isNew*/) {
    if (QMdiSubWindow* w = windowOf(path)) {
        area_.setActiveSubWindow(w);
        if (w->isMinimized()) w->showNormal();
        return w;
    }
    const std::string real = fsys::resolveCase(path);
    auto* v = new CVARNfbView(std::make_unique<CVARNfbDoc>(FormEnvironment::fromProject(workspace_.project())), ui_);
    v->doc().setNameInUse(commands_.duplicates().nameInUseHook());
    if (!v->doc().load(real, ui_)) {
        delete v;
        ui_.error("Unable to open the file " + path + ".");
        return nullptr;
    }
    return addFrame(v, real);
}

CVARNfbView* FormCommands::newForm() {
    const std::string folder = workspace_.project().projectFolder();
    const std::string path = paths::join(folder.empty() ? fsys::currentDirectory() : folder,
                                         "Untitled" + std::to_string(++untitledCount_) + ".vff");
    auto* v = new CVARNfbView(std::make_unique<CVARNfbDoc>(FormEnvironment::fromProject(workspace_.project())), ui_);
    v->doc().setNameInUse(commands_.duplicates().nameInUseHook());
    v->doc().makeNewEmpty();
    untitled_.push_back(path);
    addFrame(v, path);
    return v;
}

CVARNfbFrm* FormCommands::addFrame(CVARNfbView* v, const std::string& path) {
    FormDesigner& d = v->designer();
    d.setClipboard(&clipboard_);
    d.grid = DesignerGrid::fromProject(workspace_.project().settings);
    v->setImageProject(images_.get());
    d.setInvokerSearch([this](const std::string& name) -> std::optional<FindLocation> {
        FindInFiles finder(ui_, &documents_);
        auto found = finder.findInvoker(FindInFiles::projectFiles(workspace_.project().tree), name, false);
        if (found) documents_.openAtLine(found->path, found->line - 1, false);
        return found;
    });
    // A new, empty form gets its frame when its view is first shown.
    if (v->doc().newDocument && !v->doc().frame()) v->doc().addFrame();
    v->doc().newDocument = false;
    // The designer's keys work where the view has the focus.
    for (auto& [command, a] : actions_)
        if (!a->shortcut().isEmpty()) v->addAction(a);
    for (QAction* a : zoomActions_) v->addAction(a);

    auto* f = new CVARNfbFrm(v, path);
    connect(v, &CVARNfbView::changed, this, [this, v] { viewChanged(*v); });
    connect(v, &CVARNfbView::listChanged, this, [this, v] {
        if (activeView() == v) fillSelector();
    });
    connect(v, &CVARNfbView::gridSettingsChanged, this, [this, v] { gridChanged(*v); });
    connect(v, &CVARNfbView::propertiesWanted, this, [this, v] {
        if (properties_) properties_(*v);
        v->repaintPreviews();
        viewChanged(*v);
    });
    area_.addSubWindow(f);
    documents_.watchWindow(f);
    f->setWindowIcon(formCommandIcon(C::ToggleFrame));
    if (area_.viewMode() == QMdiArea::SubWindowView && area_.width() > 200)
        f->resize(area_.width() * 3 / 4, area_.height() * 3 / 4);
    f->show();
    v->refresh();
    area_.setActiveSubWindow(f);
    v->surface()->setFocus();
    fillSelector();
    updateCommands();
    if (viewOpened_) viewOpened_(*v, *f);
    return f;
}

bool FormCommands::isUntitled(const std::string& path) const {
    return std::any_of(untitled_.begin(), untitled_.end(),
                       [&](const std::string& u) { return paths::equalNoCase(u, path); });
}

CVARNfbView* FormCommands::openRecovered(const std::string& path, const std::string& bytes) {
    if (QMdiSubWindow* w = windowOf(path)) {
        if (isModified(path)) return nullptr;  // never over unsaved work
        w->close();
    }
    auto* v = new CVARNfbView(std::make_unique<CVARNfbDoc>(FormEnvironment::fromProject(workspace_.project())), ui_);
    v->doc().setNameInUse(commands_.duplicates().nameInUseHook());
    v->doc().loadBytes(bytes, ui_);
    std::string target = path;
    if (target.empty()) {
        const std::string folder = workspace_.project().projectFolder();
        target = paths::join(folder.empty() ? fsys::currentDirectory() : folder,
                             "Untitled" + std::to_string(++untitledCount_) + ".vff");
        untitled_.push_back(target);
    }
    CVARNfbFrm* f = addFrame(v, fsys::resolveCase(target));
    v->designer().setModified(true);
    f->updateTitle();
    return v;
}

bool FormCommands::save(const std::string& path) { return saveAs(path, {}, false); }

// An untitled form, or Save As, asks for the name; the window follows the new name.
bool FormCommands::saveAs(const std::string& path, const std::string& requested, bool ask) {
    CVARNfbView* v = view(path);
    CVARNfbFrm* f = v ? frameOf(*v) : nullptr;
    if (!f) return false;
    const bool untitled = isUntitled(f->path());
    std::string target = requested.empty() ? f->path() : paths::absolute(requested);
    if (requested.empty() && (untitled || ask)) {
        FileDialog d;
        d.title = "Save As";
        d.filter = documentFilter(DocumentTemplate::Form);
        d.initialFolder = paths::folderOf(target);
        d.defaultExtension = documentTemplateInfo(DocumentTemplate::Form).extension;
        d.fileName = paths::fileName(target);
        auto chosen = ui_.saveFile(d);
        if (!chosen) return false;
        target = paths::absolute(*chosen);
    }
    if (fsys::exists(target) && fsys::isReadOnly(target)) {
        ui_.error(SourceTexts::kReadOnlySave);
        f->updateTitle();
        return false;
    }
    if (Status saved = v->doc().save(target); !saved) {
        ui_.error("Unable to save the file " + target + ".");
        return false;
    }
    v->designer().setModified(false);
    const bool renamed = !paths::equalNoCase(target, f->path());
    if (untitled)
        untitled_.erase(std::remove_if(untitled_.begin(), untitled_.end(),
                                       [&](const std::string& u) { return paths::equalNoCase(u, f->path()); }),
                        untitled_.end());
    if (renamed) f->setPath(fsys::resolveCase(target));
    if (untitled && firstSave_) firstSave_(f->path());
    f->updateTitle();
    return true;
}

bool FormCommands::run(DesignerCommand command) {
    CVARNfbView* v = activeView();
    if (!v) return false;
    bool done = false;
    if (command == C::GridSpacing) {
        askSpacing();
        done = true;
    } else {
        done = v->designer().run(command);
    }
    v->refresh();
    viewChanged(*v);
    if (command != C::GoToInvoker) v->surface()->setFocus();
    return done;
}

void FormCommands::askSpacing() {
    CVARNfbView* v = activeView();
    if (!v) return;
    const int current = v->designer().grid.spacing;
    std::optional<int> value;
    if (askSpacing_) {
        value = askSpacing_(current);
    } else {
        bool ok = false;
        const int chosen = QInputDialog::getInt(&window_, QStringLiteral("Grid Spacing"), QStringLiteral("Spacing"),
                                                current, 0, DesignerGrid::kMaxSpacing, 1, &ok);
        if (ok) value = chosen;
    }
    if (value) v->designer().setGridSpacing(*value);
}

void FormCommands::gridChanged(CVARNfbView& source) {
    const DesignerGrid grid = source.designer().grid;
    ProjectModel& project = workspace_.project();
    grid.storeIn(project.settings);
    project.modified = true;
    // The grid is the project's: every open form follows.
    for (CVARNfbFrm* f : frames()) {
        f->view().designer().grid = grid;
        f->view().refresh();
    }
    updateCommands();
}

void FormCommands::zoomBy(int step) {
    CVARNfbView* v = activeView();
    if (!v) return;
    if (step == 0)
        v->setZoom(1.0);
    else
        v->stepZoom(step);
    viewChanged(*v);
}

void FormCommands::viewChanged(CVARNfbView& v) {
    if (CVARNfbFrm* f = frameOf(v)) f->updateTitle();
    if (activeView() != &v) return;
    if (selector_) {
        const CVARNFBControl* d = v.designer().selection().dominant();
        const int at = d ? selector_->findText(q(FormDesigner::selectorEntry(*d)), Qt::MatchExactly) : -1;
        if (selector_->count() != static_cast<int>(v.doc().controls().size()))
            fillSelector();
        else
            selector_->setCurrentIndex(at);
    }
    updateCommands();
}

void FormCommands::fillSelector() {
    if (!selector_) return;
    CVARNfbView* v = activeView();
    const QSignalBlocker block(selector_);
    selector_->clear();
    if (!v) return;
    QStringList items;
    for (const std::string& e : v->designer().objectSelectorEntries()) items << QString::fromLatin1(e.c_str());
    selector_->addItems(items);
    const CVARNFBControl* d = v->designer().selection().dominant();
    selector_->setCurrentIndex(d ? selector_->findText(q(FormDesigner::selectorEntry(*d)), Qt::MatchExactly) : -1);
}

void FormCommands::selectorChosen(int index) {
    CVARNfbView* v = activeView();
    if (!v || index < 0 || index >= static_cast<int>(v->doc().controls().size())) return;
    v->designer().selectOnly(*v->doc().controls()[static_cast<std::size_t>(index)]);
    v->refresh();
    viewChanged(*v);
}

void FormCommands::updateCommands() {
    CVARNfbView* v = activeView();
    for (auto& [command, a] : actions_) {
        const CommandState s = v ? v->designer().state(command) : CommandState{};
        a->setEnabled(s.enabled);
        if (a->isCheckable()) a->setChecked(s.checked);
    }
    for (QAction* a : zoomActions_) a->setEnabled(v != nullptr);
    if (menu_) menu_->menuAction()->setVisible(v != nullptr);
    if (selector_) selector_->setEnabled(v != nullptr);
    if (status_) {
        QString text = v ? q(v->designer().statusText()) : QString();
        if (v && v->zoom() != 1.0) text += QStringLiteral("  %1%").arg(qRound(v->zoom() * 100));
        status_->setText(text);
    }
}

}  // namespace varn
