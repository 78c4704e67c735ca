// The "Object Properties" sheet of the form designer: a common page, the page
// of the control's kind, for a grid one page per column and an "Add New
// Column" page. Each page is checked by core's rules when the user leaves it;
// OK hands the values to the designer, which records the change for undo.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "form/CVARNFBControl.h"
#include "form/PropertyPages.h"

class QTabWidget;

namespace varn {

class CMainFrame;
class FormDesigner;
class SettingsStore;
class Ui;

// What the sheet takes from the project.
struct PropertySheetContext {
    Ui* ui = nullptr;
    // "Settings"/"AutoDupCheck".
    bool autoDupCheck = true;
    // The project-wide single-name check with its messages; may be empty.
    std::function<bool(const CVARNFBControl& control, const std::string& name, const std::string& list)> duplicate;
    // Base names of the project's images, and the pixel size of one by name.
    std::vector<std::string> images;
    std::function<std::optional<std::pair<int, int>>(const std::string& image)> imageSize;
    // Names of the project's menu bars.
    std::vector<std::string> menuBars;
    // Finds the invoker function in the project's sources and shows it; it
    // reports a function that is not there.
    std::function<void(const std::string& name)> goToInvoker;

    // The open project of the main window.
    static PropertySheetContext forMainFrame(CMainFrame& frame, Ui& ui, const SettingsStore& settings);
};

class CVARNfbPropertySheet : public QDialog {
    Q_OBJECT
public:
    CVARNfbPropertySheet(FormDesigner& designer, CVARNFBControl& control, PropertySheetContext context,
                         QWidget* parent = nullptr);
    ~CVARNfbPropertySheet() override;

    // Opens the sheet on the designer's dominant control; true when OK
    // changed the form (the change is on the designer's undo list).
    static bool edit(QWidget* parent, FormDesigner& designer, const PropertySheetContext& context);

    QTabWidget* tabs() const { return tabs_; }
    // A field of a page by its label ("Name", "Array Size", ...), or the
    // button beside a field by its label and "..." ("Invokes..."); null when
    // the page has none.
    QWidget* field(int page, const QString& label) const;
    // Leaves the current page for another: false (and the page stays) when a
    // field of the current page is not valid.
    bool switchTo(int page);
    void accept() override;

private:
    struct Page;
    void buildPages();
    void addCommonPage();
    void addKindPage();
    void addGridPage();
    void addColumnPage(int column, const CVARNFBControl* original);
    void rebuildColumnPages();
    void tabChanged(int index);
    // Writes the page's fields back and checks them: the field to go back
    // to, or null when the page may be left.
    QWidget* faultyField(int index);
    void goToInvoker(const QString& fieldText, const QString& invokesText);
    void editList(CVARNFBControl& record, int kindCode, const QString& listName);
    PropertyChecks checks() const;

    FormDesigner& designer_;
    CVARNFBControl& control_;
    PropertySheetContext context_;
    CVARNFBControl work_;
    QTabWidget* tabs_ = nullptr;
    std::vector<std::unique_ptr<Page>> pages_;
    int current_ = 0;
    int arraySize_ = 1;
    bool switching_ = false;
    bool columnsStale_ = false;
};

}  // namespace varn
