#include "editor/SourceEditorCommands.h"

#include <limits>

#include <QAction>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QInputDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <QUrl>

#include "app/DocumentManager.h"
#include "app/Ui.h"
#include "editor/CFindReplaceDlg.h"
#include "editor/CVarnIdeView.h"
#include "editor/ColouringSettings.h"
#include "editor/FindInFiles.h"
#include "editor/LanguageHelp.h"
#include "editor/SourceCommands.h"
#include "editor/VarnLexer.h"
#include "platform/SettingsStore.h"
#include "project/VARNWorkspaceManager.h"

namespace varn {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

SourceEditorCommands::SourceEditorCommands(QMainWindow& window, DocumentManager& documents,
                                           VARNWorkspaceManager& workspace, SettingsStore& settings, Ui& ui)
    : QObject(&window), window_(window), documents_(documents), workspace_(workspace), settings_(settings), ui_(ui),
      opener_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    font_ = QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

SourceEditorCommands::~SourceEditorCommands() = default;

CVarnIdeView* SourceEditorCommands::active() const { return documents_.activeView(); }

QAction* SourceEditorCommands::add(QMenu& menu, const QString& text, int id, const QKeySequence& key,
                                   std::function<void()> slot) {
    QAction* a = menu.addAction(text);
    a->setData(id);
    a->setShortcut(key);
    a->setObjectName(QStringLiteral("ID_%1").arg(id));
    connect(a, &QAction::triggered, this, std::move(slot));
    actions_[id] = a;
    viewActions_.push_back(a);
    return a;
}

void SourceEditorCommands::onView(void (CVarnIdeView::*command)()) {
    if (CVarnIdeView* v = active()) {
        (v->*command)();
        updateCommands();
    }
}

void SourceEditorCommands::createActions(QMenu& edit, QMenu& view, QMenu& help) {
    auto plain = [this](QMenu& menu, const QString& text, const QKeySequence& key, auto&& body) {
        QAction* a = menu.addAction(text);
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, body);
        viewActions_.push_back(a);
        return a;
    };
    // The engine's own editing commands head the menu; it handles their keys itself.
    QAction* first = edit.actions().value(0);
    auto engine = [&](const QString& text, QKeySequence::StandardKey key, void (QsciScintilla::*command)(), bool writes) {
        auto* a = new QAction(text, &edit);
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetShortcut);
        connect(a, &QAction::triggered, this, [this, command] {
            if (CVarnIdeView* v = active()) (v->*command)();
        });
        edit.insertAction(first, a);
        (writes ? writeActions_ : viewActions_).push_back(a);
    };
    engine(tr("&Undo"), QKeySequence::Undo, &QsciScintilla::undo, true);
    engine(tr("&Redo"), QKeySequence::Redo, &QsciScintilla::redo, true);
    edit.insertSeparator(first);
    engine(tr("Cu&t"), QKeySequence::Cut, &QsciScintilla::cut, true);
    engine(tr("&Copy"), QKeySequence::Copy, &QsciScintilla::copy, false);
    engine(tr("&Paste"), QKeySequence::Paste, &QsciScintilla::paste, true);
    if (first) edit.insertSeparator(first);
    edit.addSeparator();
    find_ = plain(edit, tr("&Find..."), QKeySequence::Find, [this] { findDialog()->showFor(false); });
    plain(edit, tr("Find &Next"), QKeySequence(Qt::Key_F3), [this] { findDialog()->findNext(); });
    replace_ = plain(edit, tr("R&eplace..."), QKeySequence(Qt::CTRL | Qt::Key_H), [this] { findDialog()->showFor(true); });
    plain(edit, tr("&Go To Line..."), QKeySequence(Qt::CTRL | Qt::Key_G), [this] { goToLine(); });
    selectAll_ = plain(edit, tr("Select A&ll"), QKeySequence::SelectAll, [this] {
        if (CVarnIdeView* v = active()) v->selectAll();
    });
    selectAll_->setShortcutContext(Qt::WidgetShortcut);  // the engine handles Ctrl+A itself
    edit.addSeparator();
    auto onView = [this](void (CVarnIdeView::*command)()) { return [this, command] { this->onView(command); }; };
    add(edit, QStringLiteral("Toggle &Bookmark"), ID_TOGGLE_BOOKMARK, {}, onView(&CVarnIdeView::toggleBookmark));
    add(edit, QStringLiteral("Ne&xt Bookmark"), ID_NEXT_BOOKMARK, {}, onView(&CVarnIdeView::nextBookmark));
    add(edit, QStringLiteral("Pre&vious Bookmark"), ID_PREV_BOOKMARK, {}, onView(&CVarnIdeView::previousBookmark));
    add(edit, QStringLiteral("Clear &All Bookmarks"), ID_CLEAR_BOOKMARKS, {}, onView(&CVarnIdeView::clearAllBookmarks));
    edit.addSeparator();
    add(edit, QStringLiteral("Fin&d Function"), ID_FIND_FUNCTION, QKeySequence(Qt::SHIFT | Qt::Key_F2),
        [this] { findFunction(); });
    add(edit, QStringLiteral("&List Object Properties"), ID_LIST_PROPERTIES, QKeySequence(Qt::Key_F2),
        [this] { listProperties(); });
    add(edit, QStringLiteral("List S&ymbols"), ID_LIST_SYMBOLS, QKeySequence(Qt::CTRL | Qt::Key_Space),
        [this] { listSymbols(); });
    add(edit, QStringLiteral("Insert C&olor Value"), ID_INSERT_COLOR, QKeySequence(Qt::CTRL | Qt::Key_F2),
        [this] { insertColorValue(); });
    add(edit, QStringLiteral("Co&mment Block"), ID_COMMENT_BLOCK, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
        onView(&CVarnIdeView::commentBlock));
    add(edit, QStringLiteral("&Uncomment Block"), ID_UNCOMMENT_BLOCK, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_U),
        onView(&CVarnIdeView::uncommentBlock));

    view.addSeparator();
    plain(view, tr("Zoom &In"), QKeySequence::ZoomIn, [this] { if (CVarnIdeView* v = active()) v->zoomIn(); });
    plain(view, tr("Zoom &Out"), QKeySequence::ZoomOut, [this] { if (CVarnIdeView* v = active()) v->zoomOut(); });
    plain(view, tr("&Reset Zoom"), QKeySequence(Qt::CTRL | Qt::Key_0), [this] { if (CVarnIdeView* v = active()) v->zoomTo(0); });

    QAction* helpAction = help.addAction(tr("VARN &Language Help"));
    helpAction->setShortcut(QKeySequence(Qt::Key_F1));
    connect(helpAction, &QAction::triggered, this, &SourceEditorCommands::keywordHelp);

    position_ = new QLabel(&window_);
    position_->setObjectName(QStringLiteral("CaretPosition"));
    position_->setMinimumWidth(position_->fontMetrics().horizontalAdvance(QStringLiteral("Line 00000 Col 0000")));
    window_.statusBar()->addPermanentWidget(position_);
}

