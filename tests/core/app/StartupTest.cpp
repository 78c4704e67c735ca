// Start-up without a window: the install path, the project fallbacks, the
// batch build checks and the variables; and the program itself as a process.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "TestSupport.h"
#include "app/CVarnIdeApp.h"
#include "app/RecordingUi.h"
#include "app/StartupHost.h"
#include "platform/FileSystem.h"
#include "project/VARNWorkspaceManager.h"

using namespace varn;
using test::TempDir;

namespace {

// A copy of the bundled installation folder and an isolated settings store.
struct Install {
    TempDir tmp;
    std::string share = tmp.file("share/varn");
    std::string config = tmp.file("config");

    Install() {
        fsys::createFolders(tmp.file("share"));
        test::runCommand("cp -r " + test::shellQuote(VARN_SHARE_DIR) + " " + test::shellQuote(share));
        fsys::createFolders(config + "/Quillfen");
        setInstallPath(share + "/");
    }
    void setInstallPath(const std::string& p) {
        test::writeBytes(config + "/Quillfen/VARNide43.ini", "[InstallInfo]\nInstallPath=" + p + "\n");
    }
    std::string settingsFile() const { return config + "/Quillfen/VARNide43.ini"; }
    // Runs a command with the settings stores pointed at this installation.
    test::ProcessOutput run(const std::string& args, const std::string& program = VARN_BIN_DIR "/varnide") const {
        return test::runCommand("cd " + test::shellQuote(tmp.path()) +
                                " && XDG_CONFIG_HOME=" + test::shellQuote(config) + " XDG_CONFIG_DIRS=" +
                                test::shellQuote(tmp.file("nomachine")) + " " + test::shellQuote(program) + " " + args);
    }
};

struct App {
    RecordingUi ui;
    CVarnIdeApp app;
    StartupHost host;
    explicit App(const Install& in)
        : app(ui, SettingsStore::open(in.settingsFile()), SettingsStore::open(in.tmp.file("none.ini"))) {
        app.setLaunchFolder(in.tmp.path());
    }
};

}  // namespace

TEST(Startup, InstallPathSources) {
    TempDir tmp;
    fsys::createFolders(tmp.file("bin"));
    fsys::createFolders(tmp.file("share/varn"));
    SettingsStore user, machine;
    EXPECT_EQ(CVarnIdeApp::findInstallPath(user, machine, tmp.file("bin")), tmp.file("share/varn"));
    EXPECT_EQ(CVarnIdeApp::findInstallPath(user, machine, tmp.file("deep/nowhere")), "");
    machine.setString("InstallInfo", "InstallPath", "/opt/m\\");
    EXPECT_EQ(CVarnIdeApp::findInstallPath(user, machine, tmp.file("bin")), "/opt/m");
    user.setString("InstallInfo", "InstallPath", "/opt/u/");
    EXPECT_EQ(CVarnIdeApp::findInstallPath(user, machine, tmp.file("bin")), "/opt/u");
}

TEST(Startup, VariablesReplaceMatchingProjectVariables) {
    std::vector<std::string> vars = {"string greeting = \"Hi\"", "numeric  Count=3", "other = 1", "count = 9"};
    CVarnIdeApp::applyVariables({"COUNT=4", "novalue", "string unknown=1", " string   Greeting =\"Bye\""}, vars);
    EXPECT_EQ(vars, (std::vector<std::string>{" string   Greeting =\"Bye\"", "COUNT=4", "other = 1", "count = 9"}));
    EXPECT_EQ(CVarnIdeApp::variableName("numeric x = 1"), "x");
    EXPECT_EQ(CVarnIdeApp::variableName("NUMERIC x"), "x");
    EXPECT_EQ(CVarnIdeApp::variableName("stringy = 1"), "stringy");
}

TEST(Startup, BatchBuildAppliesConfigurationAndVariables) {
    Install in;
    App a(in);
    std::string project = in.share + "/samples/Demo/Demo.vpj";
    int compiled = 0;
    a.app.setBatchCompile([&](CVarnIdeApp& app, const std::string& log) {
        ++compiled;
        EXPECT_EQ(log, in.tmp.file("out/build.log"));
        const ProjectModel& m = app.workspace()->project();
        EXPECT_EQ(m.activeConfiguration, "PocketPC Release");
        EXPECT_EQ(m.projectVars,
                  (std::vector<std::string>{"string greeting = \"Hello from VARN\"", "numeric count=42"}));
        return 1;
    });
    bool installer = false;
    a.app.setBatchInstaller([&](CVarnIdeApp&, const std::string&) { return installer = true; });
    EXPECT_FALSE(a.app.initInstance({project, "-build", "pocketpc release", "-log", "out/build.log", "-variable",
                                     "numeric count=42", "-buildinstaller"},
                                    a.host));
    EXPECT_EQ(compiled, 1);
    EXPECT_FALSE(installer);  // the compile failed
    EXPECT_EQ(a.app.exitInstance(a.host), -1);
    EXPECT_EQ(a.app.workspace()->project().projectPath, project);
}

