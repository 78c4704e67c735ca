#include "project/DuplicateCheck.h"

#include <algorithm>
#include <memory>

#include "app/Ui.h"
#include "form/FormKinds.h"
#include "form/FormText.h"
#include "platform/Paths.h"
#include "project/ProjectModel.h"

namespace varn {

namespace {

// Swallows the form reader's messages during a quiet run.
class SilentUi : public Ui {
public:
    Answer message(const Message& m) override { return defaultAnswerOf(m); }
    std::vector<std::string> openFiles(const FileDialog&) override { return {}; }
    std::optional<std::string> saveFile(const FileDialog&) override { return std::nullopt; }
};

bool sameName(const std::string& a, const std::string& b) { return equalsNoCase(a, b); }

// Single control or element 0: the records that stand for their array.
bool isArrayHead(const CVARNFBControl& c) { return c.arrayIndex == -1 || c.arrayIndex == 0; }

// Two records of the same name that are different elements of one array.
bool otherElementOfArray(const CVARNFBControl& a, const CVARNFBControl& b) {
    return a.arrayCount == b.arrayCount && a.arrayIndex != b.arrayIndex;
}

// The column records of a grid (the first cell of each column), leaving out
// `except`; nothing for any other kind.
void gatherColumns(const CVARNFBControl& c, const CVARNFBControl* except, std::vector<const CVARNFBControl*>& out) {
    out.clear();
    if (c.kind != kind::Grid) return;
    const int count = c.gridColumnCount();
    for (int k = 0; k < count; ++k) {
        const CVARNFBControl* column = c.gridColumn(k);
        if (column && column != except) out.push_back(column);
    }
}

}  // namespace

// --- registry ---

std::string DuplicateRegistry::fold(const std::string& name) { return lowerAscii(name); }

void DuplicateRegistry::addName(const std::string& form, const std::string& name) {
    nameIndex_.try_emplace(fold(name), names_.size());
    names_.push_back(NameEntry{form, name});
}

void DuplicateRegistry::addList(const std::string& form, const std::string& control, const std::string& list) {
    listIndex_.try_emplace(fold(list), lists_.size());
    lists_.push_back(ListEntry{form, control, list});
}

std::size_t DuplicateRegistry::findName(const std::string& name) const {
    auto it = nameIndex_.find(fold(name));
    return it == nameIndex_.end() ? npos : it->second;
}

std::size_t DuplicateRegistry::findList(const std::string& list) const {
    auto it = listIndex_.find(fold(list));
    return it == listIndex_.end() ? npos : it->second;
}

void DuplicateRegistry::clear() {
    names_.clear();
    lists_.clear();
    nameIndex_.clear();
    listIndex_.clear();
}

// --- check ---

DuplicateCheck::DuplicateCheck(const ProjectModel& project, Ui& ui, OpenForms* openForms)
    : project_(project), ui_(ui), openForms_(openForms) {}

void DuplicateCheck::report(const std::string& text, bool quiet) {
    if (!quiet) ui_.error(text);
}

bool DuplicateCheck::walkForms(const FormVisitor& visitor, bool quiet) {
    const std::vector<std::string> forms = project_.tree.forms();
    if (forms.empty()) return false;
    const FormEnvironment env = FormEnvironment::fromProject(project_);
    SilentUi silent;
    Ui& readerUi = quiet ? static_cast<Ui&>(silent) : ui_;
    for (const std::string& path : forms) {
        const CVARNfbDoc* doc = openForms_ ? openForms_->openForm(path) : nullptr;
        // A form that is not open is held only for its turn of the walk.
        std::unique_ptr<CVARNfbDoc> loaded;
        if (!doc) {
            loaded = std::make_unique<CVARNfbDoc>(env);
            // Reading numbers the records from the control counter; a form read
            // only for the walk must not use up the numbers of new controls.
            const int counter = ControlCounter::peek();
            const bool read = loaded->load(path, readerUi).ok();
            ControlCounter::reset(counter);
            if (!read) {
                report(fillMenuMessage(kCouldNotOpenForm, {path}), quiet);
                continue;
            }
            doc = loaded.get();
        }
        if (visitor(*doc, paths::baseName(path))) return true;
    }
    return false;
}

bool DuplicateCheck::checkDuplicates(const CVARNFBControl* control, const std::string& name, const std::string& list,
                                     bool quiet) {
    WaitCursor wait(ui_);
    // The menu bars come first; their check shows its own message, quiet or not.
    if (!name.empty() && menuBarsNameUsed(project_.menuBars, name, std::string(), ui_)) return true;

    if (control) {
        return walkForms(
            [&](const CVARNfbDoc& doc, const std::string& form) {
                return singleNameClash(doc, form, *control, name, list, quiet);
            },
            quiet);
    }
    registry_.clear();
    const bool found = walkForms(
        [&](const CVARNfbDoc& doc, const std::string& form) { return projectClash(doc, form, quiet); }, quiet);
    registry_.clear();
    return found;
}

bool DuplicateCheck::singleNameClash(const CVARNfbDoc& doc, const std::string& form, const CVARNFBControl& under,
                                     const std::string& name, const std::string& list, bool quiet) {
    for (const auto& record : doc.controls()) {
        const CVARNFBControl& c = *record;
        if (&c == &under) continue;
        gatherColumns(c, &under, columns_);
        const bool sameControlName = !c.name.empty() && sameName(c.name, under.name);
        if (!name.empty()) {
            if (sameName(c.name, name) && !otherElementOfArray(c, under)) {
                report(fillMenuMessage(kNameUsedOnOtherForm, {name, form}), quiet);
                return true;
            }
            for (const CVARNFBControl* column : columns_) {
                if (sameName(column->name, name)) {
                    report(fillMenuMessage(kNameUsedInOtherGrid, {name, form, c.name}), quiet);
                    return true;
                }
            }
        }
        // The elements of the control's own array carry its list: the list is
        // declared once for the array, so they do not clash with it.
        if (!list.empty() && c.listSize != 0 && under.listSize != 0 && sameName(c.list, list) &&
            !(sameControlName && otherElementOfArray(c, under))) {
            report(fillMenuMessage(kListUsedOnOtherForm, {c.name, c.list, form, under.name}), quiet);
            return true;
        }
    }
    return false;
}

bool DuplicateCheck::projectClash(const CVARNfbDoc& doc, const std::string& form, bool quiet) {
    const std::string menuPrefix = fillMenuMessage(kMenuNameUsedOnForm, {form});
    for (const auto& record : doc.controls()) {
        const CVARNFBControl& c = *record;
        gatherColumns(c, nullptr, columns_);
        const bool head = isArrayHead(c);

        // The first registered name that is this control's name (for an array
        // head) or one of its column names: the entry a walk of the
        // registered list from its start meets first.
        std::size_t first = DuplicateRegistry::npos;
        bool byControlName = false;
        if (head && !c.name.empty()) {
            first = registry_.findName(c.name);
            byControlName = first != DuplicateRegistry::npos;
        }
        for (const CVARNFBControl* column : columns_) {
            if (column->name.empty()) continue;
            const std::size_t at = registry_.findName(column->name);
            if (at < first) {
                first = at;
                byControlName = false;
            }
        }
        if (first != DuplicateRegistry::npos) {
            const DuplicateRegistry::NameEntry& entry = registry_.name(first);
            if (byControlName)
                report(fillMenuMessage(kNameUsedOnForms, {entry.name, form, entry.form}), quiet);
            else
                report(fillMenuMessage(kNameUsedInGrid, {entry.name, form, entry.form, c.name}), quiet);
            return true;
        }

        if (!c.name.empty() && menuBarsNameUsed(project_.menuBars, c.name, menuPrefix, ui_)) return true;

        if (!head) continue;  // the other elements of an array stand for nothing new
        if (!c.name.empty()) registry_.addName(form, c.name);
        for (const CVARNFBControl* column : columns_)
            if (!column->name.empty()) registry_.addName(form, column->name);

        if (c.listSize == 0 || c.list.empty()) continue;
        const std::size_t at = registry_.findList(c.list);
        if (at != DuplicateRegistry::npos) {
            const DuplicateRegistry::ListEntry& entry = registry_.list(at);
            report(fillMenuMessage(kListUsedOnForms, {c.name, c.list, form, entry.control, entry.form}), quiet);
            return true;
        }
        registry_.addList(form, c.name, c.list);
    }
    return false;
}

bool DuplicateCheck::checkProject() {
    const bool found = checkDuplicates(nullptr, std::string(), std::string(), false);
    if (!found) ui_.info(kNoDuplicatesFound);
    return found;
}

bool DuplicateCheck::nameInUse(const CVARNFBControl& control, const std::string& name) {
    return checkDuplicates(&control, name, std::string(), true);
}

CVARNfbDoc::NameInUse DuplicateCheck::nameInUseHook() {
    return [this](const CVARNFBControl& control, const std::string& name) { return nameInUse(control, name); };
}

std::optional<std::string> DuplicateCheck::findMenuBarUser(const std::string& menuBarName) {
    WaitCursor wait(ui_);
    std::optional<std::string> user;
    walkForms(
        [&](const CVARNfbDoc& doc, const std::string&) {
            for (const auto& c : doc.controls()) {
                if (c->kind == kind::Frame && sameName(c->menuBar, menuBarName)) {
                    user = c->name;
                    return true;
                }
            }
            return false;
        },
        false);
    return user;
}

MenuBarUserFinder DuplicateCheck::menuBarUserFinder() {
    return [this](const std::string& menuBarName) { return findMenuBarUser(menuBarName); };
}

std::optional<std::string> DuplicateCheck::findObjectForm(const std::string& name, bool quiet) {
    WaitCursor wait(ui_);
    std::optional<std::string> found;
    walkForms(
        [&](const CVARNfbDoc& doc, const std::string& form) {
            for (const auto& c : doc.controls()) {
                gatherColumns(*c, nullptr, columns_);
                const bool column =
                    std::ranges::any_of(columns_, [&](const CVARNFBControl* k) { return sameName(k->name, name); });
                if (sameName(c->name, name) || column) {
                    found = form;
                    return true;
                }
            }
            return false;
        },
        quiet);
    return found;
}

}  // namespace varn
