#include "editor/CVarnIdeView.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include <algorithm>
#include <memory>
#include <cctype>

#include "editor/SourceCommands.h"
#include "editor/VarnLexer.h"
#include "expr/ObjectTypeTable.h"

namespace varn {

namespace {

bool validUtf8(const std::string& s) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || (extra == 1 && c < 0xC2)) return false;
        if (i + static_cast<std::size_t>(extra) >= n && extra > 0) return false;
        for (int k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) & 0xC0) != 0x80) return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

// The engine's line-end mode for new lines: the file's own, CR LF by default.
int eolModeOf(const std::string& bytes) {
    if (bytes.find("\r\n") != std::string::npos) return QsciScintilla::SC_EOL_CRLF;
    if (bytes.find('\n') != std::string::npos) return QsciScintilla::SC_EOL_LF;
    return QsciScintilla::SC_EOL_CRLF;
}

constexpr int kStatementBackground = 6;  // paints the stopped line; follows flag 16
constexpr int kErrorBackground = 7;      // paints the error line; follows flag 32

}  // namespace

CVarnIdeView::CVarnIdeView(std::string path, QWidget* parent) : QsciScintilla(parent), doc_(std::move(path)) {
    setObjectName(QStringLiteral("SourceView"));
    setUtf8(false);
    setWrapMode(WrapNone);
    setEolVisibility(false);
    setCaretLineVisible(true);
    // Translucent, so that the stopped line and the error line show through.
    setCaretLineBackgroundColor(QColor(0x9C, 0xB8, 0xE8));
    SendScintilla(SCI_SETCARETLINEBACKALPHA, 50UL);
    setBraceMatching(SloppyBraceMatch);
    setAutoIndent(true);
    setFolding(BoxedTreeFoldStyle, 2);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1L);

    // Margins: line numbers, the flags, folding.
    setMarginLineNumbers(0, true);
    setMarginWidth(0, QStringLiteral("00000"));
    setMarginType(1, SymbolMargin);
    setMarginWidth(1, 16);
    setMarginMarkerMask(1, kFlagMask);
    setMarginSensitivity(1, true);
    markerDefine(Bookmark, 2);
    setMarkerBackgroundColor(QColor(0x3D, 0x7E, 0xDB), 2);
    setMarkerForegroundColor(QColor(0x1F, 0x4E, 0x99), 2);
    markerDefine(Circle, 3);
    setMarkerBackgroundColor(QColor(0xC8, 0x10, 0x10), 3);
    setMarkerForegroundColor(QColor(0x80, 0x00, 0x00), 3);
    markerDefine(RightArrow, 4);
    setMarkerBackgroundColor(QColor(0xFF, 0xD7, 0x00), 4);
    setMarkerForegroundColor(QColor(0x80, 0x60, 0x00), 4);
    markerDefine(RightTriangle, 5);
    setMarkerBackgroundColor(QColor(0xE0, 0x40, 0x40), 5);
    markerDefine(Background, kStatementBackground);
    setMarkerBackgroundColor(QColor(0xFF, 0xF3, 0xA0), kStatementBackground);
    markerDefine(Background, kErrorBackground);
    setMarkerBackgroundColor(QColor(0xFF, 0xD8, 0xD8), kErrorBackground);

    // Keys the IDE's commands use are not the engine's.
    for (const QKeySequence& key : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_U), QKeySequence(Qt::CTRL | Qt::Key_Space)})
        if (QsciCommand* c = standardCommands()->boundTo(key[0].toCombined())) {
            if (c->key() == key[0].toCombined()) c->setKey(0);
            else c->setAlternateKey(0);
        }

    lexer_ = new VarnLexer(this);
    setLexer(lexer_);
    if (!editable()) setReadOnly(true);

    connect(this, &QsciScintilla::userListActivated, this, &CVarnIdeView::onUserList);
    connect(this, &QsciScintilla::SCN_CHARADDED, this, &CVarnIdeView::onCharAdded);
    connect(this, &QsciScintilla::cursorPositionChanged, this, [this] { emit caretMoved(); });
    connect(this, &QsciScintilla::marginClicked, this, [this](int margin, int line, Qt::KeyboardModifiers) {
        if (margin != 1) return;
        setCursorPosition(line, 0);
        toggleBookmark();
    });
}

CVarnIdeView::~CVarnIdeView() = default;

