#include "app/WindowState.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>

#include "app/DocumentWindows.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"
#include "project/ProjectModel.h"

namespace varn {

namespace {

constexpr const char* kNormalGeometry = "varnNormalGeometry";

void put32(std::vector<std::uint8_t>& out, std::int64_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int b = 0; b < 4; ++b) out.push_back(static_cast<std::uint8_t>(u >> (8 * b)));
}

std::int32_t get32(const std::vector<std::uint8_t>& in, std::size_t at) {
    std::uint32_t u = 0;
    for (std::size_t b = 0; b < 4; ++b) u |= std::uint32_t(in[at + b]) << (8 * b);
    return static_cast<std::int32_t>(u);
}

bool normalState(const QWidget& w) { return !(w.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)); }

}  // namespace

std::vector<std::uint8_t> WindowPlacement::encode() const {
    std::vector<std::uint8_t> out;
    out.reserve(kSize);
    put32(out, kSize);
    put32(out, flags);
    put32(out, showCmd);
    put32(out, minPosition.x());
    put32(out, minPosition.y());
    put32(out, maxPosition.x());
    put32(out, maxPosition.y());
    put32(out, normal.x());
    put32(out, normal.y());
    put32(out, std::int64_t(normal.x()) + normal.width());
    put32(out, std::int64_t(normal.y()) + normal.height());
    return out;
}

std::optional<WindowPlacement> WindowPlacement::decode(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() != kSize || get32(bytes, 0) != static_cast<std::int32_t>(kSize)) return std::nullopt;
    WindowPlacement p;
    p.flags = static_cast<std::uint32_t>(get32(bytes, 4));
    p.showCmd = static_cast<std::uint32_t>(get32(bytes, 8));
    p.minPosition = QPoint(get32(bytes, 12), get32(bytes, 16));
    p.maxPosition = QPoint(get32(bytes, 20), get32(bytes, 24));
    const int left = get32(bytes, 28), top = get32(bytes, 32), right = get32(bytes, 36), bottom = get32(bytes, 40);
    p.normal = QRect(QPoint(left, top), QSize(right - left, bottom - top));
    return p;
}

WindowPlacement WindowPlacement::of(const QWidget& window, const QRect& normal) {
    WindowPlacement p;
    p.normal = normal;
    const Qt::WindowStates s = window.windowState();
    if (s & Qt::WindowMinimized) {
        p.showCmd = kShowMinimized;
        if (s & Qt::WindowMaximized) p.flags |= kRestoreToMaximized;
    } else if (s & Qt::WindowMaximized) {
        p.showCmd = kShowMaximized;
    }
    return p;
}

// Follows the document windows from their creation and remembers each one's
// restored rectangle: Qt keeps no public record of it while a child window is
// maximised or minimised.
class WindowState::Tracker : public QObject {
public:
    explicit Tracker(QMdiArea& area) : QObject(&area), area_(area) {
        area_.viewport()->installEventFilter(this);
        for (QMdiSubWindow* w : area_.subWindowList()) follow(w);
    }

    void follow(QMdiSubWindow* w) {
        w->removeEventFilter(this);  // never twice
        w->installEventFilter(this);
        remember(w);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == area_.viewport()) {
            // A window built with the viewport as parent is only a QMdiSubWindow
            // by the time its polish event comes.
            if (e->type() == QEvent::ChildAdded || e->type() == QEvent::ChildPolished)
                if (auto* w = qobject_cast<QMdiSubWindow*>(static_cast<QChildEvent*>(e)->child())) follow(w);
        } else if (e->type() == QEvent::Move || e->type() == QEvent::Resize || e->type() == QEvent::Show) {
            if (auto* w = qobject_cast<QMdiSubWindow*>(watched)) remember(w);
        }
        return false;
    }

private:
    void remember(QMdiSubWindow* w) {
        // The workbook shows every window maximised; that is not its own size.
        if (area_.viewMode() == QMdiArea::SubWindowView && normalState(*w) && !w->isHidden())
            w->setProperty(kNormalGeometry, w->geometry());
    }

    QMdiArea& area_;
};

