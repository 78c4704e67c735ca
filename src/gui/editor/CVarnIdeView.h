// The source view: VARN sources, C files, headers and other text files in the
// text engine, kept byte-exact; the line flags (bookmark, breakpoint, current
// statement, error line) as margin markers; the editor commands the IDE adds.
#pragma once

#include <Qsci/qsciscintilla.h>

#include <QList>
#include <QPointer>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "editor/ColouringSettings.h"
#include "editor/SourceCommands.h"
#include "project/OpenDocuments.h"

class QAction;
class QMenu;

namespace varn {

class VarnLexer;

// The document of a source view: its file, its kind and its bookmark count.
class CVarnIdeDoc {
public:
    explicit CVarnIdeDoc(std::string path) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }
    void setPath(std::string path) { path_ = std::move(path); }
    DocumentTemplate documentTemplate() const { return documentTemplateOfFile(path_); }
    // The document can be changed (a text template).
    bool editable() const { return documentTemplateInfo(documentTemplate()).text; }
    int bookmarkCount = 0;
    bool untitled = false;  // never saved: the first save asks for a name

private:
    std::string path_;
};

class CVarnIdeView : public QsciScintilla {
    Q_OBJECT
public:
    // The line flags; each is the engine marker of the same bit.
    static constexpr int kBookmark = LineFlag::Bookmark;
    static constexpr int kBreakpoint = LineFlag::Breakpoint;
    static constexpr int kCurrentStatement = LineFlag::CurrentStatement;
    static constexpr int kErrorLine = LineFlag::ErrorLine;
    static constexpr int kFlagMask = kBookmark | kBreakpoint | kCurrentStatement | kErrorLine;

    explicit CVarnIdeView(std::string path, QWidget* parent = nullptr);
    ~CVarnIdeView() override;

    CVarnIdeDoc& doc() { return doc_; }
    const CVarnIdeDoc& doc() const { return doc_; }
    const std::string& path() const { return doc_.path(); }
    void setPath(std::string path) { doc_.setPath(std::move(path)); }
    DocumentTemplate documentTemplate() const { return doc_.documentTemplate(); }
    bool editable() const { return doc_.editable(); }

    // Shows the bytes of a file, not modified. Valid UTF-8 is shown as such,
    // anything else byte for byte; either way the bytes stay as they were.
    void load(const std::string& bytes);
    // Puts `bytes` in place of the whole text as one edit, which Undo takes
    // back; the document is modified afterwards (a recovered copy).
    void replaceAllBytes(const std::string& bytes);
    // The text as file bytes.
    std::string bytes() const;
    bool modified() const { return isModified(); }
    void setModified(bool on);
    int lineCount() const { return lines(); }
    // The bytes of a line without its line end.
    std::string lineText(int line) const;
    int caretLine() const;
    int caretColumn() const;

    // Colours, keywords, tabs and font of the view's editor section.
    void applySettings(const EditorSection& section, const std::vector<std::string>& keywords, const QFont& font);
    VarnLexer* lexerOfView() const { return lexer_; }

    // Moves the caret to `line` (from 0), centring it when it was off screen.
    void goToLine(int line);

    // The flags word of a line (bits 4, 8, 16, 32).
    int lineFlags(int line) const;
    void setLineFlag(int line, int flag, bool on);
    // Lines (from 0) that carry `flag`.
    std::vector<int> linesWithFlag(int flag) const;
    // One error line and one current-statement line per view: marking a new
    // line clears the old one; -1 clears without marking.
    int errorLine() const { return errorLine_; }
    void setErrorLine(int line);
    int currentStatementLine() const { return statementLine_; }
    void setCurrentStatementLine(int line);

    // Bookmarks of the caret line and the document.
    void toggleBookmark();
    void nextBookmark();
    void previousBookmark();
    void clearAllBookmarks();
    int bookmarkCount() const { return doc_.bookmarkCount; }
    // Breakpoint (flag 8) of the caret line.
    void toggleBreakpoint();

    void commentBlock();
    void uncommentBlock();
    // "Line %d Col %d" / "Ln %d Col %d" of the caret.
    QString statusText() const;
    // The word at the caret: letters, digits and "_" (Find Function and keyword help use it).
    std::string wordAtCaret() const;
    // The document's bytes up to the caret.
    std::string textBeforeCaret() const;

    // The pop-up lists: object types, a type's properties, the symbol list.
    void showObjectTypes();
    void showProperties(const std::string& objectType);
    void showSymbols(const std::vector<std::string>& entries);
    // Inserts text at the caret.
    void insertAtCaret(const std::string& text);

    // One entry of the context menu: its text and the command it runs (a
    // null command is a separator). `refresh` brings the commands' enabled
    // state up to date before the menu shows.
    struct ContextItem {
        QString text;
        QAction* command = nullptr;
    };
    void setContextMenu(QList<ContextItem> items, std::function<void()> refresh) {
        contextItems_ = std::move(items);
        contextRefresh_ = std::move(refresh);
    }
    // The context menu as it would show now (the caller owns it).
    QMenu* createContextMenu();
    // Asked when "." is typed: open the property list (automatic property detection).
    void setAutoPropertyCheck(std::function<bool()> f) { autoProperty_ = std::move(f); }

signals:
    // The caret moved or the text changed: the status text may have changed.
    void caretMoved();

protected:
    void contextMenuEvent(QContextMenuEvent* e) override;
    // While the symbol list is open, typed characters go to the list.
    void keyPressEvent(QKeyEvent* e) override;

private:
    void onUserList(int id, const QString& text);
    void onCharAdded(int ch);
    BlockCommentPlan commentPlan() const;
    void setSingleLineMarker(int& remembered, int line, int flag);
    void jumpTo(int line);
    void showList(int id, const std::vector<std::string>& entries, int selected);

    CVarnIdeDoc doc_;
    VarnLexer* lexer_ = nullptr;
    int errorLine_ = -1;
    int statementLine_ = -1;
    int symbolLine_ = 0;
    std::pair<int, int> symbolWord_;  // columns of the word the symbol list replaces
    std::vector<std::string> symbolEntries_;  // the open symbol list's entries; empty when none is open
    std::string typeAhead_;                   // what was typed into the open symbol list
    QList<ContextItem> contextItems_;
    std::function<void()> contextRefresh_;
    std::function<bool()> autoProperty_;
};

}  // namespace varn
