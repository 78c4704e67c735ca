#include "app/CPlainDocuments.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QTextBlock>

#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace varn {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// The line end a file uses: "\n" only when it has line ends and none is "\r\n".
std::string lineEndOf(const std::string& bytes) {
    if (bytes.find("\r\n") != std::string::npos) return "\r\n";
    if (bytes.find('\n') != std::string::npos) return "\n";
    return "\r\n";
}

}  // namespace

CPlainTextView::CPlainTextView(std::string path, QWidget* parent) : QPlainTextEdit(parent), path_(std::move(path)) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    if (!editable()) {
        setReadOnly(true);
        // Keep the caret visible in a read-only view so the jumped-to line shows.
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
}

// File bytes as text: UTF-8 when they are valid UTF-8, else Latin-1 (the
// sources of the handheld tools are mostly plain ANSI). Lines end at "\n".
void CPlainTextView::load(const std::string& bytes) {
    lineEnd_ = lineEndOf(bytes);
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) text += bytes[i];
    QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    latin1_ = s.contains(QChar::ReplacementCharacter);
    if (latin1_) s = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    setPlainText(s);
    document()->setModified(false);
}

std::string CPlainTextView::bytes() const {
    // Block by block: the document's plain text would turn no-break spaces into blanks.
    std::string out;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        if (b != document()->begin()) out += lineEnd_;
        const QString line = b.text();
        const QByteArray encoded = latin1_ ? line.toLatin1() : line.toUtf8();
        out.append(encoded.constData(), static_cast<std::size_t>(encoded.size()));
    }
    return out;
}

void CPlainTextView::goToLine(int line) {
    QTextBlock block = document()->findBlockByNumber(std::max(0, line));
    if (!block.isValid()) block = document()->lastBlock();
    QTextCursor c(block);
    setTextCursor(c);
    centerCursor();
}

void CPlainTextView::setErrorLine(int line) {
    errorLine_ = line;
    QList<QTextEdit::ExtraSelection> marks;
    QTextBlock block = document()->findBlockByNumber(line);
    if (line >= 0 && block.isValid()) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(block);
        mark.format.setBackground(QColor(255, 200, 200));
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        marks << mark;
    }
    setExtraSelections(marks);
}

// Asks before a document window with a modified document closes.
class CPlainDocuments::CloseGuard : public QObject {
public:
    CloseGuard(CPlainDocuments& docs, QMdiArea& area) : QObject(&area), docs_(docs) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::Close || docs_.closingAll_) return false;
        auto* w = qobject_cast<QMdiSubWindow*>(watched);
        auto* v = w ? qobject_cast<CPlainTextView*>(w->widget()) : nullptr;
        if (v && v->modified() && !docs_.saveModified(*v)) {
            e->ignore();
            return true;
        }
        return false;
    }

private:
    CPlainDocuments& docs_;
};

CPlainDocuments::CPlainDocuments(QMdiArea& area, Ui& ui)
    : area_(area), ui_(ui), closeGuard_(new CloseGuard(*this, area)) {
    saveQuestion_ = [this](const std::string& path) {
        return ui_.message({"Save changes to " + path + "?", {}, MsgIcon::Question, MsgButtons::YesNoCancel,
                            Answer::Yes});
    };
}

CPlainDocuments::~CPlainDocuments() { delete closeGuard_.data(); }

QMdiSubWindow* CPlainDocuments::windowOf(const std::string& path) const {
    for (QMdiSubWindow* w : area_.subWindowList()) {
        auto* v = qobject_cast<CPlainTextView*>(w->widget());
        // A closed window lingers hidden until its deferred deletion.
        if (v && !w->isHidden() && paths::equalNoCase(v->path(), path)) return w;
    }
    return nullptr;
}

std::vector<CPlainTextView*> CPlainDocuments::views() const {
    std::vector<CPlainTextView*> out;
    for (QMdiSubWindow* w : area_.subWindowList(QMdiArea::CreationOrder))
        if (auto* v = qobject_cast<CPlainTextView*>(w->widget()); v && !w->isHidden()) out.push_back(v);
    return out;
}

CPlainTextView* CPlainDocuments::view(const std::string& path) const {
    QMdiSubWindow* w = windowOf(path);
    return w ? qobject_cast<CPlainTextView*>(w->widget()) : nullptr;
}

QString CPlainDocuments::windowTitle(const std::string& path) const {
    QString title = q(paths::fileName(path));
    if (fsys::isReadOnly(path)) title += QString::fromLatin1(kReadOnlySuffix);
    if (CPlainTextView* v = view(path); v && v->modified()) title += QLatin1Char('*');
    return title;
}

void CPlainDocuments::updateTitle(CPlainTextView& v) {
    for (QMdiSubWindow* w : area_.subWindowList())
        if (w->widget() == &v) {
            w->setProperty(kPathProperty, q(v.path()));
            w->setWindowTitle(windowTitle(v.path()));
        }
}

