// The project-wide name check. Control names, grid column names and the list
// variables of dropdowns and selectors share one name space across all forms
// of a project, and with the names of the menu bars. The check walks the
// project's forms in tree order: a form open in the designer is read as it is
// (unsaved changes count), any other form is loaded from its file for the
// walk and released before the next one.
//
// Two modes:
// - single name: a control is being renamed, has a new list variable, or needs
//   a free default name; its candidate name and list are looked for on every
//   form;
// - whole project ("Check For Duplicates"): every control is compared with the
//   names and lists registered by the controls before it.
// Only the first clash is reported.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "form/CVARNfbDoc.h"
#include "menubar/ProjectMenuBars.h"
#include "project/OpenForms.h"

namespace varn {

class Ui;
struct ProjectModel;

inline constexpr const char* kNoDuplicatesFound = "No duplicate controls or selector list variables found.";
inline constexpr const char* kCouldNotOpenForm = "Could not open form %s.";
// Single-name mode.
inline constexpr const char* kNameUsedOnOtherForm = "Control name %s on this form is also used on form %s.";
inline constexpr const char* kNameUsedInOtherGrid = "Control name %s on this form is also used on form %s in grid %s.";
inline constexpr const char* kListUsedOnOtherForm =
    "Selector %s list property %s on form %s is also defined by selector %s on this form.";
// Whole-project mode.
inline constexpr const char* kNameUsedOnForms = "Control name %s on form %s is also used on form %s.";
inline constexpr const char* kNameUsedInGrid = "Control name %s on form %s is also used on form %s in grid %s.";
inline constexpr const char* kListUsedOnForms =
    "Selector %s list property %s on form %s is also defined by selector %s on form %s.";
// Put before a menu bar's own message when a control's name is one of its names.
inline constexpr const char* kMenuNameUsedOnForm = "Name is used on form %s";


// The names and lists registered by the whole-project walk, in registration
// order. Look-ups go through a hash keyed by the case-folded name that keeps
// the first entry of each name, so a look-up finds the same entry as a walk
// of the list from its start would.
class DuplicateRegistry {
public:
    struct NameEntry {
        std::string form;  // base name of the form file
        std::string name;  // control or grid column name
    };
    struct ListEntry {
        std::string form;
        std::string control;
        std::string list;
    };
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    void addName(const std::string& form, const std::string& name);
    void addList(const std::string& form, const std::string& control, const std::string& list);
    // Position of the first entry with that name (without regard to case), or npos.
    std::size_t findName(const std::string& name) const;
    std::size_t findList(const std::string& list) const;
    const NameEntry& name(std::size_t i) const { return names_[i]; }
    const ListEntry& list(std::size_t i) const { return lists_[i]; }
    std::size_t nameCount() const { return names_.size(); }
    std::size_t listCount() const { return lists_.size(); }
    void clear();

    // The key both look-ups use: the name with A-Z in lower case, so that two
    // names share a key exactly when equalsNoCase finds them equal.
    static std::string fold(const std::string& name);

private:
    std::vector<NameEntry> names_;
    std::vector<ListEntry> lists_;
    std::unordered_map<std::string, std::size_t> nameIndex_;
    std::unordered_map<std::string, std::size_t> listIndex_;
};

class DuplicateCheck {
public:
    // Reads the project's form list, menu bars and form settings at each run,
    // so one instance serves the project for as long as the model lives.
    // `openForms` may be null: every form is then read from its file.
    DuplicateCheck(const ProjectModel& project, Ui& ui, OpenForms* openForms = nullptr);

    void setOpenForms(OpenForms* openForms) { openForms_ = openForms; }

    // The check. `control` null runs the whole-project mode; otherwise the
    // single-name mode for that control with the candidate `name` and `list`
    // (an empty one is not looked for). A non-empty name is first tested
    // against the project's menu bars, whose check shows its message even when
    // quiet. With `quiet` the check's own messages are not shown, nor those of
    // reading a form file. True when a clash was found.
    bool checkDuplicates(const CVARNFBControl* control, const std::string& name, const std::string& list, bool quiet);

    // The "Check For Duplicates" command: the whole-project check with its
    // messages, and the information box when nothing was found.
    bool checkProject();

    // The quiet single-name check that names new controls; give it to a form
    // document through setNameInUse.
    bool nameInUse(const CVARNFBControl& control, const std::string& name);
    CVARNfbDoc::NameInUse nameInUseHook();

    // The name of the first frame, over the forms in tree order and their
    // controls in order, whose menu bar is `menuBarName` (without regard to
    // case); none when no frame uses it. A form that cannot be opened is
    // reported and skipped.
    std::optional<std::string> findMenuBarUser(const std::string& menuBarName);
    MenuBarUserFinder menuBarUserFinder();

    // The base name of the first form, in tree order, with a control or grid
    // column named `name` (without regard to case); none when no form has one.
    // With `quiet` a form that cannot be opened is skipped without a message.
    std::optional<std::string> findObjectForm(const std::string& name, bool quiet);

private:
    // Called with each form and its base name; true stops the walk.
    using FormVisitor = std::function<bool(const CVARNfbDoc& doc, const std::string& form)>;

    // Visits each form of the project in tree order until the visitor stops
    // the walk; true then.
    bool walkForms(const FormVisitor& visitor, bool quiet);
    bool singleNameClash(const CVARNfbDoc& doc, const std::string& form, const CVARNFBControl& under,
                         const std::string& name, const std::string& list, bool quiet);
    bool projectClash(const CVARNfbDoc& doc, const std::string& form, bool quiet);
    void report(const std::string& text, bool quiet);

    const ProjectModel& project_;
    Ui& ui_;
    OpenForms* openForms_ = nullptr;
    DuplicateRegistry registry_;
    std::vector<const CVARNFBControl*> columns_;
};

}  // namespace varn
