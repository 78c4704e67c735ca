#include "app/DocumentManager.h"

#include "app/DocumentPane.h"

#include "editor/CVarnIdeView.h"
#include "editor/SourceCommands.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace varn {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

DocumentPane* paneIn(const QMdiSubWindow* w) { return w ? dynamic_cast<DocumentPane*>(w->widget()) : nullptr; }

}  // namespace

// Asks before a document window with a modified document closes.
class DocumentManager::CloseGuard : public QObject {
public:
    CloseGuard(DocumentManager& docs, QMdiArea& area) : QObject(&area), docs_(docs) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::Close || docs_.closingAll_) return false;
        auto* w = qobject_cast<QMdiSubWindow*>(watched);
        const std::string path = w ? docs_.pathOf(w) : std::string();
        if (!path.empty() && docs_.isModified(path) && !docs_.saveModified(path)) {
            e->ignore();
            return true;
        }
        return false;
    }

private:
    DocumentManager& docs_;
};

DocumentManager::DocumentManager(QMdiArea& area, Ui& ui)
    : area_(area), ui_(ui), closeGuard_(new CloseGuard(*this, area)) {
    QObject::connect(&area_, &QMdiArea::subWindowActivated, closeGuard_.data(), [this](QMdiSubWindow* w) { activated(w); });
    saveQuestion_ = [this](const std::string& path) {
        return ui_.message({"Save changes to " + path + "?", {}, MsgIcon::Question, MsgButtons::YesNoCancel,
                            Answer::Yes});
    };
}

DocumentManager::~DocumentManager() { delete closeGuard_.data(); }

QMdiSubWindow* DocumentManager::windowOf(const std::string& path) const {
    for (QMdiSubWindow* w : area_.subWindowList()) {
        auto* v = qobject_cast<CVarnIdeView*>(w->widget());
        // A closed window lingers hidden until its deferred deletion.
        if (v && !w->isHidden() && paths::equalNoCase(v->path(), path)) return w;
        DocumentPane* p = paneIn(w);
        if (p && !w->isHidden() && paths::equalNoCase(p->panePath(), path)) return w;
    }
    return nullptr;
}

QMdiSubWindow* DocumentManager::activeWindow() const {
    QMdiSubWindow* w = area_.activeSubWindow();
    if (!w) w = area_.currentSubWindow();
    return w && !w->isHidden() ? w : nullptr;
}

CVarnIdeView* DocumentManager::activeView() const {
    QMdiSubWindow* w = activeWindow();
    return w ? qobject_cast<CVarnIdeView*>(w->widget()) : nullptr;
}

void DocumentManager::watchWindow(QMdiSubWindow* w) { w->installEventFilter(closeGuard_); }

DocumentEditor* DocumentManager::editorFor(const std::string& path) const {
    for (DocumentEditor* e : editors_)
        if (e->handles(path)) return e;
    return nullptr;
}

DocumentEditor* DocumentManager::editorOf(QMdiSubWindow* w) const {
    if (!w || qobject_cast<CVarnIdeView*>(w->widget())) return nullptr;
    const std::string path = w->property(kPathProperty).toString().toStdString();
    DocumentEditor* e = editorFor(path);
    return e && e->windowOf(path) == w ? e : nullptr;
}

std::string DocumentManager::pathOf(QMdiSubWindow* w) const {
    if (auto* v = qobject_cast<CVarnIdeView*>(w->widget())) return v->path();
    if (DocumentPane* p = paneIn(w)) return p->panePath();
    return editorOf(w) ? w->property(kPathProperty).toString().toStdString() : std::string();
}

CVARNfbDoc* DocumentManager::openForm(const std::string& path) {
    DocumentEditor* e = editorFor(path);
    return e ? e->openForm(path) : nullptr;
}