void CVarnIdeView::load(const std::string& bytes) {
    const bool utf8 = validUtf8(bytes);
    setUtf8(utf8);
    SendScintilla(SCI_SETEOLMODE, static_cast<unsigned long>(eolModeOf(bytes)));
    const bool ro = isReadOnly();
    setReadOnly(false);
    SendScintilla(SCI_CLEARALL);
    if (!bytes.empty()) SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(bytes.size()), bytes.data());
    setReadOnly(ro);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_SETSAVEPOINT);
    SendScintilla(SCI_GOTOPOS, 0L);
    setMarginWidth(0, QString(QString::number(std::max(lines(), 999)).size() + 1, QLatin1Char('0')));
    errorLine_ = statementLine_ = -1;
    doc_.bookmarkCount = 0;
}

std::string CVarnIdeView::bytes() const {
    const long length = SendScintilla(SCI_GETLENGTH);
    std::string out(static_cast<std::size_t>(length) + 1, '\0');
    SendScintilla(SCI_GETTEXT, static_cast<unsigned long>(length + 1), out.data());
    out.resize(static_cast<std::size_t>(length));
    return out;
}

void CVarnIdeView::setModified(bool on) {
    if (!on) SendScintilla(SCI_SETSAVEPOINT);
    else QsciScintilla::setModified(true);
}

void CVarnIdeView::replaceAllBytes(const std::string& bytes) {
    if (bytes.empty() && length() == 0) return;
    setUtf8(validUtf8(bytes));
    SendScintilla(SCI_SETEOLMODE, static_cast<unsigned long>(eolModeOf(bytes)));
    const bool ro = isReadOnly();
    setReadOnly(false);
    SendScintilla(SCI_TARGETWHOLEDOCUMENT);
    SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(bytes.size()), bytes.data());
    setReadOnly(ro);
    SendScintilla(SCI_GOTOPOS, 0L);
}

std::string CVarnIdeView::lineText(int line) const {
    if (line < 0 || line >= lines()) return {};
    const long from = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const long to = SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
    std::string out(static_cast<std::size_t>(to - from) + 1, '\0');
    const long got = SendScintilla(SCI_GETLINE, static_cast<unsigned long>(line), out.data());
    out.resize(static_cast<std::size_t>(std::min(got, to - from)));
    return out;
}

int CVarnIdeView::caretLine() const {
    const long pos = SendScintilla(SCI_GETCURRENTPOS);
    return static_cast<int>(SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(pos)));
}

int CVarnIdeView::caretColumn() const {
    const long pos = SendScintilla(SCI_GETCURRENTPOS);
    return static_cast<int>(SendScintilla(SCI_GETCOLUMN, static_cast<unsigned long>(pos)));
}

void CVarnIdeView::applySettings(const EditorSection& section, const std::vector<std::string>& keywords,
                                 const QFont& font) {
    const bool restyle = lexer_->configure(section, keywords);
    lexer_->setBaseFont(font);
    if (restyle) {
        // The engine takes the new word characters; the text is styled anew
        // only as it comes into view (styling from the top down to the lines
        // shown), never the whole file at once.
        SendScintilla(SCI_SETWORDCHARS, lexer_->wordCharacters());
        SendScintilla(SCI_STARTSTYLING, 0UL);
    }
    setMarginsFont(font);
    setTabWidth(std::clamp(section.tabSize, 1, 32));
    setIndentationsUseTabs(section.keepTabs);
    setWhitespaceVisibility(section.showTabs ? WsVisible : WsInvisible);
    setMarginWidth(0, QString(QString::number(std::max(lines(), 999)).size() + 1, QLatin1Char('0')));
    viewport()->update();
}

void CVarnIdeView::jumpTo(int line) {
    const int first = firstVisibleLine();
    const int shown = static_cast<int>(SendScintilla(SCI_LINESONSCREEN));
    const bool offScreen = line < first || line >= first + shown;
    ensureLineVisible(line);
    setCursorPosition(line, 0);
    if (offScreen) SendScintilla(SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(std::max(0, line - shown / 2)));
}

void CVarnIdeView::goToLine(int line) { jumpTo(std::clamp(line, 0, std::max(0, lines() - 1))); }

int CVarnIdeView::lineFlags(int line) const {
    return static_cast<int>(const_cast<CVarnIdeView*>(this)->markersAtLine(line)) & kFlagMask;
}

void CVarnIdeView::setLineFlag(int line, int flag, bool on) {
    if (line < 0 || line >= lines()) return;
    int marker = 0;
    while ((1 << marker) != flag) ++marker;
    const bool has = (lineFlags(line) & flag) != 0;
    if (has == on) return;
    // The stopped line and the error line are also painted across the text.
    const int background = flag == kCurrentStatement ? kStatementBackground : flag == kErrorLine ? kErrorBackground : -1;
    if (on) {
        markerAdd(line, marker);
        if (background >= 0) markerAdd(line, background);
    } else {
        markerDelete(line, marker);
        if (background >= 0) markerDelete(line, background);
    }
}

