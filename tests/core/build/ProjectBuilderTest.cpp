// Compiles through a scripted stand-in compiler: the stops with their
// messages, the option file on disk, the logs, the runtime copy and the
// batch log copy.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TestSupport.h"
#include "app/RecordingUi.h"
#include "build/BuildHost.h"
#include "build/OptionFile.h"
#include "build/ProjectBuilder.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"
#include "project/VARNWorkspaceManager.h"

using namespace varn;

namespace {

struct PaneHost : BuildHost {
    std::string pane;
    int saves = 0;
    void showBuildText(const std::string& t) override { pane = t; }
    void saveDocuments(bool, bool) override { ++saves; }
};

struct Fixture {
    test::TempDir tmp;
    std::string install = tmp.file("varn");
    std::string d = tmp.file("Proj");
    RecordingUi ui;
    SettingsStore settings;
    SymbolList symbols;
    VARNWorkspaceManager workspace{ui, settings, symbols, install};
    PaneHost host;
    ProjectBuilder builder{workspace, ui, settings, host, install};

    Fixture() {
        fsys::createFolders(install);
        fsys::createFolders(d);
        test::writeBytes(install + "/VARNsyms.txt", "");
        test::writeBytes(install + "/VarnWin.exe", "runtime");
        test::writeBytes(d + "/Demo.vsl", "numeric x;\r\n");
        ProjectModel& m = workspace.project();
        m.projectPath = d + "/Demo.vpj";
        m.tree.setProjectRoot(m.projectPath, d + "/Demo.vsl");
        m.activeConfiguration = "Windows Debug";
    }
    // A compiler that keeps the option file it was given and writes `log`.
    void compiler(const std::string& log) {
        std::string script = "#!/bin/sh\ncp \"$1\" options.seen\n";
        if (!log.empty()) script += "printf '" + log + "' > varn_c.log\n";
        test::writeBytes(install + "/varn_c.exe", script);
        ::chmod((install + "/varn_c.exe").c_str(), 0755);
    }
};

}  // namespace

TEST(ProjectBuilder, StopsWithTheirMessages) {
    {
        Fixture f;
        f.builder.compileProject();
        EXPECT_EQ(f.ui.texts(), std::vector<std::string>{ProjectBuilder::kNoCompiler});
        EXPECT_TRUE(f.builder.buildFailed());
    }
    {
        Fixture f;
        f.compiler("ok\\n");
        f.workspace.project().tree.clear();
        f.builder.compileProject();
        EXPECT_EQ(f.ui.texts(), std::vector<std::string>{ProjectBuilder::kNoProject});
    }
    {
        Fixture f;
        f.compiler("ok\\n");
        test::writeBytes(f.d + "/varn_c.log", "old");
        fsys::setReadOnly(f.d + "/varn_c.log", true);
        f.builder.compileProject();
        EXPECT_EQ(f.ui.lastText(),
                  "The file " + f.d + "/varn_c.log" +
                      " can not be saved because it is marked read-only.\n\nThe build operation has been canceled.");
        EXPECT_EQ(f.host.saves, 0);
    }
    {
        Fixture f;
        f.compiler("ok\\n");
        f.workspace.project().activeConfiguration = "PocketPC Debug";
        f.builder.compileProject();
        EXPECT_EQ(f.ui.lastText(), OptionFile::kEmptyCreator);
        EXPECT_TRUE(f.builder.buildFailed());
    }
}

TEST(ProjectBuilder, CleanCompileMakesTheRuntimeCopyOnce) {
    Fixture f;
    f.compiler("Compiling\\r\\nCompile complete: 0 error(s)\\r\\n");
    f.builder.compileCommand();
    EXPECT_TRUE(f.ui.messages.empty()) << f.ui.lastText();
    EXPECT_FALSE(f.builder.buildFailed());
    EXPECT_FALSE(f.builder.busy());
    EXPECT_EQ(f.host.saves, 1);
    std::string options = test::readBytes(f.d + "/options.seen");
    EXPECT_EQ(options.rfind("-win32\r\n-enable_bitmap_segments\r\n-output=" + f.d + "/Windows Debug/demo.vsp\r\n", 0),
              0u);
    EXPECT_TRUE(fsys::isDirectory(f.d + "/Windows Debug"));
    EXPECT_EQ(test::readBytes(f.d + "/Windows Debug/Demo.exe"), "runtime");
    test::writeBytes(f.d + "/Windows Debug/Demo.exe", "mine");
    f.builder.compileProject();
    EXPECT_EQ(test::readBytes(f.d + "/Windows Debug/Demo.exe"), "mine");
}

