// The project commands of the main frame and the project bar: Add Files,
// Remove Project Item, Update Includes, saving the project's sources, New,
// Open and Close Project, the two project toggles, Save All and what the IDE
// does when its main window closes. Every message and file chooser goes
// through the Ui; the open documents are reached through OpenDocuments.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "project/DuplicateCheck.h"
#include "project/OpenDocuments.h"
#include "project/ProjectTree.h"

namespace varn {

class Ui;
class SettingsStore;
class VARNWorkspaceManager;
struct ProjectModel;

// Rebuilds the "Includes" and "Header Files" items of the tree from its
// application file and its C files. The text of a file open in `documents` is
// taken from its document, any other from the disk; `documents` may be null.
void refreshIncludes(ProjectTree& tree, const OpenDocuments* documents);

class ProjectCommands {
public:
    // The file types offered by the chooser: the menu's "Add Files..." offers
    // them all, each entry of the tree's context menu one.
    enum class AddFilter { All, Form, Bitmap, Icon, Package, CFile, Header };

    static constexpr const char* kCouldNotCreateFile = "Could not create file.";
    static constexpr const char* kFormsInV2 =
        "Form files are not permitted when version 2 compatibility mode is enabled.";
    static constexpr const char* kBitmapName = "Bitmap file names must follow VARN variable naming rules.";
    static constexpr const char* kIconExists =
        "An Icon file already exists with this name. Please use another bitmap name or remove the Icon.";
    static constexpr const char* kIconName = "Icon file names must follow VARN variable naming rules.";
    static constexpr const char* kBitmapExists =
        "A bitmap file already exists with this name. Please use another icon name or remove the bitmap.";
    static constexpr const char* kAddedByInclude =
        "This file type gets added to the project by using an include statement.";
    static constexpr const char* kCannotAdd = "File type can not be added to the project.";
    static constexpr const char* kSaveSourcesQuestion =
        "Project %s sources have been updated. Would you like to save them now?";
    static constexpr const char* kCouldNotCreateProject = "Could not create the project.";
    static constexpr const char* kRetrySave = "The project was not saved. OK to try again, Cancel to keep it open.";

    static constexpr const char* kProjectFilter = "Project Files (*.vpj)|*.vpj|All Files (*.*)|*.*||";
    static constexpr const char* kSourceFilter = "Source Files (*.vsl)|*.vsl|All Files (*.*)|*.*||";
    static constexpr const char* kV2ToggleText = "Ver 2.0 Compatibility";
    static constexpr const char* kV2ToggleTip = "Check to set version 2.0 compatibility";
    static constexpr const char* kOptimizedToggleText = "Produce an application that does not require a runtime";

    // Writes a new, empty file of a kind and reports success. The defaults
    // write an empty file; the form and image documents supply their writers.
    using FileCreator = std::function<bool(const std::string& path)>;
    // Removes a menu bar item (checks its use by forms, rewrites the menu bar file).
    using MenuBarRemover = std::function<void(const PROJECT_ITEM& item)>;

    ProjectCommands(VARNWorkspaceManager& workspace, Ui& ui, SettingsStore& settings, OpenDocuments& documents);

    void setFormCreator(FileCreator f) { formCreator_ = std::move(f); }
    void setImageCreator(FileCreator f) { imageCreator_ = std::move(f); }
    void setMenuBarRemover(MenuBarRemover f) { menuBarRemover_ = std::move(f); }

    // "Check For Duplicates": the whole-project name check.
    bool checkForDuplicates() { return duplicates_.checkProject(); }
    DuplicateCheck& duplicates() { return duplicates_; }

    // The commands that need a project are enabled only while it has an application file.
    bool hasApplication() const;

    // --- Add Files
    static std::string addFilter(AddFilter filter);
    // Asks for files and adds each; returns how many went into the tree.
    int addFiles(AddFilter filter);
    int addFiles(const std::vector<std::string>& paths);
    // Adds one chosen file by its extension; false when it was refused or is
    // not a tree item (package and header files).
    bool addFile(const std::string& path);
    // The base name, blanks trimmed, is a VARN identifier.
    static bool followsNamingRule(const std::string& baseName);

    // --- Remove Project Item
    static bool canRemove(ItemKind kind);
    void removeItem(int item);

    // --- Includes
    // "Update Includes": saves the project's sources (asking when
    // "ConfirmAutoSave" is set), then rescans the includes.
    void updateIncludes();
    // Rebuilds the "Includes" and "Header Files" items from the application
    // file and the C files.
    void scanIncludes();

    // Saves every changed document of the project's files (kinds 1 to 8). When
    // `ask` is set the first changed one asks first; false when the answer is No.
    bool saveProjectSources(bool ask);

    // --- Projects
    bool newProject();
    // Asks for the project when `path` is empty.
    bool openProject(const std::string& path = {});
    // Saves the modified documents and the project (false when the user
    // cancelled either), closes the project and opens the default project.
    bool closeProject();
    void saveAll();
    // The main window is closing: false when the user cancelled saving a
    // document, or cancelled after the project could not be saved.
    bool mainWindowClosing(bool activeWindowMaximized);

    // --- Toggles
    bool canToggleV2() const;
    bool v2Checked() const;
    void toggleV2();
    bool canToggleOptimized(bool buildInProgress) const { return !buildInProgress; }
    bool optimizedChecked() const;
    void toggleOptimized();

    // Full path of the default project in the installation folder.
    std::string defaultProjectPath() const;

private:
    ProjectModel& model();
    const ProjectModel& model() const;
    bool createMissing(const std::string& path, const FileCreator& creator);
    bool addImage(const std::string& path, bool isIcon, bool missing);
    // Saves the open project; while that fails, offers to try again (OK) or cancel.
    // False when the user cancels.
    bool saveProjectOrCancel();
    // Saves and closes the open project; false (still open) when cancelled.
    bool closeCurrent();

    VARNWorkspaceManager& workspace_;
    Ui& ui_;
    SettingsStore& settings_;
    OpenDocuments& documents_;
    FileCreator formCreator_;
    FileCreator imageCreator_;
    MenuBarRemover menuBarRemover_;
    DuplicateCheck duplicates_;
};

}  // namespace varn