std::vector<int> CVarnIdeView::linesWithFlag(int flag) const {
    std::vector<int> out;
    auto* self = const_cast<CVarnIdeView*>(this);
    for (int line = self->markerFindNext(0, flag); line >= 0; line = self->markerFindNext(line + 1, flag))
        out.push_back(line);
    return out;
}

void CVarnIdeView::setSingleLineMarker(int& remembered, int line, int flag) {
    if (remembered >= 0) setLineFlag(remembered, flag, false);
    // The marker moves with edits; clear wherever it went.
    for (int l : linesWithFlag(flag)) setLineFlag(l, flag, false);
    remembered = line < lines() ? line : -1;
    if (remembered >= 0) setLineFlag(remembered, flag, true);
}

void CVarnIdeView::setErrorLine(int line) { setSingleLineMarker(errorLine_, line, kErrorLine); }

void CVarnIdeView::setCurrentStatementLine(int line) { setSingleLineMarker(statementLine_, line, kCurrentStatement); }

void CVarnIdeView::toggleBookmark() {
    const int line = caretLine();
    const bool on = (lineFlags(line) & kBookmark) == 0;
    setLineFlag(line, kBookmark, on);
    doc_.bookmarkCount += on ? 1 : -1;
}

void CVarnIdeView::nextBookmark() {
    if (auto line = nextFlaggedLine(linesWithFlag(kBookmark), caretLine(), true)) jumpTo(*line);
}

void CVarnIdeView::previousBookmark() {
    if (auto line = nextFlaggedLine(linesWithFlag(kBookmark), caretLine(), false)) jumpTo(*line);
}

void CVarnIdeView::clearAllBookmarks() {
    markerDeleteAll(2);
    doc_.bookmarkCount = 0;
}

void CVarnIdeView::toggleBreakpoint() {
    const int line = caretLine();
    setLineFlag(line, kBreakpoint, (lineFlags(line) & kBreakpoint) == 0);
}

BlockCommentPlan CVarnIdeView::commentPlan() const {
    TextSelection sel;
    getSelection(&sel.startLine, &sel.startCol, &sel.endLine, &sel.endCol);
    sel.hasSelection = hasSelectedText();
    return blockCommentLines(sel, caretLine());
}

void CVarnIdeView::commentBlock() {
    const BlockCommentPlan plan = commentPlan();
    beginUndoAction();
    for (int line : plan.lines) {
        const long pos = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
        SendScintilla(SCI_INSERTTEXT, static_cast<unsigned long>(pos), "#");
    }
    endUndoAction();
    if (hasSelectedText()) setCursorPosition(plan.caretLine, 0);
}

void CVarnIdeView::uncommentBlock() {
    const BlockCommentPlan plan = commentPlan();
    beginUndoAction();
    for (int line : plan.lines) {
        if (!uncommentable(lineText(line))) continue;
        const long pos = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
        SendScintilla(SCI_DELETERANGE, static_cast<unsigned long>(pos), 1L);
    }
    endUndoAction();
    if (hasSelectedText()) setCursorPosition(plan.caretLine, 0);
}

QString CVarnIdeView::statusText() const {
    return QString::fromStdString(caretStatusText(caretLine() + 1, caretColumn()));
}

std::string CVarnIdeView::wordAtCaret() const {
    return varn::wordAtCaret(lineText(caretLine()), caretColumn());
}

std::string CVarnIdeView::textBeforeCaret() const {
    const long pos = SendScintilla(SCI_GETCURRENTPOS);
    std::string out(static_cast<std::size_t>(pos) + 1, '\0');
    SendScintilla(SCI_GETTEXTRANGE, 0UL, static_cast<long>(pos), out.data());
    out.resize(static_cast<std::size_t>(pos));
    return out;
}

void CVarnIdeView::showList(int id, const std::vector<std::string>& entries, int selected) {
    if (entries.empty()) return;
    std::string joined;
    for (const std::string& e : entries) {
        if (!joined.empty()) joined += '\n';
        joined += e;
    }
    SendScintilla(SCI_AUTOCSETSEPARATOR, static_cast<unsigned long>('\n'));
    // Shown in the order given; the engine keeps its own sorted index for typing.
    SendScintilla(SCI_AUTOCSETORDER, static_cast<unsigned long>(SC_ORDER_CUSTOM));
    SendScintilla(SCI_AUTOCSETMAXHEIGHT, static_cast<unsigned long>(std::min<std::size_t>(entries.size() + 1, PopupList::kPropertyListLines)));
    SendScintilla(SCI_AUTOCSETMAXWIDTH, id == PopupList::kSymbolsId ? PopupList::kSymbolListChars : PopupList::kPropertyListChars);
    SendScintilla(SCI_AUTOCSETIGNORECASE, 1L);
    SendScintilla(SCI_USERLISTSHOW, static_cast<unsigned long>(id), joined.c_str());
    if (selected > 0 && selected < static_cast<int>(entries.size()))
        SendScintilla(SCI_AUTOCSELECT, 0UL, entries[static_cast<std::size_t>(selected)].c_str());
}

