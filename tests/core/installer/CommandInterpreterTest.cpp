// The stand-in command interpreter: del with "*" and "?", rmdir, the forms
// of the clean-up commands.
#include <gtest/gtest.h>

#include "InstallTestSupport.h"
#include "installer/CommandInterpreter.h"

using namespace varn;
using namespace varn::install;

TEST(CommandInterpreter, Wildcards) {
    EXPECT_TRUE(CommandInterpreter::matches("*.vce", "Demo.VCE"));
    EXPECT_FALSE(CommandInterpreter::matches("*.vce", "Demo.vcex"));
    EXPECT_TRUE(CommandInterpreter::matches("d?mo.*", "demo.inf"));
    EXPECT_FALSE(CommandInterpreter::matches("d?mo.*", "dmo.inf"));
    EXPECT_TRUE(CommandInterpreter::matches("*.*", "noext"));
    EXPECT_TRUE(CommandInterpreter::matches("*", "anything.x"));
    EXPECT_TRUE(CommandInterpreter::matches("a*b*c", "aXXbYYbc"));
    EXPECT_FALSE(CommandInterpreter::matches("a*b*c", "aXXbYYb"));
}

TEST(CommandInterpreter, DelAndRmdir) {
    test::TempDir tmp;
    const std::string d = tmp.path();
    fsys::createFolders(d + "/ARM");
    for (const char* f : {"a.vce", "B.VCE", "keep.txt", "ARM/x.dll", "ARM/y.exe", "ARM/z.txt"})
        test::writeBytes(d + "/" + f, "x");
    EXPECT_EQ(CommandInterpreter::run("del *.vce", d), 0);
    EXPECT_FALSE(fsys::exists(d + "/a.vce"));
    EXPECT_FALSE(fsys::exists(d + "/B.VCE"));
    EXPECT_TRUE(fsys::exists(d + "/keep.txt"));
    EXPECT_EQ(CommandInterpreter::run("del *.wav", d), 1);  // nothing to delete
    EXPECT_EQ(CommandInterpreter::run("@del arm\\*.dll", d), 0);
    EXPECT_FALSE(fsys::exists(d + "/ARM/x.dll"));
    EXPECT_EQ(CommandInterpreter::run("rmdir ARM", d), 1);  // not empty
    EXPECT_TRUE(fsys::isDirectory(d + "/ARM"));
    EXPECT_EQ(CommandInterpreter::run("del ARM\\*.exe", d), 0);
    EXPECT_EQ(CommandInterpreter::run("del ARM/z.txt", d), 0);
    EXPECT_EQ(CommandInterpreter::run("rmdir ARM", d), 0);
    EXPECT_FALSE(fsys::exists(d + "/ARM"));
    EXPECT_EQ(CommandInterpreter::run("format c:", d), 1);
}

TEST(CommandInterpreter, DelLeavesFoldersAndReadOnlyFiles) {
    test::TempDir tmp;
    const std::string d = tmp.path();
    fsys::createFolders(d + "/sub.inf");
    test::writeBytes(d + "/ro.inf", "x");
    test::writeBytes(d + "/rw.inf", "x");
    fsys::setReadOnly(d + "/ro.inf", true);
    EXPECT_EQ(CommandInterpreter::run("del *.inf", d), 1);
    EXPECT_TRUE(fsys::isDirectory(d + "/sub.inf"));
    EXPECT_TRUE(fsys::exists(d + "/ro.inf"));
    EXPECT_FALSE(fsys::exists(d + "/rw.inf"));
}
