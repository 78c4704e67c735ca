#include "app/CPlainDocuments.h"

#include <QFontDatabase>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QTextBlock>

#include "app/Ui.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace varn {

namespace {

// File bytes as text: UTF-8 when they are valid UTF-8, else Latin-1 (the
// sources of the handheld tools are mostly plain ANSI). Line ends become "\n".
QString decode(const std::string& bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) text += bytes[i];
    QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (s.contains(QChar::ReplacementCharacter)) s = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    return s;
}

}  // namespace

CPlainTextView::CPlainTextView(std::string path, QWidget* parent) : QPlainTextEdit(parent), path_(std::move(path)) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Keep the caret visible in a read-only view so the jumped-to line shows.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
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

CPlainDocuments::CPlainDocuments(QMdiArea& area, Ui& ui) : area_(area), ui_(ui) {}

QMdiSubWindow* CPlainDocuments::windowOf(const std::string& path) const {
    for (QMdiSubWindow* w : area_.subWindowList()) {
        auto* v = qobject_cast<CPlainTextView*>(w->widget());
        // A closed window lingers hidden until its deferred deletion.
        if (v && !w->isHidden() && paths::equalNoCase(v->path(), path)) return w;
    }
    return nullptr;
}

CPlainTextView* CPlainDocuments::view(const std::string& path) const {
    QMdiSubWindow* w = windowOf(path);
    return w ? qobject_cast<CPlainTextView*>(w->widget()) : nullptr;
}

bool CPlainDocuments::isOpen(const std::string& path) const { return windowOf(path) != nullptr; }
bool CPlainDocuments::isModified(const std::string& /*path*/) const { return false; }
bool CPlainDocuments::save(const std::string& path) { return isOpen(path); }

std::optional<std::string> CPlainDocuments::text(const std::string& path) const {
    if (CPlainTextView* v = view(path)) return v->toPlainText().toStdString();
    return std::nullopt;
}

std::vector<std::string> CPlainDocuments::modifiedDocuments() const { return {}; }
bool CPlainDocuments::saveAllModified() { return true; }

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
    v->setPlainText(decode(*bytes));
    QMdiSubWindow* w = area_.addSubWindow(v);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setProperty(kPathProperty, QString::fromStdString(real));
    w->setWindowTitle(QString::fromStdString(paths::fileName(real)) +
                      (fsys::isReadOnly(real) ? QStringLiteral(" (read-only)") : QString()));
    w->setWindowIcon(area_.style()->standardIcon(QStyle::SP_FileIcon));
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
    for (QMdiSubWindow* w : area_.subWindowList()) {
        w->close();
        area_.removeSubWindow(w);
    }
}

std::string CPlainDocuments::activePath() const {
    QMdiSubWindow* w = area_.activeSubWindow();
    if (!w) w = area_.currentSubWindow();
    auto* v = w ? qobject_cast<CPlainTextView*>(w->widget()) : nullptr;
    return v ? v->path() : std::string();
}

}  // namespace varn
