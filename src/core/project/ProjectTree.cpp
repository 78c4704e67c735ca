#include "project/ProjectTree.h"

#include <algorithm>

#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace varn {

std::string ProjectTree::categoryOf(ItemKind kind) {
    switch (kind) {
    case ItemKind::Include: return kIncludes;
    case ItemKind::LargeIcon:
    case ItemKind::SmallIcon:
    case ItemKind::Image: return kImages;
    case ItemKind::Form: return kForms;
    case ItemKind::CFile: return kCFiles;
    case ItemKind::Header: return kHeaderFiles;
    case ItemKind::MenuBar: return kMenuBars;
    default: return {};
    }
}

std::string ProjectTree::labelOf(const std::string& path) { return paths::baseName(path); }

void ProjectTree::changed() {
    for (auto* l : listeners_) l->projectTreeChanged();
}

void ProjectTree::setProjectRoot(const std::string& projectPath, const std::string& applicationPath) {
    projectPath_ = projectPath;
    if (applicationItem_) std::erase_if(records_, [&](const PROJECT_ITEM& r) { return r.item == applicationItem_; });
    applicationItem_ = 0;
    if (!applicationPath.empty()) {
        PROJECT_ITEM r;
        r.path = applicationPath;
        r.item = nextItem_++;
        r.kind = ItemKind::Application;
        r.readOnly = fsys::isReadOnly(applicationPath);
        applicationItem_ = r.item;
        records_.push_back(r);
    }
    changed();
}

std::string ProjectTree::projectLabel() const {
    return projectPath_.empty() ? std::string(kNoProject) : paths::baseName(projectPath_);
}

bool ProjectTree::projectReadOnly() const { return fsys::isReadOnly(projectPath_); }

std::string ProjectTree::applicationPath() const { return pathOfKind(ItemKind::Application); }

std::string ProjectTree::pathOfKind(ItemKind kind) const {
    for (const auto& r : records_)
        if (r.kind == kind) return r.path;
    return {};
}

std::vector<std::string> ProjectTree::pathsOfKind(ItemKind kind) const {
    std::vector<std::string> out;
    for (const auto* r : itemsOfKind(kind)) out.push_back(r->path);
    return out;
}

std::vector<const PROJECT_ITEM*> ProjectTree::itemsOfKind(ItemKind kind) const {
    std::vector<const PROJECT_ITEM*> out;
    if (kind == ItemKind::Application || kind == ItemKind::Project) {
        for (const auto& r : records_)
            if (r.kind == kind) out.push_back(&r);
        return out;
    }
    const Category* c = category(categoryOf(kind));
    if (!c) return out;
    for (int id : c->items) {
        const PROJECT_ITEM* r = find(id);
        if (r && r->kind == kind) out.push_back(r);
    }
    return out;
}

const PROJECT_ITEM* ProjectTree::find(int item) const {
    for (const auto& r : records_)
        if (r.item == item) return &r;
    return nullptr;
}

PROJECT_ITEM* ProjectTree::record(int item) {
    for (auto& r : records_)
        if (r.item == item) return &r;
    return nullptr;
}

const PROJECT_ITEM* ProjectTree::findPath(ItemKind kind, const std::string& path) const {
    for (const auto& r : records_)
        if (r.kind == kind && r.path == path) return &r;
    return nullptr;
}

const ProjectTree::Category* ProjectTree::category(const std::string& label) const {
    for (const auto& c : categories_)
        if (c.label == label) return &c;
    return nullptr;
}

void ProjectTree::expand(const std::string& label) {
    for (auto& c : categories_)
        if (c.label == label) c.expanded = true;
    changed();
}

ProjectTree::Category& ProjectTree::ensureCategory(const std::string& label) {
    for (auto& c : categories_)
        if (c.label == label) return c;
    auto at = categories_.end();
    if (label == kIncludes) {
        at = categories_.begin();  // right after the application item
    } else if (label == kHeaderFiles) {
        auto cfiles = std::find_if(categories_.begin(), categories_.end(),
                                   [](const Category& c) { return c.label == kCFiles; });
        if (cfiles != categories_.end()) at = cfiles + 1;
    }
    return *categories_.insert(at, Category{label, {}, false});
}

int ProjectTree::add(ItemKind kind, const std::string& path, bool expand) {
    std::string label = categoryOf(kind);
    if (label.empty()) return 0;
    Category& c = ensureCategory(label);
    if (expand) c.expanded = true;
    std::string name = labelOf(path);
    for (int id : c.items) {
        PROJECT_ITEM* r = record(id);
        if (r && paths::equalNoCase(labelOf(r->path), name)) {
            r->path = path;
            r->kind = kind;
            r->readOnly = fsys::isReadOnly(path);
            changed();
            return id;
        }
    }
    const int id = append(c, kind, path);
    changed();
    return id;
}

int ProjectTree::append(Category& c, ItemKind kind, const std::string& path) {
    PROJECT_ITEM r;
    r.path = path;
    r.item = nextItem_++;
    r.kind = kind;
    r.readOnly = kind != ItemKind::MenuBar && fsys::isReadOnly(path);
    records_.push_back(r);
    c.items.push_back(r.item);
    return r.item;
}

void ProjectTree::remove(int item) {
    const PROJECT_ITEM* r = find(item);
    if (!r) return;
    if (r->kind == ItemKind::Application) applicationItem_ = 0;
    for (auto& c : categories_) std::erase(c.items, item);
    std::erase_if(categories_, [](const Category& c) { return c.items.empty(); });
    std::erase_if(records_, [&](const PROJECT_ITEM& x) { return x.item == item; });
    changed();
}

void ProjectTree::removeKind(ItemKind kind) {
    std::vector<int> ids;
    for (const auto& r : records_)
        if (r.kind == kind) ids.push_back(r.item);
    for (int id : ids) remove(id);
}

void ProjectTree::replaceKind(ItemKind kind, const std::vector<std::string>& paths) {
    std::vector<int> old;
    for (const auto& r : records_)
        if (r.kind == kind) old.push_back(r.item);
    const std::string label = categoryOf(kind);
    // The old members go first so that a kept name is not taken for a replacement.
    for (auto& c : categories_)
        if (c.label == label) std::erase_if(c.items, [&](int id) { return std::ranges::find(old, id) != old.end(); });
    std::erase_if(records_, [&](const PROJECT_ITEM& r) { return r.kind == kind; });
    if (!paths.empty()) {
        Category& c = ensureCategory(label);
        for (const std::string& path : paths) append(c, kind, path);
    }
    std::erase_if(categories_, [](const Category& c) { return c.items.empty(); });
    changed();
}

void ProjectTree::setSingle(ItemKind kind, const std::string& path) {
    for (const auto& r : records_) {
        if (r.kind == kind) {
            remove(r.item);
            break;
        }
    }
    if (!path.empty()) add(kind, path, false);
}

void ProjectTree::setLargeIcon(const std::string& path) { setSingle(ItemKind::LargeIcon, path); }
void ProjectTree::setSmallIcon(const std::string& path) { setSingle(ItemKind::SmallIcon, path); }

std::string ProjectTree::imagePathByBaseName(const std::string& name) const {
    for (const auto& r : records_) {
        if (r.kind != ItemKind::Image && r.kind != ItemKind::LargeIcon && r.kind != ItemKind::SmallIcon) continue;
        if (paths::equalNoCase(paths::baseName(r.path), name)) return r.path;
    }
    return {};
}

void ProjectTree::clear() {
    projectPath_.clear();
    records_.clear();
    categories_.clear();
    applicationItem_ = 0;
    changed();
}

}  // namespace varn
