// The source editor's commands on the main window: the Edit menu entries
// (bookmarks, block comments, Find Function, the pop-up lists, colour values,
// find and replace, go to line), zoom, keyword help, the view's context menu,
// the caret position in the status bar, and the colouring of every view.
#pragma once

#include <QFont>
#include <QList>
#include <QObject>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "editor/CVarnIdeView.h"

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QUrl;

namespace varn {

class CFindReplaceDlg;
class CVarnIdeView;
class DocumentManager;
class SettingsStore;
class Ui;
class VARNWorkspaceManager;

class SourceEditorCommands : public QObject {
    Q_OBJECT
public:
    static constexpr int ID_TOGGLE_BOOKMARK = SourceCommandId::ToggleBookmark;
    static constexpr int ID_NEXT_BOOKMARK = SourceCommandId::NextBookmark;
    static constexpr int ID_PREV_BOOKMARK = SourceCommandId::PreviousBookmark;
    static constexpr int ID_CLEAR_BOOKMARKS = SourceCommandId::ClearAllBookmarks;
    static constexpr int ID_FIND_FUNCTION = SourceCommandId::FindFunction;
    static constexpr int ID_LIST_PROPERTIES = SourceCommandId::ListObjectProperties;
    static constexpr int ID_LIST_SYMBOLS = SourceCommandId::ListSymbols;
    static constexpr int ID_INSERT_COLOR = SourceCommandId::InsertColorValue;
    static constexpr int ID_COMMENT_BLOCK = SourceCommandId::CommentBlock;
    static constexpr int ID_UNCOMMENT_BLOCK = SourceCommandId::UncommentBlock;


    SourceEditorCommands(QMainWindow& window, DocumentManager& documents, VARNWorkspaceManager& workspace,
                         SettingsStore& settings, Ui& ui);
    ~SourceEditorCommands() override;

    // Adds the commands to the menus and the position field to the status bar.
    void createActions(QMenu& edit, QMenu& view, QMenu& help);
    // The context menu's find-in-files and debugger entries belong to others.
    void setFindInFilesAction(QAction* a) { findInFiles_ = a; }
    void setDebugActions(std::vector<QAction*> actions) { debugActions_ = std::move(actions); }

    // Prepares a view as it opens: its section's colours, the editor font,
    // the context menu and the automatic property list.
    void setupView(CVarnIdeView& v);
    // Re-reads the editor sections and applies them, with the editor font, to every view.
    void applySettingsToAll();
    void setEditorFont(const QFont& font);
    const QFont& editorFont() const { return font_; }

    QAction* action(int id) const;
    // Enables the commands for the active view and refreshes the position text.
    void updateCommands();
    QLabel* positionLabel() const { return position_; }
    CFindReplaceDlg* findDialog();
    // How the language help is opened (default QDesktopServices::openUrl).
    void setUrlOpener(std::function<bool(const QUrl&)> f) { opener_ = std::move(f); }

    // The commands, on the active view.
    void findFunction();
    void listSymbols();
    void listProperties();
    void insertColorValue();
    // F1: the language help at the entry of the word at the caret.
    void keywordHelp();
    void goToLine();

signals:
    // The commands' enabled state is wanted (a context menu opens).
    void commandsWanted();

private:
    CVarnIdeView* active() const;
    QAction* add(QMenu& menu, const QString& text, int id, const QKeySequence& key, std::function<void()> slot);
    void onView(void (CVarnIdeView::*command)());
    std::vector<std::string> keywordsOf(const std::string& fileName);
    void autoProperty(CVarnIdeView& v);
    void updatePosition();
    QList<CVarnIdeView::ContextItem> contextMenu() const;

    QMainWindow& window_;
    DocumentManager& documents_;
    VARNWorkspaceManager& workspace_;
    SettingsStore& settings_;
    Ui& ui_;
    QFont font_;
    std::map<int, QAction*> actions_;
    std::map<std::string, std::vector<std::string>> keywordCache_;
    QAction* find_ = nullptr;
    QAction* replace_ = nullptr;
    QAction* selectAll_ = nullptr;
    QAction* findInFiles_ = nullptr;
    std::vector<QAction*> debugActions_;
    std::vector<QAction*> viewActions_;   // need a source view
    std::vector<QAction*> writeActions_;  // need a source view that can be changed
    QLabel* position_ = nullptr;
    QString positionText_;
    CFindReplaceDlg* findDialog_ = nullptr;
    std::function<bool(const QUrl&)> opener_;
};

}  // namespace varn