std::vector<CVarnIdeView*> DocumentManager::views() const {
    std::vector<CVarnIdeView*> out;
    for (QMdiSubWindow* w : area_.subWindowList(QMdiArea::CreationOrder))
        if (auto* v = qobject_cast<CVarnIdeView*>(w->widget()); v && !w->isHidden()) out.push_back(v);
    return out;
}

CVarnIdeView* DocumentManager::view(const std::string& path) const {
    QMdiSubWindow* w = windowOf(path);
    return w ? qobject_cast<CVarnIdeView*>(w->widget()) : nullptr;
}

QString DocumentManager::windowTitle(const std::string& path) const {
    QString title = q(paths::fileName(path));
    if (fsys::exists(path) && fsys::isReadOnly(path)) title += QString::fromLatin1(kReadOnlySuffix);
    if (isModified(path)) title += QLatin1Char('*');
    return title;
}

void DocumentManager::updateTitle(CVarnIdeView& v) {
    for (QMdiSubWindow* w : area_.subWindowList())
        if (w->widget() == &v) {
            if (!v.doc().untitled) w->setProperty(kPathProperty, q(v.path()));
            w->setWindowTitle(windowTitle(v.path()));
        }
}

bool DocumentManager::isOpen(const std::string& path) const {
    if (DocumentEditor* e = editorFor(path); e && e->windowOf(path)) return true;
    return windowOf(path) != nullptr;
}

bool DocumentManager::isModified(const std::string& path) const {
    if (DocumentPane* p = pane(path)) return p->paneModified();
    if (DocumentEditor* e = editorFor(path); e && e->windowOf(path)) return e->isModified(path);
    CVarnIdeView* v = view(path);
    return v && v->modified();
}

bool DocumentManager::write(CVarnIdeView& v, const std::string& path) {
    if (fsys::exists(path) && fsys::isReadOnly(path)) {
        ui_.error(kReadOnlySave);
        return false;
    }
    if (!fsys::writeFileAtomic(path, v.bytes())) {
        ui_.error("Unable to save the file " + path + ".");
        return false;
    }
    v.setModified(false);
    return true;
}

bool DocumentManager::save(const std::string& path) {
    if (DocumentPane* p = pane(path)) {
        const bool ok = p->savePane(p->panePath());
        updatePaneTitle(windowOf(p->panePath()));
        return ok;
    }
    if (DocumentEditor* e = editorFor(path); e && e->windowOf(path)) return e->save(path);
    CVarnIdeView* v = view(path);
    if (!v) return false;
    // Only the text documents are written here; the others are never changed.
    if (!v->editable()) return true;
    if (v->doc().untitled) return saveAs(path);
    const bool ok = write(*v, v->path());
    updateTitle(*v);
    return ok;
}

bool DocumentManager::saveAs(const std::string& path, const std::string& requested) {
    if (DocumentEditor* e = editorFor(path); e && e->windowOf(path)) return e->saveAs(path, requested);
    if (DocumentPane* p = pane(path)) {
        QMdiSubWindow* w = windowOf(path);
        std::string target = requested;
        if (target.empty()) {
            FileDialog d;
            d.title = "Save As";
            d.filter = documentFilter(p->paneTemplate());
            d.initialFolder = paths::folderOf(p->panePath());
            d.defaultExtension = documentTemplateInfo(p->paneTemplate()).extension;
            d.fileName = paths::fileName(p->panePath());
            auto chosen = ui_.saveFile(d);
            if (!chosen) return false;
            target = *chosen;
        }
        const bool ok = p->savePane(paths::absolute(target));
        updatePaneTitle(w);
        return ok;
    }
    CVarnIdeView* v = view(path);
    if (!v || !v->editable()) return false;
    std::string target = requested;
    if (target.empty()) {
        FileDialog d;
        d.title = "Save As";
        d.filter = documentFilter(v->documentTemplate());
        // An untitled document has no folder of its own: it starts in the project's.
        const std::string project = projectFolder_ ? projectFolder_() : std::string();
        d.initialFolder = v->doc().untitled && !project.empty() ? project : paths::folderOf(v->path());
        d.defaultExtension = documentTemplateInfo(v->documentTemplate()).extension;
        d.fileName = paths::fileName(v->path());
        auto chosen = ui_.saveFile(d);
        if (!chosen) return false;
        target = *chosen;
    }
    target = paths::absolute(target);
    if (!write(*v, target)) return false;
    const bool first = v->doc().untitled;
    v->doc().untitled = false;
    v->setPath(fsys::resolveCase(target));
    updateTitle(*v);
    if (first && firstSave_) firstSave_(v->path());
    return true;
}