TEST(Startup, InvalidBuildTypes) {
    for (const char* type : {"Pilot Debug", "Pilot Release", "Linux", ""}) {
        Install in;
        App a(in);
        bool compiled = false;
        a.app.setBatchCompile([&](CVarnIdeApp&, const std::string&) { return compiled = true, 0; });
        a.app.initInstance({"-build", type, "-project", in.share + "/samples/Demo/Demo.vpj"}, a.host);
        EXPECT_FALSE(compiled) << type;
        if (*type) {
            EXPECT_EQ(a.ui.texts(),
                      std::vector<std::string>{std::string("Invalid build type ") + type + " specified."});
        }
        EXPECT_EQ(a.app.exitInstance(a.host), 0);
    }
}

TEST(Startup, UnknownProjectFallsBackToSavingTheDefaultProject) {
    Install in;
    test::writeBytes(in.share + "/VARNide.vpj", "[Stale]\r\nx=1\r\n");
    App a(in);
    EXPECT_TRUE(a.app.initInstance({"nosuch.vpj"}, a.host));
    // The missing project says nothing; the workspace is saved as the default project.
    EXPECT_TRUE(a.ui.messages.empty());
    EXPECT_EQ(a.app.workspace()->project().projectPath, in.share + "/VARNide.vpj");
    std::string saved = test::readBytes(in.share + "/VARNide.vpj");
    // Written as every project file is (the project file goldens pin its key order).
    EXPECT_NE(saved.find("[WorkState_v1.ProjectSettings]\r\nTheApp=\r\nLargeIcon=\r\n"), std::string::npos) << saved;
}

TEST(Startup, InteractiveStartOpensRecentOrDefaultProject) {
    Install in;
    std::string demo = in.share + "/samples/Demo/Demo.vpj";
    {
        App a(in);
        EXPECT_TRUE(a.app.initInstance({demo}, a.host));
        a.app.exitInstance(a.host);
    }
    App b(in);
    EXPECT_TRUE(b.app.initInstance({}, b.host));
    EXPECT_EQ(b.app.workspace()->project().projectPath, demo);
    EXPECT_EQ(b.app.workspace()->project().tree.applicationPath(), in.share + "/samples/Demo/Demo.vsl");
    EXPECT_GT(b.app.symbols().symbols().size(), 30u);
    EXPECT_TRUE(b.ui.messages.empty());
}

TEST(StartupProcess, MissingInstallPath) {
    Install in;
    test::writeBytes(in.settingsFile(), "");
    // A copy of the program with no installation folder beside it.
    fsys::createFolders(in.tmp.file("lonely/bin"));
    fsys::copyFile(VARN_BIN_DIR "/varnide", in.tmp.file("lonely/bin/varnide"));
    fsys::setReadOnly(in.tmp.file("lonely/bin/varnide"), false);
    ::chmod(in.tmp.file("lonely/bin/varnide").c_str(), 0755);
    auto r = in.run("nosuch.vpj -build \"Windows Debug\"", in.tmp.file("lonely/bin/varnide"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "Unable to locate the VARN install path.\nPlease make sure VARN 4.3 is installed.\n");
}

TEST(StartupProcess, BatchBuildExitCodesAndMessages) {
    Install in;
    auto bad = in.run("-project samples.vpj -build \"Pilot Debug\"");
    EXPECT_EQ(bad.status, 0);
    EXPECT_EQ(bad.err, "Invalid build type Pilot Debug specified.\n");

    // A batch build of a project it cannot read fails, says so on standard
    // error and in a new log copy, and leaves the default project alone.
    test::writeBytes(in.share + "/VARNide.vpj", "");
    test::writeBytes(in.tmp.file("out.log"), "from an older run");
    auto unread = in.run("nosuch.vpj -build \"Windows Debug\" -log out.log -variable \"x=1\"");
    EXPECT_EQ(unread.status, 255);
    const std::string message = "Unable to open the project " + in.tmp.file("nosuch.vpj") + ".";
    EXPECT_EQ(unread.err, message + "\n");
    EXPECT_EQ(test::readBytes(in.tmp.file("out.log")), "***Build Error***\n\n" + message + "\n");
    EXPECT_EQ(test::readBytes(in.share + "/VARNide.vpj"), "");
    // The settings are written back at the end.
    std::string settings = test::readBytes(in.settingsFile());
    EXPECT_NE(settings.find("FontName(Watch Window)=Courier"), std::string::npos);
    EXPECT_NE(settings.find("CurrentDirectory="), std::string::npos);
}

TEST(StartupProcess, HelpAndVersion) {
    Install in;
    auto help = in.run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("-buildinstaller"), std::string::npos);
    auto version = in.run("--version");
    EXPECT_EQ(version.out.rfind("varnide ", 0), 0u);
}