// Holds the restored rectangle a project gives a main window that stays
// maximised, and applies it once the window leaves the maximised state:
// moving through the restored state to resize it would lay the window out at
// that size inside the maximised frame.
class WindowState::LaterNormal : public QObject {
public:
    explicit LaterNormal(QMainWindow& frame) : QObject(&frame), frame_(frame) { frame_.installEventFilter(this); }

    void set(const QRect& r) { rect_ = r; }
    void clear() { rect_.reset(); }
    const std::optional<QRect>& rect() const { return rect_; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == &frame_ && e->type() == QEvent::WindowStateChange && rect_ && normalState(frame_)) {
            const QRect r = *rect_;
            rect_.reset();
            frame_.setGeometry(r);
        }
        return false;
    }

private:
    QMainWindow& frame_;
    std::optional<QRect> rect_;
};

WindowState::WindowState(QMainWindow& frame, QMdiArea& area, DocumentWindows& documents, const ProjectModel& project,
                         SettingsStore& settings, QWidget* barToActivate)
    : frame_(frame), area_(area), documents_(documents), project_(project), settings_(settings),
      barToActivate_(barToActivate), tracker_(new Tracker(area)), laterNormal_(new LaterNormal(frame)) {}

WindowState::~WindowState() = default;

QRect WindowState::normalGeometry(const QMdiSubWindow& window) const {
    const QVariant v = window.property(kNormalGeometry);
    if (v.isValid()) return v.toRect();
    return window.geometry();
}

std::string WindowState::documentPath(const QMdiSubWindow& window) {
    return window.property(DocumentWindows::kPathProperty).toString().toStdString();
}

std::vector<QMdiSubWindow*> WindowState::documentWindows() const {
    std::vector<QMdiSubWindow*> out;
    for (QMdiSubWindow* w : area_.subWindowList(QMdiArea::CreationOrder)) {
        // A closed window lingers hidden until its deferred deletion.
        if (w->isHidden()) continue;
        if (!documentPath(*w).empty()) out.push_back(w);
    }
    return out;
}

void WindowState::saveWindowState(SettingsNode& root, const std::string& folder) {
    // The dock layout goes to the settings store: it is the user's, not the project's.
    saveDockLayout();

    SettingsNode& frames = root.addChild(kFramesNode);
    QMdiSubWindow* active = area_.activeSubWindow() ? area_.activeSubWindow() : area_.currentSubWindow();
    int n = 0;
    for (QMdiSubWindow* w : documentWindows()) {
        const std::string path = documentPath(*w);
        const DocumentTemplate type = documentTemplateOfFile(path);
        SettingsNode& node = frames.addChild(kViewFramePrefix + std::to_string(n++));
        node.setString("DocPathName", paths::relativeForm(path, folder));
        node.setString("DocumentString", documentTemplateInfo(type).typeName);
        node.setInt("DocTemplateIndex", static_cast<int>(type));
        node.setBinary("WindowPlacement", WindowPlacement::of(*w, normalGeometry(*w)).encode());
        node.setBool("IsActiveChildFrame", w == active);
    }

    SettingsNode& main = root.addChild(kMainFrameNode);
    QRect normal = laterNormal_->rect().value_or(frame_.normalGeometry());
    if (normal.isEmpty()) normal = frame_.geometry();
    main.setBinary("WindowPlacement", WindowPlacement::of(frame_, normal).encode());
    main.setString("Title", frame_.windowTitle().toStdString());
}

void WindowState::placeMainFrame(const WindowPlacement& p) {
    QRect r = p.normal;
    if (r.width() < 100 || r.height() < 100) return;
    // A rectangle left on a screen that is gone keeps its size on the primary screen.
    bool onScreen = false;
    for (QScreen* s : QGuiApplication::screens()) onScreen = onScreen || s->availableGeometry().intersects(r);
    if (!onScreen)
        if (QScreen* s = QGuiApplication::primaryScreen()) r.moveTopLeft(s->availableGeometry().topLeft());

    const bool maximized = p.showCmd == WindowPlacement::kShowMaximized ||
                           (p.showCmd == WindowPlacement::kShowMinimized && (p.flags & WindowPlacement::kRestoreToMaximized));
    // The main window comes back restored or maximised, never minimised.
    laterNormal_->clear();
    if (!frame_.isVisible()) {
        frame_.setWindowState(frame_.windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
        frame_.setGeometry(r);
        if (maximized) frame_.setWindowState(frame_.windowState() | Qt::WindowMaximized);
        return;
    }
    // A shown window changes state only where the placement differs, and a
    // maximised one that stays so keeps its size: the rectangle waits for its restore.
    const Qt::WindowStates shown = frame_.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized);
    if (maximized && (shown & Qt::WindowMaximized)) {
        laterNormal_->set(r);
        if (shown != Qt::WindowMaximized) frame_.showMaximized();
        return;
    }
    if (shown != Qt::WindowNoState) frame_.showNormal();
    frame_.setGeometry(r);
    if (maximized) frame_.showMaximized();
}