// Save and Save As work on untitled documents too: they ask for the name.
bool DocumentManager::saveActive() {
    if (DocumentPane* p = activePane()) return save(p->panePath());
    if (editorOf(activeWindow())) return save(activePath());
    CVarnIdeView* v = activeView();
    return v && save(v->path());
}

bool DocumentManager::saveActiveAs() {
    if (QMdiSubWindow* w = activeWindow(); w && editorOf(w)) return saveAs(pathOf(w));
    if (DocumentPane* p = activePane()) return saveAs(p->panePath());
    CVarnIdeView* v = activeView();
    return v && saveAs(v->path());
}

bool DocumentManager::activeSavable() const {
    if (editorOf(activeWindow())) return true;
    CVarnIdeView* v = activeView();
    return (v && v->editable()) || activePane();
}

std::optional<std::string> DocumentManager::text(const std::string& path) const {
    if (CVarnIdeView* v = view(path); v && v->editable()) return v->bytes();
    return std::nullopt;
}

std::vector<std::string> DocumentManager::modifiedDocuments() const {
    std::vector<std::string> out;
    for (QMdiSubWindow* w : area_.subWindowList(QMdiArea::CreationOrder)) {
        if (w->isHidden()) continue;
        const std::string path = pathOf(w);
        if (!path.empty() && isModified(path)) out.push_back(path);
    }
    return out;
}

bool DocumentManager::saveModified(const std::string& path) {
    if (!isModified(path)) return true;
    switch (saveQuestion_(path)) {
    case Answer::Yes: return save(path);
    case Answer::No: return true;
    default: return false;
    }
}

bool DocumentManager::saveAllModified() {
    for (const std::string& path : modifiedDocuments())
        if (!saveModified(path)) return false;
    return true;
}

CVarnIdeView* DocumentManager::openView(const std::string& path) {
    if (QMdiSubWindow* w = windowOf(path)) {
        area_.setActiveSubWindow(w);
        if (w->isMinimized()) w->showNormal();
        return qobject_cast<CVarnIdeView*>(w->widget());
    }
    std::string real = fsys::resolveCase(path);
    auto bytes = fsys::readFile(real);
    if (!bytes) {
        ui_.error("Unable to open the file " + path + ".");
        return nullptr;
    }
    auto* v = new CVarnIdeView(real);
    v->load(*bytes);
    addWindow(v);
    return v;
}

void DocumentManager::addWindow(CVarnIdeView* v) {
    QMdiSubWindow* w = area_.addSubWindow(v);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->installEventFilter(closeGuard_);
    w->setWindowIcon(area_.style()->standardIcon(QStyle::SP_FileIcon));
    if (viewSetup_) viewSetup_(*v);
    updateTitle(*v);
    QObject::connect(v, &QsciScintilla::modificationChanged, v, [this, v] { updateTitle(*v); });
    if (area_.viewMode() == QMdiArea::SubWindowView && area_.width() > 200)
        w->resize(area_.width() * 3 / 4, area_.height() * 3 / 4);
    w->show();
    area_.setActiveSubWindow(w);
}

