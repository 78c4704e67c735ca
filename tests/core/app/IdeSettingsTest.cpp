// The IDE settings dialog's model: opening values, what OK writes and where,
// the range refusals, the font style texts, the C build window warning; and
// the colouring defaults start-up writes.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/CVarnIdeApp.h"
#include "app/IdeSettings.h"
#include "app/RecordingUi.h"
#include "app/StartupHost.h"
#include "editor/ColouringSettings.h"
#include "platform/SettingsStore.h"

using namespace varn;

namespace {

const char* const kSource = "Editor\\VARN Source Files";
const char* const kCBuild = "Editor\\VARN C_Build Files";

}  // namespace

TEST(IdeSettings, OpeningReadsTheStoreAndProcessFormSize) {
    SettingsStore store;
    store.setInt("Settings", "FormSizeX", 999);  // the process values win
    IdeSettings s = IdeSettings::load(store, 240, 160);
    EXPECT_EQ(s.formSizeX, 240);
    EXPECT_EQ(s.formSizeY, 160);
    EXPECT_EQ(s.tabSize, 3);
    EXPECT_FALSE(s.confirmAutoBuild);

    // After start-up the source section's "Tab size" is the same value as "Tab Size".
    normaliseColouring(store);
    store.setInt("Settings", "ConfirmAutoBuild", 1);
    store.setString("Settings", "WinCEInstallDir", "/media/ce");
    s = IdeSettings::load(store, 320, 320);
    EXPECT_EQ(s.tabSize, 4);
    EXPECT_TRUE(s.confirmAutoBuild);
    EXPECT_EQ(s.winCEInstallDir, "/media/ce");
}

TEST(IdeSettings, OkWritesEveryKeyAndBothEditorSections) {
    test::TempDir tmp;
    SettingsStore store = SettingsStore::open(tmp.file("VARNide43.ini"));
    normaliseColouring(store);
    IdeSettings s = IdeSettings::load(store, 320, 320);
    s.palmPilotInstallDir = "C:\\Palm\\User\\Install\\";
    s.winCEInstallDir = "/media/ce//";
    s.confirmAutoSave = true;
    s.allowAutoProp = false;
    s.formSizeX = 480;
    s.tabSize = 6;
    s.showTabs = true;
    s.keepTabs = false;
    s.save(store);

    EXPECT_EQ(s.palmPilotInstallDir, "C:\\Palm\\User\\Install");
    // Every key of the Settings section in its order, the folders without their
    // trailing separators, and the tab keys overwriting start-up's values in
    // both editor sections, one key each.
    ASSERT_TRUE(store.save().ok());
    EXPECT_TRUE(test::matchesGolden(test::readBytes(tmp.file("VARNide43.ini")), "app/ide-settings-ok.ini"));
}

TEST(IdeSettings, ApplySetsProcessValues) {
    RecordingUi ui;
    CVarnIdeApp app(ui, SettingsStore{}, SettingsStore{});
    IdeSettings s = IdeSettings::load(app.settings(), app.formSizeX, app.formSizeY);
    EXPECT_EQ(s.formSizeX, 320);
    s.formSizeX = 500;
    s.formSizeY = 100;
    s.palmPilotInstallDir = "/palm/";
    s.apply(app);
    EXPECT_EQ(app.formSizeX, 500);
    EXPECT_EQ(app.formSizeY, 100);
    EXPECT_EQ(app.palmPilotInstallDir, "/palm");
    EXPECT_EQ(app.settings().getInt("Settings", "FormSizeY", 0), 100);
}

TEST(IdeSettings, RangeRefusals) {
    const std::string tabs = "Please enter an integer between 1 and 32.";
    const std::string form = "Please enter an integer between 100 and 1000.";
    EXPECT_EQ(rangeRefusal(100, 100, 1000), std::nullopt);
    EXPECT_EQ(rangeRefusal(1000, 100, 1000), std::nullopt);
    EXPECT_EQ(rangeRefusal(99, 100, 1000), form);
    EXPECT_EQ(rangeRefusal(1001, 100, 1000), form);

    struct Field {
        const char* text;
        std::optional<std::string> refusal;
    };
    const Field fields[] = {
        {"5", std::nullopt},
        {" 32 ", std::nullopt},
        {"+1", std::nullopt},
        {"0", tabs},
        {"-3", tabs},
        {"99999999999999999999", tabs},
        {"", "Please enter an integer."},
        {"4x", "Please enter an integer."},
        {"-", "Please enter an integer."},
    };
    for (const Field& f : fields) EXPECT_EQ(integerFieldRefusal(f.text, 1, 32), f.refusal) << f.text;
}

TEST(IdeSettings, FontStyle) {
    struct Row {
        int weight;
        bool italic;
        const char* style;
    };
    for (const Row& r : {Row{400, false, "Regular"}, Row{700, false, "Bold"}, Row{400, true, "Italic"},
                         Row{700, true, "Bold Italic"}, Row{900, false, "Bold"}, Row{600, true, "Italic"}})
        EXPECT_EQ(fontStyleText(r.weight, r.italic), r.style) << r.weight << r.italic;

    WindowFont f = fontFromChoice("Courier New", 125, true, true);
    EXPECT_EQ(f.size, 12);
    EXPECT_EQ(f.weight, 700);
    EXPECT_EQ(fontStyleText(f.weight, f.italic), "Bold Italic");
    EXPECT_EQ(fontFromChoice("Arial", 100, false, false).weight, 400);
}

TEST(IdeSettings, HidingTheCBuildWindowAsksFirst) {
    RecordingUi ui;
    ui.answers = {Answer::Cancel, Answer::Ok};
    EXPECT_FALSE(IdeSettings::confirmHideCBuildWindow(ui));
    EXPECT_TRUE(IdeSettings::confirmHideCBuildWindow(ui));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text,
              "Warning!\n\nSome versions of Windows will hang during a C Build compile if the C Build window is not "
              "shown.");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Warning);
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::OkCancel);
}

namespace {

struct NoFrameHost : StartupHost {
    bool otherInstance = false;
    std::string handedFile;
    bool activateOtherInstance(const std::string& file) override {
        handedFile = file;
        return otherInstance;
    }
    bool createMainFrame(VARNWorkspaceManager&) override { return false; }
};

}  // namespace

TEST(IdeSettings, StartupWritesColouringDefaultsAfterTheInstanceCheck) {
    RecordingUi ui;
    SettingsStore user;
    user.setString("InstallInfo", "InstallPath", VARN_SHARE_DIR);
    user.setString(kSource, "Terminator chars", "x");
    {
        CVarnIdeApp app(ui, user, SettingsStore{});
        NoFrameHost host;
        host.otherInstance = true;
        app.setLaunchFolder("/work/here");
        EXPECT_FALSE(app.initInstance({"notes.vsl"}, host));
        EXPECT_FALSE(app.settings().has(kCBuild, "Keywords"));  // the other instance was activated first
        EXPECT_EQ(host.handedFile, "/work/here/notes.vsl");     // and handed the file to open
    }
    CVarnIdeApp app(ui, user, SettingsStore{});
    NoFrameHost host;
    EXPECT_FALSE(app.initInstance({}, host));
    EXPECT_EQ(app.settings().getString(kCBuild, "Keywords"), "c_build.ini");
    EXPECT_EQ(app.settings().getString("Editor\\VARN Default Files", "Tab size"), "8");
    EXPECT_EQ(app.settings().getString(kSource, "Terminator chars"), ">");
}
