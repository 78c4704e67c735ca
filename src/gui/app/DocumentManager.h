// The document windows of the main frame: a file opens in the editor that
// handles its kind (the form designer) or in the pane of its template (bitmaps
// and icons in the image editor), else in a source view; text documents are
// edited and saved byte-exact. It tracks modification, read-only files, first
// saves of new documents and the markers the frame asks for.
#pragma once

#include <QPointer>
#include <QString>

#include <functional>
#include <map>

#include "app/DocumentEditor.h"
#include "app/DocumentWindows.h"
#include "app/Ui.h"
#include "editor/SourceCommands.h"

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace varn {

class CVarnIdeView;
class DocumentPane;
class Ui;

class DocumentManager : public DocumentWindows {
public:
    static constexpr const char* kReadOnlySave = SourceTexts::kReadOnlySave;
    static constexpr const char* kReadOnlySuffix = SourceTexts::kReadOnlyTitleSuffix;

    // Asks whether to save the changes of a document: Yes, No or Cancel.
    using SaveQuestion = std::function<Answer(const std::string& path)>;

    DocumentManager(QMdiArea& area, Ui& ui);
    ~DocumentManager() override;

    bool isOpen(const std::string& path) const override;
    bool isModified(const std::string& path) const override;
    bool save(const std::string& path) override;
    std::optional<std::string> text(const std::string& path) const override;
    std::vector<std::string> modifiedDocuments() const override;
    bool saveAllModified() override;
    bool open(const std::string& path, bool newForm) override;
    CVARNfbDoc* openForm(const std::string& path) override;

    bool openAtLine(const std::string& path, int line, bool errorMarker) override;
    void closeAll() override;
    std::string activePath() const override;

    // Saves the document under another name, asking for it when `newPath` is
    // empty; the window follows the new name. False when cancelled or failed.
    bool saveAs(const std::string& path, const std::string& newPath = {});
    // The File menu's Save and Save As on the active document.
    bool saveActive();
    bool saveActiveAs();
    // The active document can be saved (it is of a text template).
    bool activeSavable() const;

    // An editor's window: closing it asks to save a modified document.
    void watchWindow(QMdiSubWindow* w);
    // An editor that opens the files it handles instead of a source view.
    void addEditor(DocumentEditor* editor) { editors_.push_back(editor); }
    // The editor that opens the file; null for a source view.
    DocumentEditor* editorFor(const std::string& path) const;

    // Replaces the question asked before a modified document is closed or
    // when all are saved (the default asks with a message box).
    void setSaveQuestion(SaveQuestion q) { saveQuestion_ = std::move(q); }

    // The view of an open file; null when none is open for it.
    CVarnIdeView* view(const std::string& path) const;
    // The view of the active window; null when none is active.
    CVarnIdeView* activeView() const;
    // Every open view, in the order the windows were created.
    std::vector<CVarnIdeView*> views() const;

    // Files of a template that open in a pane of their own instead of a
    // source view: the opener makes the pane (a QWidget that is a
    // DocumentPane), or answers null when the file could not be opened.
    using PaneOpener = std::function<QWidget*(const std::string& path)>;
    void setPaneOpener(DocumentTemplate type, PaneOpener opener) { paneOpeners_[type] = std::move(opener); }
    // The pane of an open file, or of the active window; null when none.
    DocumentPane* pane(const std::string& path) const;
    DocumentPane* activePane() const;

    // Opens an empty, untitled document of a text template; its first save
    // asks for the name. C files start with the two support includes.
    CVarnIdeView* newDocument(DocumentTemplate type);
    // Called for every view as it opens (settings, breakpoints, menus).
    void setViewSetup(std::function<void(CVarnIdeView&)> f) { viewSetup_ = std::move(f); }
    // Called after a document was saved under a name for the first time.
    void setFirstSave(std::function<void(const std::string&)> f) { firstSave_ = std::move(f); }
    // Whether the debugger runs: activating a view otherwise clears its
    // current-statement and error markers.
    void setDebugging(std::function<bool()> f) { debugging_ = std::move(f); }
    // The open project's folder, where an untitled document is first saved.
    void setProjectFolder(std::function<std::string()> f) { projectFolder_ = std::move(f); }
    // Opens a file at a line (from 0) with the current-statement marker.
    bool openAtStatement(const std::string& path, int line);
    // The title a document window shows: the file name, " (read-only)" for a
    // read-only file, and a "*" while the document is modified.
    QString windowTitle(const std::string& path) const;

private:
    class CloseGuard;

    QMdiSubWindow* windowOf(const std::string& path) const;
    CVarnIdeView* openView(const std::string& path);
    bool opensAsPane(const std::string& path) const;
    QMdiSubWindow* openPane(const std::string& path);
    void updatePaneTitle(QMdiSubWindow* w);
    void addWindow(CVarnIdeView* v);
    void activated(QMdiSubWindow* w);
    bool write(CVarnIdeView& v, const std::string& path);
    void updateTitle(CVarnIdeView& v);
    // Offers to save one modified document: false when the user cancelled
    // or the save failed.
    bool saveModified(const std::string& path);
    // The path of the document shown in a window (a view's or an editor's).
    std::string pathOf(QMdiSubWindow* w) const;
    // The editor that keeps the window; null for a source view.
    DocumentEditor* editorOf(QMdiSubWindow* w) const;
    QMdiSubWindow* activeWindow() const;

    QMdiArea& area_;
    Ui& ui_;
    SaveQuestion saveQuestion_;
    QPointer<QObject> closeGuard_;
    bool closingAll_ = false;
    int untitled_ = 0;
    std::function<void(CVarnIdeView&)> viewSetup_;
    std::function<void(const std::string&)> firstSave_;
    std::function<bool()> debugging_;
    std::function<std::string()> projectFolder_;
    std::map<DocumentTemplate, PaneOpener> paneOpeners_;
    std::vector<DocumentEditor*> editors_;
};

}  // namespace varn
