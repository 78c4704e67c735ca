#include "project/ProjectCommands.h"

#include "platform/TextLines.h"

#include <optional>
#include <set>

#include "app/CVarnIdeApp.h"
#include "app/Ui.h"
#include "form/CVARNfbDoc.h"
#include "image/CVARNImgDoc.h"
#include "image/ImageRegistration.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"
#include "project/ProjectImages.h"
#include "project/VARNWorkspaceManager.h"

namespace varn {

namespace {

constexpr const char* kSettings = "Settings";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string formatted(const char* pattern, const std::string& value) {
    std::string text = pattern;
    auto at = text.find("%s");
    if (at == std::string::npos) return text;
    return text.substr(0, at) + value + text.substr(at + 2);
}

// The name in double quotes after "include" ("#include" in C code), or none.
std::optional<std::string> includedName(const std::string& line, bool cCode) {
    std::size_t p = 0;
    while (p < line.size() && isBlank(line[p])) ++p;
    p += cCode ? 1 : 0;
    if (line.size() < p + 7 || line.compare(p, 7, "include") != 0) return std::nullopt;
    p += 7;
    while (p < line.size() && isBlank(line[p])) ++p;
    if (p >= line.size() || line[p] != '"') return std::nullopt;
    std::size_t close = line.find('"', p + 1);
    if (close == std::string::npos || close == p + 1) return std::nullopt;
    return line.substr(p + 1, close - p - 1);
}

bool isCCode(const std::string& path) {
    std::string ext = paths::upper(paths::extension(path));
    return ext == "C" || ext == "H";
}

}  // namespace

ProjectCommands::ProjectCommands(VARNWorkspaceManager& workspace, Ui& ui, SettingsStore& settings,
                                 OpenDocuments& documents)
    : workspace_(workspace), ui_(ui), settings_(settings), documents_(documents),
      duplicates_(workspace.project(), ui, &documents) {
    // New forms and images are written by their own file formats; a new
    // form's frame takes a name no other form of the project uses.
    formCreator_ = [this](const std::string& path) {
        return createEmptyFormFile(path, FormEnvironment::fromProject(model()), duplicates_.nameInUseHook()).ok();
    };
    // A menu bar that a frame still uses is kept.
    menuBarRemover_ = [this](const PROJECT_ITEM& item) {
        ProjectModel& m = model();
        removeMenuBar(m.menuBars, m.tree, item.item, m.projectPath, duplicates_.menuBarUserFinder(), ui_);
    };
    imageCreator_ = [this](const std::string& path) {
        bool icon = paths::equalNoCase(paths::extension(path), "vic");
        CVARNImgDoc doc(icon ? ImageDocType::Icon : ImageDocType::Bitmap);
        if (!doc.newDocument(ui_, ProjectImages::settingsOf(model()))) return false;
        ProjectImages project(model());
        return doc.save(path, ui_, project);
    };
}

ProjectModel& ProjectCommands::model() { return workspace_.project(); }
const ProjectModel& ProjectCommands::model() const { return workspace_.project(); }

bool ProjectCommands::hasApplication() const { return !model().tree.applicationPath().empty(); }

std::string ProjectCommands::defaultProjectPath() const {
    return paths::join(workspace_.installPath(), CVarnIdeApp::kDefaultProject);
}

// ---------------------------------------------------------------- Add Files

std::string ProjectCommands::addFilter(AddFilter filter) {
    switch (filter) {
    case AddFilter::Form: return "Form Files (*.vff)|*.vff||";
    case AddFilter::Bitmap: return "Bitmap Files (*.vbm)|*.vbm||";
    case AddFilter::Icon: return "Icon Files (*.vic)|*.vic||";
    case AddFilter::Package: return "Package Files (*.vpk)|*.vpk||";
    case AddFilter::CFile: return "CBuild C Files (*.c)|*.c||";
    case AddFilter::Header: return "CBuild H Files (*.h)|*.h||";
    case AddFilter::All: break;
    }
    return "Form Files (*.vff)|*.vff|Package Files (*.vpk)|*.vpk|Bitmap Files (*.vbm)|*.vbm|"
           "Icon Files (*.vic)|*.vic|C Files (*.c)|*.c|Header Files (*.h)|*.h||";
}

int ProjectCommands::addFiles(AddFilter filter) {
    FileDialog d;
    d.title = "Add Files";
    d.filter = addFilter(filter);
    d.initialFolder = model().projectFolder();
    d.defaultExtension = filter == AddFilter::All ? "vff" : std::string();
    d.multiple = true;
    return addFiles(ui_.openFiles(d));
}

int ProjectCommands::addFiles(const std::vector<std::string>& chosen) {
    int added = 0;
    for (const auto& path : chosen)
        if (addFile(paths::absolute(path))) ++added;
    return added;
}

bool ProjectCommands::followsNamingRule(const std::string& baseName) { return followsImageNameRule(baseName); }

bool ProjectCommands::createMissing(const std::string& path, const FileCreator& creator) {
    bool ok = creator ? creator(path) : fsys::writeFileAtomic(path, {}).ok();
    if (!ok || !fsys::exists(path)) {
        ui_.warning(kCouldNotCreateFile);
        return false;
    }
    return true;
}

bool ProjectCommands::addImage(const std::string& path, bool isIcon, bool missing) {
    const std::string base = paths::baseName(path);
    if (!followsNamingRule(base)) {
        ui_.warning(isIcon ? kIconName : kBitmapName);
        return false;
    }
    std::string same = model().tree.imagePathByBaseName(base);
    if (!same.empty() && paths::equalNoCase(paths::extension(same), isIcon ? "VBM" : "VIC")) {
        ui_.warning(isIcon ? kBitmapExists : kIconExists);
        return false;
    }
    if (missing && !createMissing(path, imageCreator_)) return false;
    if (!isIcon) {
        model().tree.addImageFile(path);
        if (missing) documents_.open(path, false);
    } else {
        // The icon's kind decides which application icon it becomes: a
        // desktop icon the large one, anything else the small one.
        CVARNImgDoc icon(ImageDocType::Icon);
        if (!icon.open(path, ui_, ProjectImages::settingsOf(model()))) return false;
        if (icon.iconKind() == IconKind::Desktop) model().tree.setLargeIcon(path);
        else model().tree.setSmallIcon(path);
        documents_.open(path, false);
    }
    model().modified = true;
    return true;
}

bool ProjectCommands::addFile(const std::string& path) {
    const std::string ext = paths::upper(paths::extension(path));
    const bool missing = !fsys::exists(path);
    if (missing && !documentTemplateFor(ext)) {
        ui_.warning(kCouldNotCreateFile);
        return false;
    }

    if (ext == "VFF") {
        if (model().settings.v2Compatibility) {
            ui_.warning(kFormsInV2);
            return false;
        }
        if (missing && !createMissing(path, formCreator_)) return false;
        model().tree.addFormFile(path, true);
        model().modified = true;
        if (missing) documents_.open(path, true);
        return true;
    }
    if (ext == "C") {
        if (missing && !createMissing(path, {})) return false;
        model().tree.addCFile(path);
        model().modified = true;
        if (missing) documents_.open(path, false);
        return true;
    }
    if (ext == "VBM" || ext == "VIC") return addImage(path, ext == "VIC", missing);
    if (ext == "VPK" || ext == "H") {
        ui_.info(kAddedByInclude);
        if (missing && createMissing(path, {})) documents_.open(path, false);
        return false;
    }
    ui_.warning(kCannotAdd);
    return false;
}

// ------------------------------------------------------------------ Remove

bool ProjectCommands::canRemove(ItemKind kind) {
    switch (kind) {
    case ItemKind::LargeIcon:
    case ItemKind::SmallIcon:
    case ItemKind::Form:
    case ItemKind::Image:
    case ItemKind::CFile:
    case ItemKind::MenuBar: return true;
    default: return false;
    }
}

void ProjectCommands::removeItem(int item) {
    const PROJECT_ITEM* found = model().tree.find(item);
    if (!found || !canRemove(found->kind)) return;
    const PROJECT_ITEM r = *found;
    switch (r.kind) {
    case ItemKind::LargeIcon: model().tree.setLargeIcon({}); break;
    case ItemKind::SmallIcon: model().tree.setSmallIcon({}); break;
    case ItemKind::MenuBar:
        if (menuBarRemover_) menuBarRemover_(r);
        return;
    default: model().tree.remove(item); break;
    }
    model().modified = true;
}

// ---------------------------------------------------------------- Includes

void ProjectCommands::updateIncludes() {
    saveProjectSources(settings_.getInt(kSettings, "ConfirmAutoSave", 0) != 0);
    scanIncludes();
}

void refreshIncludes(ProjectTree& tree, const OpenDocuments* documents) {
    tree.removeKind(ItemKind::Include);
    tree.removeKind(ItemKind::Header);

    const std::string app = tree.applicationPath();
    if (app.empty()) return;
    // Included names are taken against the application file's folder, for
    // every file of the scan.
    const std::string base = paths::folderOf(app);

    auto listed = [&](ItemKind kind, const std::string& path) {
        for (const auto* r : tree.itemsOfKind(kind))
            if (paths::equalNoCase(r->path, path)) return true;
        return false;
    };

    // Depth-first over the files, with an explicit stack; a file is scanned at
    // most once, so include cycles end.
    struct Frame {
        bool cCode;
        std::vector<std::string> lines;
        std::size_t next = 0;
    };
    std::vector<Frame> stack;
    std::set<std::string> scanned;
    auto push = [&](const std::string& path) {
        if (!scanned.insert(paths::upper(path)).second) return;
        std::string text;
        if (auto open = documents ? documents->text(path) : std::nullopt) text = std::move(*open);
        else if (auto disk = fsys::readFile(path)) text = std::move(*disk);
        stack.push_back({isCCode(path), splitLines(text), 0});
    };
    auto drain = [&] {
        while (!stack.empty()) {
            Frame& f = stack.back();
            if (f.next >= f.lines.size()) {
                stack.pop_back();
                continue;
            }
            const bool cCode = f.cCode;
            auto name = includedName(f.lines[f.next++], cCode);
            if (!name) continue;
            std::string native = paths::toNative(*name);
            std::string full =
                fsys::resolveCase(paths::normalize(paths::isAbsolute(native) ? native : paths::join(base, native)));
            if (listed(cCode ? ItemKind::Header : ItemKind::Include, full)) continue;
            if (!fsys::exists(full) || fsys::isDirectory(full)) continue;
            std::string ext = paths::upper(paths::extension(full));
            if (ext == "H") tree.addHeader(full);
            else if (ext != "C") tree.addInclude(full);
            push(full);  // invalidates f
        }
    };

    push(app);
    drain();
    for (const auto& c : tree.cFiles()) {
        push(c);
        drain();
    }
    if (tree.category(ProjectTree::kIncludes)) tree.expand(ProjectTree::kIncludes);
}

void ProjectCommands::scanIncludes() { refreshIncludes(model().tree, &documents_); }

bool ProjectCommands::saveProjectSources(bool ask) {
    std::vector<std::string> paths;
    for (const auto& r : model().tree.records()) {
        int kind = static_cast<int>(r.kind);
        if (kind >= 1 && kind <= 8) paths.push_back(r.path);
    }
    bool asked = false;
    for (const auto& path : paths) {
        if (!documents_.isModified(path)) continue;
        if (ask && !asked) {
            asked = true;
            std::string name = paths::baseName(model().tree.applicationPath());
            if (!ui_.askYesNo(formatted(kSaveSourcesQuestion, name))) return false;
        }
        documents_.save(path);
    }
    return true;
}

// ---------------------------------------------------------------- Projects

bool ProjectCommands::saveProjectOrCancel() {
    if (!workspace_.currentWorkspaceName()) return true;
    while (!workspace_.saveCurrentWorkspace()) {
        // Batch and headless runs take the default, Cancel: never a loop.
        if (ui_.message({kRetrySave, {}, MsgIcon::Warning, MsgButtons::OkCancel, Answer::Cancel}) != Answer::Ok)
            return false;
    }
    return true;
}

bool ProjectCommands::closeCurrent() {
    if (!workspace_.currentWorkspaceName()) return true;
    if (!saveProjectOrCancel()) return false;
    workspace_.closeWorkspace();
    ProjectModel& m = model();
    m.breakpoints.clear();
    for (auto& list : m.watchLists) list.clear();
    m.tree.clear();
    return true;
}

bool ProjectCommands::openProject(const std::string& path) {
    // Edited documents are offered for saving before the project closes them.
    if (!documents_.saveAllModified() || !closeCurrent()) return false;
    return workspace_.openWorkspace(path, false);
}

bool ProjectCommands::closeProject() {
    if (!documents_.saveAllModified() || !closeCurrent()) return false;
    workspace_.openWorkspace(defaultProjectPath(), true);
    return true;
}

bool ProjectCommands::newProject() {
    FileDialog d;
    d.title = "New Project";
    d.filter = kProjectFilter;
    d.initialFolder = workspace_.dialogFolder();
    d.defaultExtension = "vpj";
    auto chosen = ui_.saveFile(d);
    if (!chosen) return false;
    std::string full = paths::absolute(*chosen);
    const std::string folder = paths::folderOf(full);
    const std::string base = paths::baseName(full);
    const std::string projectPath = paths::join(folder, base + ".vpj");

    // Nothing is closed for a project that could not be made there.
    if (!fsys::isDirectory(folder) || !fsys::isWritable(folder)) {
        ui_.error(kCouldNotCreateProject);
        return false;
    }
    if (!closeProject()) return false;
    if (workspace_.openWorkspace(projectPath, true)) return true;

    std::string app;
    if (settings_.getInt(kSettings, "AssumeProjectName", 1) != 0) {
        app = paths::join(folder, base + ".vsl");
    } else {
        FileDialog s;
        s.filter = kSourceFilter;
        s.initialFolder = folder;
        s.defaultExtension = "vsl";
        auto source = ui_.saveFile(s);
        if (!source) return false;
        std::string src = paths::absolute(*source);
        app = paths::join(paths::folderOf(src), paths::baseName(src) + ".vsl");
    }
    if (!fsys::exists(app) && !fsys::writeFileAtomic(app, {})) {
        ui_.error(kCouldNotCreateProject);
        return false;
    }
    ProjectModel& m = model();
    m.tree.setProjectRoot(projectPath, app);

    const std::string form = paths::join(folder, base + ".vff");
    bool newForm = false;
    if (settings_.getInt(kSettings, "AddNewFile", 1) != 0) {
        if (!fsys::exists(form)) {
            newForm = createMissing(form, formCreator_);
            if (newForm) m.tree.addFormFile(form);
        } else {
            m.tree.addFormFile(form);
        }
    }

    m.settings.v2Compatibility = false;
    // An application file that was there already may include files.
    scanIncludes();
    documents_.open(app, false);
    if (fsys::exists(form)) documents_.open(form, newForm);

    bool saved = workspace_.saveWorkspace(projectPath);
    if (!saved) ui_.error(kCouldNotCreateProject);

    // What the new project inherits from the default project, less these;
    // the file has them at the next save.
    ProjectSettings& s = m.settings;
    s.creatorID.clear();
    s.ppcCreatorID.clear();
    s.desktopName.clear();
    s.prcVersion.clear();
    s.prcType = "Application";
    s.splashScreen.clear();
    s.v2Compatibility = false;
    m.projectVars.clear();
    s.changeDBCreatorID = false;
    s.disableBeamApplication = false;
    s.enableApplicationBackup = false;
    s.allow1BitColor = false;
    s.enableSipResize = false;
    s.windowsFormSizeX = 320;
    s.windowsFormSizeY = 320;
    return saved;
}

void ProjectCommands::saveAll() {
    if (workspace_.currentWorkspaceName()) workspace_.saveCurrentWorkspace();
    for (const auto& path : documents_.modifiedDocuments()) documents_.save(path);
}

bool ProjectCommands::mainWindowClosing(bool activeWindowMaximized) {
    settings_.setInt(kSettings, "IsMaximized", activeWindowMaximized ? 1 : 0);
    return documents_.saveAllModified() && saveProjectOrCancel();
}

// ----------------------------------------------------------------- Toggles

bool ProjectCommands::canToggleV2() const { return hasApplication() && model().tree.forms().empty(); }
bool ProjectCommands::v2Checked() const { return model().settings.v2Compatibility; }

void ProjectCommands::toggleV2() {
    if (!canToggleV2()) return;
    model().settings.v2Compatibility = !model().settings.v2Compatibility;
}

bool ProjectCommands::optimizedChecked() const { return model().settings.optimizedBuild; }

void ProjectCommands::toggleOptimized() {
    model().settings.optimizedBuild = !model().settings.optimizedBuild;
    model().modified = true;
}

}  // namespace varn
