// The form designer on the main window: opens form files in designer windows
// for the document manager, installs the form menu, the "Form Controls" and
// "Form Layout" toolbars with the object selector, the zoom entries of the
// View menu and the status text, and runs each command on the active form
// through core's FormDesigner. The system clipboard carries the designer's block.
#pragma once

#include <QObject>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/DocumentEditor.h"
#include "form/FormDesigner.h"

class QAction;
class QComboBox;
class QLabel;
class QMainWindow;
class QMdiArea;
class QMenu;
class QMenuBar;
class QToolBar;

namespace varn {

class CVARNfbFrm;
class CVARNfbView;
class DocumentManager;
class ProjectCommands;
class ProjectImages;
class Ui;
class VARNWorkspaceManager;

// The designer's block on the system clipboard, under its own MIME type.
class SystemFormClipboard : public DesignerClipboard {
public:
    static QString mimeType();
    bool holdsBlock() const override;
    std::optional<std::string> readBlock(unsigned& errorCode) override;
    void writeBlock(std::string bytes) override;
};

class FormCommands : public QObject, public DocumentEditor {
    Q_OBJECT
public:
    using PropertiesHandler = std::function<void(CVARNfbView&)>;
    // Asks for the grid spacing, starting from the current one; nothing when cancelled.
    using SpacingAsker = std::function<std::optional<int>(int current)>;

    FormCommands(QMainWindow& window, QMdiArea& area, DocumentManager& documents, VARNWorkspaceManager& workspace,
                 ProjectCommands& commands, Ui& ui);
    ~FormCommands() override;

    // The form menu goes in front of `before`; the toolbars after the others;
    // the zoom and toolbar entries at the end of `view`.
    void createActions(QMenuBar& bar, QAction* before, QMenu& view);
    QAction* action(DesignerCommand command) const;
    QMenu* formMenu() const { return menu_; }
    QToolBar* controlsBar() const { return controlsBar_; }
    QToolBar* layoutBar() const { return layoutBar_; }
    QComboBox* objectSelector() const { return selector_; }

    // Double-click on the dominant control and Enter (nothing by default).
    void setPropertiesHandler(PropertiesHandler handler) { properties_ = std::move(handler); }
    void setSpacingAsker(SpacingAsker asker) { askSpacing_ = std::move(asker); }
    // Called after a form was saved under a name for the first time.
    void setFirstSave(std::function<void(const std::string&)> f) { firstSave_ = std::move(f); }
    // Called for every designer window as it opens (the recovery journal follows it).
    void setViewOpened(std::function<void(CVARNfbView&, CVARNfbFrm&)> f) { viewOpened_ = std::move(f); }
    // Opens a recovered copy of a form (its file, or a new untitled form when
    // `path` is empty) in a designer window, modified; an unmodified window of
    // the file makes way for it. Null when the copy cannot be read.
    CVARNfbView* openRecovered(const std::string& path, const std::string& bytes);
    // The form of this path was never saved (its name is a placeholder).
    bool isUntitled(const std::string& path) const;

    // The designer of the active window; null when it is not a form.
    CVARNfbView* activeView() const;
    CVARNfbView* view(const std::string& path) const;
    // File > New > "VARN Form": an untitled form with its frame; its first save asks for the name.
    CVARNfbView* newForm();
    // Runs a command on the active form.
    bool run(DesignerCommand command);
    void updateCommands();

    // DocumentEditor
    bool handles(const std::string& path) const override;
    QMdiSubWindow* open(const std::string& path, bool isNew) override;
    QMdiSubWindow* windowOf(const std::string& path) const override;
    std::vector<std::string> openPaths() const override;
    bool isModified(const std::string& path) const override;
    bool save(const std::string& path) override;
    bool saveAs(const std::string& path, const std::string& target, bool ask = true) override;
    CVARNfbDoc* openForm(const std::string& path) override;

private:
    std::vector<CVARNfbFrm*> frames() const;
    CVARNfbFrm* frameOf(const CVARNfbView& view) const;
    CVARNfbFrm* addFrame(CVARNfbView* view, const std::string& path);
    void viewChanged(CVARNfbView& view);
    void fillSelector();
    void selectorChosen(int index);
    void gridChanged(CVARNfbView& source);
    void askSpacing();
    void zoomBy(int step);
    QAction* addCommand(QMenu& menu, DesignerCommand command);

    QMainWindow& window_;
    QMdiArea& area_;
    DocumentManager& documents_;
    VARNWorkspaceManager& workspace_;
    ProjectCommands& commands_;
    Ui& ui_;
    SystemFormClipboard clipboard_;
    std::unique_ptr<ProjectImages> images_;
    std::map<DesignerCommand, QAction*> actions_;
    std::vector<QAction*> zoomActions_;
    QMenu* menu_ = nullptr;
    QToolBar* controlsBar_ = nullptr;
    QToolBar* layoutBar_ = nullptr;
    QComboBox* selector_ = nullptr;
    QLabel* status_ = nullptr;
    PropertiesHandler properties_;
    SpacingAsker askSpacing_;
    std::function<void(const std::string&)> firstSave_;
    std::function<void(CVARNfbView&, CVARNfbFrm&)> viewOpened_;
    std::vector<std::string> untitled_;  // paths of forms not yet saved
    int untitledCount_ = 0;
};

}  // namespace varn