CFindReplaceDlg* SourceEditorCommands::findDialog() {
    if (!findDialog_) findDialog_ = new CFindReplaceDlg([this] { return active(); }, &window_);
    return findDialog_;
}

QAction* SourceEditorCommands::action(int id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

QList<CVarnIdeView::ContextItem> SourceEditorCommands::contextMenu() const {
    auto item = [](const char* text, QAction* command) { return CVarnIdeView::ContextItem{QString::fromLatin1(text), command}; };
    const CVarnIdeView::ContextItem separator;
    QList<CVarnIdeView::ContextItem> out{item("Select All", selectAll_),
                                         separator,
                                         item("Toggle Bookmark", action(ID_TOGGLE_BOOKMARK)),
                                         item("Next Bookmark", action(ID_NEXT_BOOKMARK)),
                                         item("Previous Bookmark", action(ID_PREV_BOOKMARK)),
                                         item("Clear All Bookmarks", action(ID_CLEAR_BOOKMARKS)),
                                         separator,
                                         item("Find...", find_)};
    if (findInFiles_) out << item("Find in Files...", findInFiles_);
    out << item("Find Function", action(ID_FIND_FUNCTION)) << item("Replace...", replace_) << separator;
    if (debugActions_.size() == 4) {
        const char* texts[] = {"Display Variable", "Add Variable", "Breakpoint", "Remove All Breakpoints"};
        for (std::size_t i = 0; i < 4; ++i) out << item(texts[i], debugActions_[i]);
        out << separator;
    }
    out << item("List Object Properties...", action(ID_LIST_PROPERTIES)) << item("Insert Color Value...", action(ID_INSERT_COLOR));
    return out;
}

std::vector<std::string> SourceEditorCommands::keywordsOf(const std::string& fileName) {
    auto it = keywordCache_.find(fileName);
    if (it != keywordCache_.end()) return it->second;
    auto loaded = loadKeywords(workspace_.installPath(), fileName);
    std::vector<std::string> words;
    if (loaded) words = std::move(*loaded);
    else ui_.warning(loaded.error().message);  // once per file: the cache remembers the empty list
    keywordCache_[fileName] = words;
    return words;
}

void SourceEditorCommands::setupView(CVarnIdeView& v) {
    const EditorSection section = readEditorSection(settings_, editorSectionFor(v.path()));
    v.applySettings(section, keywordsOf(section.keywordsFile), font_);
    v.setContextMenu(contextMenu(), [this] { emit commandsWanted(); });
    v.setAutoPropertyCheck([this, &v] {
        autoProperty(v);
        return true;
    });
    connect(&v, &CVarnIdeView::caretMoved, this, &SourceEditorCommands::updatePosition, Qt::UniqueConnection);
}

void SourceEditorCommands::applySettingsToAll() {
    keywordCache_.clear();
    for (CVarnIdeView* v : documents_.views()) {
        const EditorSection section = readEditorSection(settings_, editorSectionFor(v->path()));
        v->applySettings(section, keywordsOf(section.keywordsFile), font_);
    }
}

void SourceEditorCommands::setEditorFont(const QFont& font) {
    font_ = font;
    applySettingsToAll();
}

void SourceEditorCommands::updatePosition() {
    CVarnIdeView* v = active();
    const QString text = v ? v->statusText() : QString();
    if (text != positionText_ && position_) position_->setText(positionText_ = text);
}

void SourceEditorCommands::updateCommands() {
    CVarnIdeView* v = active();
    for (QAction* a : viewActions_) a->setEnabled(v != nullptr);
    const bool marks = v && v->bookmarkCount() != 0;
    for (int id : {ID_NEXT_BOOKMARK, ID_PREV_BOOKMARK, ID_CLEAR_BOOKMARKS}) actions_[id]->setEnabled(marks);
    const bool editable = v && !v->isReadOnly();
    for (int id : {ID_LIST_PROPERTIES, ID_LIST_SYMBOLS, ID_INSERT_COLOR, ID_COMMENT_BLOCK, ID_UNCOMMENT_BLOCK})
        actions_[id]->setEnabled(editable);
    for (QAction* a : writeActions_) a->setEnabled(editable);
    if (replace_) replace_->setEnabled(editable);
    updatePosition();
}

void SourceEditorCommands::findFunction() {
    CVarnIdeView* v = active();
    if (!v) return;
    FindInFiles finder(ui_, &documents_);
    const auto files = FindInFiles::projectFiles(workspace_.project().tree);
    auto found = finder.findFunction(files, v->wordAtCaret());
    if (!found) return;
    documents_.openAtLine(found->path, found->line - 1, false);
}

void SourceEditorCommands::listSymbols() {
    if (CVarnIdeView* v = active(); v && !v->isReadOnly()) v->showSymbols(symbolEntries(workspace_.symbols()));
}

void SourceEditorCommands::listProperties() {
    if (CVarnIdeView* v = active(); v && !v->isReadOnly()) v->showObjectTypes();
}

void SourceEditorCommands::autoProperty(CVarnIdeView& v) {
    if (settings_.getInt("Settings", "AllowAutoProp", 1) == 0) return;
    std::string before = v.textBeforeCaret();
    if (!before.empty() && before.back() == '.') before.pop_back();
    if (auto type = autoPropertyType(before)) v.showProperties(*type);
}

void SourceEditorCommands::insertColorValue() {
    CVarnIdeView* v = active();
    if (!v || v->isReadOnly()) return;
    const QColor c = QColorDialog::getColor(Qt::black, &window_, tr("Insert Color Value"));
    if (!c.isValid()) return;
    v->insertAtCaret(formatColour(Rgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                                      static_cast<std::uint8_t>(c.blue())}));
}

void SourceEditorCommands::keywordHelp() {
    CVarnIdeView* v = active();
    const std::string word = v ? helpKeyword(v->lineText(v->caretLine()), v->caretColumn()) : SourceTexts::kHelpFallbackKeyword;
    const auto place = helpLocation(workspace_.installPath(), word, ui_);
    if (!place) return;
    QUrl url = QUrl::fromLocalFile(q(place->file));
    if (!place->anchor.empty()) url.setFragment(q(place->anchor));
    window_.statusBar()->showMessage(q(word), 5000);
    if (!opener_(url)) ui_.warning("No program is set up to open " + place->file + ".");
}

void SourceEditorCommands::goToLine() {
    CVarnIdeView* v = active();
    if (!v) return;
    bool ok = false;
    // Any number may be typed: one past the end goes to the last line.
    const int line = QInputDialog::getInt(&window_, tr("Go To Line"), tr("Line number:"), v->caretLine() + 1, 1,
                                          std::numeric_limits<int>::max(), 1, &ok);
    if (ok) v->goToLine(line - 1);
    v->setFocus();
}

}  // namespace varn
