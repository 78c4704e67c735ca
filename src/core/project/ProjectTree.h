// The project's store of files, shown by the project bar: the project and
// application items, and the categories ("Includes", "Forms", "Images",
// "C Files", "Header Files", "MenuBars") that exist while they have members.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace varn {

enum class ItemKind : int {
    Project = 0,
    Application = 1,
    Include = 2,
    LargeIcon = 3,
    SmallIcon = 4,
    Form = 5,
    Image = 6,
    CFile = 7,
    Header = 8,
    MenuBar = 9,
};

// One item that stands for something. `item` identifies it for the views.
struct PROJECT_ITEM {
    std::string path;  // full native path; the menu bar's name for kind 9
    int item = 0;
    ItemKind kind = ItemKind::Project;
    bool readOnly = false;  // the file on disk cannot be written
};

class ProjectTreeListener {
public:
    virtual ~ProjectTreeListener() = default;
    virtual void projectTreeChanged() = 0;
};

class ProjectTree {
public:
    struct Category {
        std::string label;
        std::vector<int> items;  // in tree order
        bool expanded = false;
    };

    static constexpr const char* kIncludes = "Includes";
    static constexpr const char* kForms = "Forms";
    static constexpr const char* kImages = "Images";
    static constexpr const char* kCFiles = "C Files";
    static constexpr const char* kHeaderFiles = "Header Files";
    static constexpr const char* kMenuBars = "MenuBars";
    static constexpr const char* kNoProject = "No Project";
    static constexpr const char* kDummy = "Dummy";

    static std::string categoryOf(ItemKind kind);
    // Label of a file item: the base name.
    static std::string labelOf(const std::string& path);

    void addListener(ProjectTreeListener* l) { listeners_.push_back(l); }
    void removeListener(ProjectTreeListener* l) { std::erase(listeners_, l); }

    // Labels the project item and inserts the application item.
    void setProjectRoot(const std::string& projectPath, const std::string& applicationPath);
    const std::string& projectPath() const { return projectPath_; }
    std::string projectLabel() const;
    bool projectReadOnly() const;
    std::string applicationPath() const;

    void setLargeIcon(const std::string& path);
    void setSmallIcon(const std::string& path);
    std::string largeIconPath() const { return pathOfKind(ItemKind::LargeIcon); }
    std::string smallIconPath() const { return pathOfKind(ItemKind::SmallIcon); }

    int addFormFile(const std::string& path, bool expand = false) { return add(ItemKind::Form, path, expand); }
    int addImageFile(const std::string& path, bool expand = false) { return add(ItemKind::Image, path, expand); }
    int addCFile(const std::string& path, bool expand = false) { return add(ItemKind::CFile, path, expand); }
    int addInclude(const std::string& path) { return add(ItemKind::Include, path, false); }
    int addHeader(const std::string& path) { return add(ItemKind::Header, path, false); }
    int addMenuBar(const std::string& name) { return add(ItemKind::MenuBar, name, false); }
    // Adds an item of any file kind (not the project or application).
    int add(ItemKind kind, const std::string& path, bool expand);
    // Removes an item and its record; the category goes with its last member.
    void remove(int item);
    // Removes every item of the kind.
    void removeKind(ItemKind kind);
    // The items of a kind become `paths`, in that order; their category keeps
    // its place while it has members.
    void replaceKind(ItemKind kind, const std::vector<std::string>& paths);

    std::vector<std::string> forms() const { return pathsOfKind(ItemKind::Form); }
    std::vector<std::string> images() const { return pathsOfKind(ItemKind::Image); }
    std::vector<std::string> cFiles() const { return pathsOfKind(ItemKind::CFile); }
    std::vector<std::string> menuBars() const { return pathsOfKind(ItemKind::MenuBar); }
    // Items of a kind in tree order.
    std::vector<const PROJECT_ITEM*> itemsOfKind(ItemKind kind) const;
    // Full path of the first image or icon record whose base name matches.
    std::string imagePathByBaseName(const std::string& name) const;

    const PROJECT_ITEM* find(int item) const;
    const PROJECT_ITEM* findPath(ItemKind kind, const std::string& path) const;
    // All records in the order they were added.
    const std::vector<PROJECT_ITEM>& records() const { return records_; }
    // Categories in display order (between the application item and "Dummy").
    const std::vector<Category>& categories() const { return categories_; }
    const Category* category(const std::string& label) const;
    void expand(const std::string& label);

    // Removes everything: "No Project" and "Dummy" stay.
    void clear();

private:
    std::string pathOfKind(ItemKind kind) const;
    std::vector<std::string> pathsOfKind(ItemKind kind) const;
    Category& ensureCategory(const std::string& label);
    // A new record at the end of the category; its id.
    int append(Category& c, ItemKind kind, const std::string& path);
    PROJECT_ITEM* record(int item);
    void setSingle(ItemKind kind, const std::string& path);
    void changed();

    std::string projectPath_;
    std::vector<PROJECT_ITEM> records_;
    std::vector<Category> categories_;
    int applicationItem_ = 0;
    int nextItem_ = 1;
    std::vector<ProjectTreeListener*> listeners_;
};

}  // namespace varn