QMdiSubWindow* WindowState::reopen(const SettingsNode& node, std::uint32_t& showCmd) {
    const std::string path = paths::resolveStored(node.getString("DocPathName"), project_.projectFolder());
    // A document that is gone is skipped without a message; opening it from
    // the project tree says what is wrong.
    if (path.empty() || !fsys::exists(path) || fsys::isDirectory(path)) return nullptr;
    if (!documents_.open(path, false)) return nullptr;
    QMdiSubWindow* window = nullptr;
    for (QMdiSubWindow* w : area_.subWindowList())
        if (!w->isHidden() && paths::equalNoCase(documentPath(*w), fsys::resolveCase(path))) window = w;
    if (!window) window = area_.activeSubWindow();
    if (!window) return nullptr;

    tracker_->follow(window);
    showCmd = WindowPlacement::kShowNormal;
    if (auto bytes = node.getBinary("WindowPlacement"))
        if (auto p = WindowPlacement::decode(*bytes)) {
            if (window->isMaximized() || window->isMinimized()) window->showNormal();
            if (p->normal.width() > 0 && p->normal.height() > 0) {
                window->setGeometry(p->normal);
                window->setProperty(kNormalGeometry, p->normal);
            }
            showCmd = p->showCmd;
        }
    return window;
}

void WindowState::restoreWindowState(const SettingsNode& root) {
    if (const SettingsNode* main = root.child(kMainFrameNode)) {
        if (auto bytes = main->getBinary("WindowPlacement"))
            if (auto p = WindowPlacement::decode(*bytes)) placeMainFrame(*p);
        // The frame keeps its own title rule; the stored title stands until it next applies.
        const std::string title = main->getString("Title");
        if (!title.empty()) frame_.setWindowTitle(QString::fromStdString(title));
    }

    // All windows open at their normal rectangles first: opening one more
    // would take back the maximised state of the active one.
    QMdiSubWindow* active = nullptr;
    std::vector<std::pair<QMdiSubWindow*, std::uint32_t>> opened;
    if (const SettingsNode* frames = root.child(kFramesNode)) {
        for (const auto& c : frames->children()) {
            if (c->name().rfind(kViewFramePrefix, 0) != 0) continue;
            std::uint32_t showCmd = WindowPlacement::kShowNormal;
            QMdiSubWindow* w = reopen(*c, showCmd);
            if (!w) continue;
            opened.emplace_back(w, showCmd);
            if (c->getBool("IsActiveChildFrame", false)) active = w;
        }
    }
    for (auto& [w, cmd] : opened)
        if (cmd == WindowPlacement::kShowMinimized) w->showMinimized();
    for (auto& [w, cmd] : opened)
        if (cmd == WindowPlacement::kShowMaximized) {
            area_.setActiveSubWindow(w);
            w->showMaximized();
        }
    if (active) {
        area_.setActiveSubWindow(active);
    } else if (barToActivate_) {
        barToActivate_->show();
        barToActivate_->raise();
        barToActivate_->setFocus();
    }
}

void WindowState::closeAllDocuments() { documents_.closeAll(); }

void WindowState::saveDockLayout() {
    const QByteArray state = frame_.saveState();
    settings_.setBinary(kDockSection, kDockKey, std::vector<std::uint8_t>(state.begin(), state.end()));
}

bool WindowState::restoreDockLayout() {
    auto bytes = settings_.getBinary(kDockSection, kDockKey);
    if (!bytes || bytes->empty()) return false;
    return frame_.restoreState(QByteArray(reinterpret_cast<const char*>(bytes->data()), static_cast<qsizetype>(bytes->size())));
}

}  // namespace varn