CVarnIdeView* DocumentManager::newDocument(DocumentTemplate type) {
    const auto& info = documentTemplateInfo(type);
    if (!info.text) return nullptr;
    const std::string name = "Untitled" + std::to_string(++untitled_) + "." + info.extension;
    auto* v = new CVarnIdeView(paths::join(fsys::currentDirectory(), name));
    v->doc().untitled = true;
    v->load(type == DocumentTemplate::CFile ? std::string(SourceTexts::kNewCFile) : std::string());
    addWindow(v);
    return v;
}

void DocumentManager::activated(QMdiSubWindow* w) {
    auto* v = w ? qobject_cast<CVarnIdeView*>(w->widget()) : nullptr;
    if (!v) return;
    updateTitle(*v);
    if (debugging_ && debugging_()) return;
    v->setCurrentStatementLine(-1);
    v->setErrorLine(-1);
}

bool DocumentManager::open(const std::string& path, bool newForm) {
    if (DocumentEditor* e = editorFor(path)) return e->open(path, newForm) != nullptr;
    if (opensAsPane(path)) return openPane(path) != nullptr;
    return openView(path) != nullptr;
}

bool DocumentManager::opensAsPane(const std::string& path) const {
    return paneOpeners_.count(documentTemplateOfFile(path)) != 0;
}

DocumentPane* DocumentManager::pane(const std::string& path) const { return paneIn(windowOf(path)); }

DocumentPane* DocumentManager::activePane() const {
    QMdiSubWindow* w = area_.activeSubWindow();
    if (!w) w = area_.currentSubWindow();
    return w && !w->isHidden() ? paneIn(w) : nullptr;
}

QMdiSubWindow* DocumentManager::openPane(const std::string& path) {
    if (QMdiSubWindow* w = windowOf(path)) {
        area_.setActiveSubWindow(w);
        if (w->isMinimized()) w->showNormal();
        return w;
    }
    QWidget* widget = paneOpeners_.at(documentTemplateOfFile(path))(fsys::resolveCase(path));
    DocumentPane* p = dynamic_cast<DocumentPane*>(widget);
    if (!p) {
        delete widget;
        return nullptr;
    }
    QMdiSubWindow* w = area_.addSubWindow(widget);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->installEventFilter(closeGuard_);
    w->setWindowIcon(area_.style()->standardIcon(QStyle::SP_FileIcon));
    p->paneChanged = [this, w] { updatePaneTitle(w); };
    updatePaneTitle(w);
    w->show();
    area_.setActiveSubWindow(w);
    return w;
}

void DocumentManager::updatePaneTitle(QMdiSubWindow* w) {
    DocumentPane* p = paneIn(w);
    if (!p) return;
    w->setProperty(kPathProperty, q(p->panePath()));
    w->setWindowTitle(windowTitle(p->panePath()));
}

bool DocumentManager::openAtLine(const std::string& path, int line, bool errorMarker) {
    if (editorFor(path)) return open(path, false);
    if (opensAsPane(path)) return openPane(path) != nullptr;
    CVarnIdeView* v = openView(path);
    if (!v) return false;
    if (errorMarker) v->setErrorLine(line);
    v->goToLine(line);
    v->setFocus();
    return true;
}

bool DocumentManager::openAtStatement(const std::string& path, int line) {
    CVarnIdeView* v = openView(path);
    if (!v) return false;
    v->setCurrentStatementLine(line);
    v->goToLine(line);
    v->setFocus();
    return true;
}

void DocumentManager::closeAll() {
    closingAll_ = true;
    for (QMdiSubWindow* w : area_.subWindowList()) {
        w->close();
        area_.removeSubWindow(w);
    }
    closingAll_ = false;
}

std::string DocumentManager::activePath() const {
    if (DocumentPane* p = activePane()) return p->panePath();
    if (QMdiSubWindow* w = activeWindow(); w && editorOf(w)) return pathOf(w);
    CVarnIdeView* v = activeView();
    return v && !v->doc().untitled ? v->path() : std::string();
}

}  // namespace varn