void CVarnIdeView::showObjectTypes() { showList(PopupList::kObjectTypesId, objectTypeNames(), 0); }

void CVarnIdeView::showProperties(const std::string& objectType) {
    if (objectType == "object") {  // names no single type: let the user pick one
        showObjectTypes();
        return;
    }
    showList(PopupList::kPropertiesId, propertiesOf(objectType), 0);
}

void CVarnIdeView::showSymbols(const std::vector<std::string>& entries) {
    const SymbolWord word = symbolWordAt(lineText(caretLine()), caretColumn());
    symbolLine_ = caretLine();
    symbolWord_ = {word.start, word.end};
    symbolEntries_ = entries;
    typeAhead_.clear();
    showList(PopupList::kSymbolsId, entries, initialSelection(entries, word.prefix));
}

void CVarnIdeView::keyPressEvent(QKeyEvent* e) {
    if (!isListActive()) symbolEntries_.clear();
    const QString typed = e->text();
    const bool character = typed.size() == 1 && typed.at(0).isPrint() && !(e->modifiers() & Qt::ControlModifier);
    const bool backspace = e->key() == Qt::Key_Backspace;
    if (symbolEntries_.empty() || !(character || backspace)) {
        QsciScintilla::keyPressEvent(e);
        return;
    }
    // Type-ahead: the selection moves to the first entry not less than what was typed.
    if (backspace) {
        if (!typeAhead_.empty()) typeAhead_.pop_back();
    } else {
        typeAhead_ += typed.toLower().toStdString();
    }
    const int at = std::max(0, initialSelection(symbolEntries_, typeAhead_));
    if (at < static_cast<int>(symbolEntries_.size()))
        SendScintilla(SCI_AUTOCSELECT, 0UL, symbolEntries_[static_cast<std::size_t>(at)].c_str());
    e->accept();
}

void CVarnIdeView::insertAtCaret(const std::string& text) {
    const QString t = isUtf8() ? QString::fromStdString(text) : QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    insert(t);
    const long pos = SendScintilla(SCI_GETCURRENTPOS);
    SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(pos + static_cast<long>(text.size())));
}

void CVarnIdeView::onUserList(int id, const QString& text) {
    const std::string chosen = isUtf8() ? text.toStdString() : text.toLatin1().toStdString();
    if (id == PopupList::kObjectTypesId) {
        // The type's properties take the list's place.
        QMetaObject::invokeMethod(this, [this, chosen] { showProperties(chosen); }, Qt::QueuedConnection);
        return;
    }
    if (id == PopupList::kPropertiesId) {
        insertAtCaret(chosen);
        return;
    }
    if (id == PopupList::kSymbolsId) {
        symbolEntries_.clear();
        // The word typed so far is replaced by the entry's name.
        const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(symbolLine_));
        const long lineEnd = SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(symbolLine_));
        const long from = std::min(lineEnd, lineStart + symbolWord_.first);
        const long to = std::min(lineEnd, lineStart + symbolWord_.second);
        SendScintilla(SCI_SETSEL, static_cast<unsigned long>(from), to);
        SendScintilla(SCI_REPLACESEL, 0UL, "");
        insertAtCaret(insertionText(chosen));
    }
}

void CVarnIdeView::onCharAdded(int ch) {
    if (ch != '.' || !autoProperty_) return;
    // After the engine has finished with the key, which would close a list
    // opened while it is still inserting the character.
    QMetaObject::invokeMethod(this, [this] { autoProperty_(); }, Qt::QueuedConnection);
}

QMenu* CVarnIdeView::createContextMenu() {
    if (contextRefresh_) contextRefresh_();
    auto* menu = new QMenu(this);
    for (const ContextItem& item : contextItems_) {
        if (!item.command) {
            menu->addSeparator();
            continue;
        }
        QAction* entry = menu->addAction(item.text);
        entry->setEnabled(item.command->isEnabled());
        connect(entry, &QAction::triggered, item.command, &QAction::trigger);
    }
    return menu;
}

void CVarnIdeView::contextMenuEvent(QContextMenuEvent* e) {
    if (contextItems_.isEmpty()) {
        QsciScintilla::contextMenuEvent(e);
        return;
    }
    std::unique_ptr<QMenu> menu(createContextMenu());
    menu->exec(e->globalPos());
}

}  // namespace varn
