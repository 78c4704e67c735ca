// The project tree's categories: created with their first member, placed by
// rule, removed with their last; labels and same-name replacement.
#include <gtest/gtest.h>

#include "project/ProjectTree.h"

using namespace varn;

namespace {

std::vector<std::string> labels(const ProjectTree& t) {
    std::vector<std::string> out;
    for (const auto& c : t.categories()) out.push_back(c.label);
    return out;
}

struct Counter : ProjectTreeListener {
    int changes = 0;
    void projectTreeChanged() override { ++changes; }
};

}  // namespace

TEST(ProjectTree, CategoryPlacement) {
    ProjectTree t;
    t.setProjectRoot("/p/Demo.vpj", "/p/Demo.vsl");
    t.addFormFile("/p/Main.vff");
    t.addHeader("/p/a.h");  // no "C Files" yet: placed last
    t.addCFile("/p/a.c");
    t.addImageFile("/p/logo.vbm");
    t.addInclude("/p/inc.vsl");
    EXPECT_EQ(labels(t), (std::vector<std::string>{"Includes", "Forms", "Header Files", "C Files", "Images"}));
    t.removeKind(ItemKind::Header);
    t.addHeader("/p/b.h");
    EXPECT_EQ(labels(t), (std::vector<std::string>{"Includes", "Forms", "C Files", "Header Files", "Images"}));
    EXPECT_EQ(t.projectLabel(), "Demo");
    EXPECT_EQ(t.applicationPath(), "/p/Demo.vsl");
}

TEST(ProjectTree, SameLabelReplacesAndLastMemberRemovesCategory) {
    ProjectTree t;
    Counter counter;
    t.addListener(&counter);
    int first = t.addFormFile("/p/Main.vff");
    t.addFormFile("/p/Other.vff");
    int again = t.addFormFile("/q/MAIN.vff");
    EXPECT_EQ(again, first);
    EXPECT_EQ(t.forms(), (std::vector<std::string>{"/q/MAIN.vff", "/p/Other.vff"}));
    for (const auto* r : t.itemsOfKind(ItemKind::Form)) t.remove(r->item);
    EXPECT_EQ(t.category("Forms"), nullptr);
    EXPECT_GE(counter.changes, 5);
    t.removeListener(&counter);
}

TEST(ProjectTree, IconsAndImageLookup) {
    ProjectTree t;
    t.addImageFile("/p/arrow.vbm");
    t.setLargeIcon("/p/big.vic");
    t.setSmallIcon("/p/small.vic");
    t.setLargeIcon("/p/big2.vic");
    EXPECT_EQ(t.largeIconPath(), "/p/big2.vic");
    EXPECT_EQ(t.itemsOfKind(ItemKind::LargeIcon).size(), 1u);
    EXPECT_EQ(t.images(), (std::vector<std::string>{"/p/arrow.vbm"}));
    EXPECT_EQ(t.imagePathByBaseName("ARROW"), "/p/arrow.vbm");
    EXPECT_EQ(t.imagePathByBaseName("small"), "/p/small.vic");
    EXPECT_EQ(t.imagePathByBaseName("none"), "");
    t.setSmallIcon("");
    EXPECT_EQ(t.smallIconPath(), "");
    t.clear();
    EXPECT_TRUE(t.categories().empty());
    EXPECT_EQ(t.projectLabel(), "No Project");
}