TEST(ProjectBuilder, ErrorsAndMissingLogsFailTheBuild) {
    Fixture f;
    f.compiler("File demo.vsl, Line 3: Undefined variable\\n");
    f.builder.compileProject();
    EXPECT_TRUE(f.builder.buildFailed());
    EXPECT_NE(f.host.pane.find("Undefined variable"), std::string::npos);
    EXPECT_FALSE(fsys::exists(f.d + "/Windows Debug/Demo.exe"));

    f.compiler("");  // writes no log at all
    f.builder.compileProject();
    EXPECT_TRUE(f.builder.buildFailed());
    EXPECT_EQ(f.host.pane, "Unable to open error log " + f.install + "/varn_c.log, error code is 2.");
}

TEST(ProjectBuilder, BatchCompileStartsANewLogCopy) {
    Fixture f;
    std::string copy = f.tmp.file("build.log");
    test::writeBytes(copy, "from an older run");
    f.compiler("File demo.vsl, Line 3: bad\\n");
    EXPECT_NE(f.builder.batchCompile(copy), 0);
    std::string text = test::readBytes(copy);
    EXPECT_EQ(text.rfind("***Build Error***\n\nbad", 0), 0u) << text;
    EXPECT_EQ(f.builder.logCopyPath(), copy);
    f.compiler("all good\\n");
    EXPECT_EQ(f.builder.batchCompile(copy), 0);
    EXPECT_EQ(test::readBytes(copy), "all good\r\n\n");
}

TEST(ProjectBuilder, OutOfDateRule) {
    Fixture f;
    std::string out = f.d + "/out.vsp";
    EXPECT_TRUE(f.builder.outOfDate(out));
    test::writeBytes(out, "x");
    struct timespec old[2] = {{1000, 0}, {1000, 0}};
    ::utimensat(AT_FDCWD, (f.d + "/Demo.vsl").c_str(), old, 0);
    EXPECT_FALSE(f.builder.outOfDate(out));
    f.builder.setRebuildNeeded();
    EXPECT_TRUE(f.builder.outOfDate(out));
    EXPECT_FALSE(f.builder.outOfDate(out));  // the flag is cleared by the test
    f.workspace.project().tree.addFormFile(f.d + "/New.vff");
    test::writeBytes(f.d + "/New.vff", "");
    struct timespec later[2] = {{4000000000, 0}, {4000000000, 0}};
    ::utimensat(AT_FDCWD, (f.d + "/New.vff").c_str(), later, 0);
    EXPECT_TRUE(f.builder.outOfDate(out));
}

// The rebuild offer before Run and Debug: an output older than a source is
// rebuilt at once unless "ConfirmAutoBuild" asks first; No keeps the old
// output; an output newer than every source is left alone without a question.
TEST(ProjectBuilder, RebuildOfferFollowsConfirmAutoBuild) {
    struct Row {
        int confirm;  // -1: the key is not set (its default, 0)
        std::optional<Answer> answer;
        bool stale, asked, compiled;
    };
    for (const Row& r :
         {Row{-1, {}, true, false, true}, Row{0, {}, true, false, true}, Row{1, Answer::Yes, true, true, true},
          Row{1, Answer::No, true, true, false}, Row{1, {}, false, false, false}}) {
        Fixture f;
        f.compiler("Compile complete: 0 error(s)\\r\\n");
        if (r.confirm >= 0) f.settings.setInt("Settings", "ConfirmAutoBuild", r.confirm);
        if (r.answer) f.ui.answers.push_back(*r.answer);
        const std::string output = f.d + "/Windows Debug/demo.vsp";
        fsys::createFolders(f.d + "/Windows Debug");
        test::writeBytes(output, "old");
        const struct timespec times[2] = {{1000, 0}, {1000, 0}};
        if (r.stale) ::utimensat(AT_FDCWD, output.c_str(), times, 0);
        f.builder.rebuildOffer(output);
        EXPECT_EQ(!f.ui.messages.empty(), r.asked) << r.confirm;
        if (r.asked) {
            EXPECT_EQ(f.ui.lastText(), "The project demo is out of date. Would you like to rebuild it?");
        }
        EXPECT_EQ(fsys::exists(f.d + "/options.seen"), r.compiled) << r.confirm;
    }
}
