// The stored path form of project files and the relative-path rule.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

using namespace varn;

TEST(Paths, RelativeForm) {
    struct Case {
        const char* file;
        const char* folder;
        const char* stored;
    } cases[] = {
        {"/p/proj/x.vsl", "/p/proj", ".\\x.vsl"},
        {"/p/proj/x.vsl", "/p/proj/", ".\\x.vsl"},
        {"/p/proj/sub/deep/x.vsl", "/p/proj", ".\\sub\\deep\\x.vsl"},
        {"/p/lib/x.vsl", "/p/proj", ".\\..\\lib\\x.vsl"},
        {"/q/r/x.vsl", "/p/proj", ".\\..\\..\\q\\r\\x.vsl"},
        {"/P/PROJ/x.vsl", "/p/proj", ".\\x.vsl"},  // folders compare without case
        {"/p/projx/x.vsl", "/p/proj", ".\\..\\projx\\x.vsl"},
        {"/p/proj", "/p/proj", ".\\..\\proj"},
        {"C:/other/x.vsl", "/p/proj", "C:\\other\\x.vsl"},  // another drive: kept whole
        {"", "/p/proj", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(paths::relativeForm(c.file, c.folder), c.stored) << c.file;
}

TEST(Paths, ResolveStored) {
    struct Case {
        const char* stored;
        const char* resolved;
    } cases[] = {
        {".\\x.vsl", "/p/proj/x.vsl"},
        {".\\..\\lib\\x.vsl", "/p/lib/x.vsl"},
        {".\\sub\\.\\y.vff", "/p/proj/sub/y.vff"},
        {"C:\\abs\\x.vsl", "C:/abs/x.vsl"},
        {"\\abs\\x.vsl", "/abs/x.vsl"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(paths::resolveStored(c.stored, "/p/proj"), c.resolved) << c.stored;
}

TEST(Paths, NamesAndExtensions) {
    EXPECT_EQ(paths::baseName("/a/b.c.vsl"), "b.c");
    EXPECT_EQ(paths::extension("/a.d/b"), "");
    EXPECT_EQ(paths::extension("x.VPJ"), "VPJ");
    EXPECT_EQ(paths::withExtension("/a/b.vsl", "opt"), "/a/b.opt");
    EXPECT_EQ(paths::folderOf("/x"), "/");
    EXPECT_EQ(paths::normalize("/a/../../b/./c/"), "/b/c");
    EXPECT_EQ(paths::normalize("a/../../b"), "../b");
}

TEST(Paths, ResolvedCaseFindsTheFileOnDisk) {
    test::TempDir tmp;
    fsys::createFolders(tmp.file("Proj/Forms"));
    test::writeBytes(tmp.file("Proj/Forms/Main.VFF"), "x");
    EXPECT_EQ(fsys::resolveCase(tmp.file("proj/forms/main.vff")), tmp.file("Proj/Forms/Main.VFF"));
    EXPECT_EQ(paths::resolveStored(".\\FORMS\\main.vff", tmp.file("proj")), tmp.file("Proj/Forms/Main.VFF"));
    EXPECT_EQ(fsys::resolveCase(tmp.file("proj/nothing.vff")), tmp.file("proj/nothing.vff"));
}
