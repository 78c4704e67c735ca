// Saving a project that cannot be written: the failure is reported with the
// system's reason and the project stays modified, on every path that saves;
// and a project with thousands of variables survives open and save unchanged.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "InjectedFailure.h"
#include "TestSupport.h"
#include "app/RecordingUi.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"
#include "project/OpenDocuments.h"
#include "project/ProjectCommands.h"
#include "project/VARNWorkspaceManager.h"

using namespace varn;
using Strings = std::vector<std::string>;

namespace {

struct NoDocuments : OpenDocuments {
    bool isOpen(const std::string&) const override { return false; }
    bool isModified(const std::string&) const override { return false; }
    bool save(const std::string&) override { return true; }
    std::optional<std::string> text(const std::string&) const override { return std::nullopt; }
    Strings modifiedDocuments() const override { return {}; }
    bool saveAllModified() override { return true; }
    bool open(const std::string&, bool) override { return true; }
};

struct Fixture {
    test::TempDir tmp;
    RecordingUi ui;
    SettingsStore settings = SettingsStore::open(tmp.file("settings.ini"));
    SymbolList symbols;
    VARNWorkspaceManager manager{ui, settings, symbols, tmp.file("install")};
    NoDocuments docs;
    ProjectCommands commands{manager, ui, settings, docs};
    std::string project = tmp.file("Demo.vpj");

    Fixture() {
        test::writeBytes(tmp.file("install/VARNsyms.txt"), "");
        EXPECT_TRUE(manager.saveWorkspace(project));
        ui.clear();
        manager.project().projectVars = {"edited = 1"};
        manager.project().modified = true;
    }
    std::string noSpace() const {
        return std::string(VARNWorkspaceManager::kCouldNotSave) + "\nCannot write " + project + ": " +
               std::strerror(ENOSPC);
    }
};

}  // namespace

TEST(ProjectSave, FailedWriteIsReportedAndKeepsTheProjectModified) {
    Fixture f;
    const std::string before = test::readBytes(f.project);
    {
        test::InjectedFailure full("write", ENOSPC);
        EXPECT_FALSE(f.manager.saveCurrentWorkspace());
        f.commands.saveAll();
    }
    EXPECT_EQ(f.ui.texts(), (Strings{f.noSpace(), f.noSpace()}));
    EXPECT_TRUE(f.manager.project().modified);
    EXPECT_EQ(test::readBytes(f.project), before);
    EXPECT_TRUE(f.manager.saveCurrentWorkspace());
    EXPECT_FALSE(f.manager.project().modified);
}

// The recovery journal's copy of a modified project is what the save writes,
// and taking it back into the project as last saved restores the edits.
TEST(ProjectSave, UnsavedSettingsComeBackFromTheBytesASaveWouldWrite) {
    Fixture f;
    const std::string unchanged = f.manager.settingsText();
    EXPECT_EQ(f.manager.settingsText(), unchanged);
    f.manager.project().settings.desktopName = "Edited Name";
    EXPECT_NE(f.manager.settingsText(), unchanged);
    const std::string copy = f.manager.workspaceBytes();
    EXPECT_NE(copy, test::readBytes(f.project));
    ASSERT_TRUE(f.manager.openWorkspace(f.project, true));
    EXPECT_TRUE(f.manager.project().projectVars.empty());

    EXPECT_FALSE(f.manager.restoreSettings("not a project"));
    ASSERT_TRUE(f.manager.restoreSettings(copy));
    EXPECT_TRUE(f.manager.project().modified);
    EXPECT_EQ(f.manager.project().projectVars, Strings{"edited = 1"});
    EXPECT_EQ(f.manager.project().settings.desktopName, "Edited Name");
    ASSERT_TRUE(f.manager.saveCurrentWorkspace());
    EXPECT_NE(test::readBytes(f.project).find("DesktopName=Edited Name\r\n"), std::string::npos);
}

TEST(ProjectSave, ClosingOffersRetryOrCancel) {
    for (Answer answer : {Answer::Cancel, Answer::Ok}) {
        Fixture f;
        f.ui.answers = {Answer::Ok, answer};  // the error box, then the question
        bool closed;
        {
            // The disk is full for one write, then has room again.
            test::InjectedFailure full("write", ENOSPC, 1);
            closed = f.commands.mainWindowClosing(false);
        }
        const bool retried = answer == Answer::Ok;
        EXPECT_EQ(closed, retried);
        ASSERT_EQ(f.ui.messages.size(), 2u);
        EXPECT_EQ(f.ui.messages[0].text, f.noSpace());
        EXPECT_EQ(f.ui.messages[1].text, ProjectCommands::kRetrySave);
        EXPECT_EQ(f.ui.messages[1].buttons, MsgButtons::OkCancel);
        EXPECT_EQ(f.manager.project().modified, !retried);
        EXPECT_TRUE(f.manager.currentWorkspaceName().has_value());
    }
}

TEST(ProjectSave, NewProjectOnAFullDiskIsNotCreated) {
    Fixture f;
    // The open project is read-only, so closing it writes nothing.
    ::chmod(f.project.c_str(), 0444);
    f.ui.saveAnswers.push_back(f.tmp.file("New.vpj"));
    test::InjectedFailure full("write", ENOSPC);
    EXPECT_FALSE(f.commands.newProject());
    EXPECT_EQ(f.ui.texts().back(), ProjectCommands::kCouldNotCreateProject);
    EXPECT_FALSE(fsys::exists(f.tmp.file("New.vpj")));
}

TEST(ProjectSave, FiveThousandVariablesSurviveOpenAndSave) {
    Fixture f;
    Strings vars;
    for (int i = 0; i < 5000; ++i) vars.push_back("Variable" + std::to_string(i) + " = " + std::to_string(i * 7));
    f.manager.project().projectVars = vars;
    f.manager.project().setActiveConfiguration("Windows Debug");
    ASSERT_TRUE(f.manager.saveCurrentWorkspace());
    const std::string written = test::readBytes(f.project);
    ASSERT_TRUE(f.manager.openWorkspace(f.project, true));
    EXPECT_EQ(f.manager.project().projectVars, vars);
    ASSERT_TRUE(f.manager.saveCurrentWorkspace());
    const std::string again = test::readBytes(f.project);
    EXPECT_TRUE(again == written) << again.size() << " bytes against " << written.size();
}