bool CPlainDocuments::isOpen(const std::string& path) const { return windowOf(path) != nullptr; }

bool CPlainDocuments::isModified(const std::string& path) const {
    CPlainTextView* v = view(path);
    return v && v->modified();
}

bool CPlainDocuments::write(CPlainTextView& v, const std::string& path) {
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

bool CPlainDocuments::save(const std::string& path) {
    CPlainTextView* v = view(path);
    if (!v) return false;
    // Only the text documents are written here; the others are never changed.
    if (!v->editable()) return true;
    const bool ok = write(*v, v->path());
    updateTitle(*v);
    return ok;
}

bool CPlainDocuments::saveAs(const std::string& path, const std::string& requested) {
    CPlainTextView* v = view(path);
    if (!v || !v->editable()) return false;
    std::string target = requested;
    if (target.empty()) {
        FileDialog d;
        d.title = "Save As";
        d.filter = documentFilter(v->documentTemplate());
        d.initialFolder = paths::folderOf(v->path());
        d.defaultExtension = documentTemplateInfo(v->documentTemplate()).extension;
        d.fileName = paths::fileName(v->path());
        auto chosen = ui_.saveFile(d);
        if (!chosen) return false;
        target = *chosen;
    }
    target = paths::absolute(target);
    if (!write(*v, target)) return false;
    v->setPath(fsys::resolveCase(target));
    updateTitle(*v);
    return true;
}

bool CPlainDocuments::saveActive() {
    const std::string path = activePath();
    return !path.empty() && save(path);
}

bool CPlainDocuments::saveActiveAs() {
    const std::string path = activePath();
    return !path.empty() && saveAs(path);
}

bool CPlainDocuments::activeSavable() const {
    const std::string path = activePath();
    CPlainTextView* v = path.empty() ? nullptr : view(path);
    return v && v->editable();
}

std::optional<std::string> CPlainDocuments::text(const std::string& path) const {
    if (CPlainTextView* v = view(path); v && v->editable()) return v->bytes();
    return std::nullopt;
}

std::vector<std::string> CPlainDocuments::modifiedDocuments() const {
    std::vector<std::string> out;
    for (CPlainTextView* v : views())
        if (v->modified()) out.push_back(v->path());
    return out;
}

bool CPlainDocuments::saveModified(CPlainTextView& v) {
    if (!v.modified()) return true;
    switch (saveQuestion_(v.path())) {
    case Answer::Yes: return save(v.path());
    case Answer::No: return true;
    default: return false;
    }
}

bool CPlainDocuments::saveAllModified() {
    for (CPlainTextView* v : views())
        if (!saveModified(*v)) return false;
    return true;
}

CPlainTextView* CPlainDocuments::openView(const std::string& path) {
    if (QMdiSubWindow* w = windowOf(path)) {
        area_.setActiveSubWindow(w);
        if (w->isMinimized()) w->showNormal();
        return qobject_cast<CPlainTextView*>(w->widget());
    }
    std::string real = fsys::resolveCase(path);
    auto bytes = fsys::readFile(real);
    if (!bytes) {
        ui_.error("Unable to open the file " + path + ".");
        return nullptr;
    }
    auto* v = new CPlainTextView(real);
    v->load(*bytes);
    QMdiSubWindow* w = area_.addSubWindow(v);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->installEventFilter(closeGuard_);
    w->setWindowIcon(area_.style()->standardIcon(QStyle::SP_FileIcon));
    updateTitle(*v);
    QObject::connect(v->document(), &QTextDocument::modificationChanged, v, [this, v] { updateTitle(*v); });
    if (area_.viewMode() == QMdiArea::SubWindowView && area_.width() > 200)
        w->resize(area_.width() * 3 / 4, area_.height() * 3 / 4);
    w->show();
    area_.setActiveSubWindow(w);
    return v;
}

bool CPlainDocuments::open(const std::string& path, bool /*newForm*/) { return openView(path) != nullptr; }

// Icons are image documents; the image editor tells their kind.
std::optional<int> CPlainDocuments::openIcon(const std::string& /*path*/) { return std::nullopt; }

bool CPlainDocuments::openAtLine(const std::string& path, int line, bool errorMarker) {
    CPlainTextView* v = openView(path);
    if (!v) return false;
    if (errorMarker) v->setErrorLine(line);
    v->goToLine(line);
    v->viewport()->update();
    v->setFocus();
    return true;
}

void CPlainDocuments::closeAll() {
    closingAll_ = true;
    for (QMdiSubWindow* w : area_.subWindowList()) {
        w->close();
        area_.removeSubWindow(w);
    }
    closingAll_ = false;
}

std::string CPlainDocuments::activePath() const {
    QMdiSubWindow* w = area_.activeSubWindow();
    if (!w) w = area_.currentSubWindow();
    auto* v = w ? qobject_cast<CPlainTextView*>(w->widget()) : nullptr;
    return v ? v->path() : std::string();
}

}  // namespace varn
