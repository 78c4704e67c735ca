// The rules behind the project and application settings dialogs: creator ID
// conversions, loading per target, the order of the OK checks, the write-back
// when the dialog goes away, and the project settings OK with its snapping.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/RecordingUi.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "project/ApplicationSettingsRules.h"
#include "project/CreatorId.h"
#include "project/ProjectSettingsRules.h"

using namespace varn;

// ------------------------------------------------------------- Creator ID

TEST(CreatorId, BothDirections) {
    struct Case {
        std::string text, hex;
    } toHex[] = {{"AB", "4142"}, {"VARN", "5641524E"}, {"ABCDE", "41424344"}, {"\xE9", "E9"},
                 {std::string("\0A", 2), "0041"}, {"", ""}};
    for (const auto& c : toHex) EXPECT_EQ(creator::textToHex(c.text), c.hex) << c.text;
    Case toText[] = {{"AB", "4142"}, {"AP", "415"},  // the odd digit is the high half: 0x50
                     {"VARN", "5641524e"}, {"ABCD", "4142434445"}, {".A", "0141"}, {".", "7F"}, {".", "E9"},
                     {"@", "4"}, {" ", "20"}, {"", ""}};
    for (const auto& c : toText) EXPECT_EQ(creator::hexToText(c.hex), c.text) << c.hex;
    for (const char* hex : {"GG", "ZZZZZZZZ", "--", "\xff\xff"})
        for (char ch : creator::hexToText(hex)) EXPECT_TRUE(ch >= 0x20 && ch < 0x7F) << hex;
}

// ---------------------------------------------------- Application settings

namespace {

ProjectModel modelFor(const char* configuration, bool optimized = false) {
    ProjectModel m;
    m.setActiveConfiguration(configuration);
    m.settings.optimizedBuild = optimized;
    m.settings.creatorID = "5641524E";
    m.settings.ppcCreatorID = "50504331";
    m.settings.desktopName = "Demo";
    m.settings.prcVersion = "1.0";
    m.settings.prcType = "library";
    m.settings.disableBeamApplication = true;
    m.settings.enableApplicationBackup = true;
    m.settings.changeDBCreatorID = true;
    m.settings.splashScreen = "logo";
    m.settings.enableSipResize = true;
    m.settings.palmOSFormSizeX = 160;
    m.settings.palmOSFormSizeY = 160;
    m.tree.setLargeIcon("/p/big.vic");
    m.tree.addImageFile("/p/logo.vbm");
    m.tree.addImageFile("/p/arrow.vbm");
    return m;
}

}  // namespace

// One letter per control: e enabled, d disabled, h hidden. In order: creator
// text, creator hex, desktop name, database creator check, PRC version, PRC
// type, non-beamable, backup, splash screen, SIP resize, form size.
static std::string layoutOf(const ApplicationSettingsLayout& l) {
    std::string out;
    for (const auto* c : {&l.creatorText, &l.creatorHex, &l.desktopName, &l.changeDBCreatorID, &l.prcVersion,
                          &l.prcType, &l.nonBeamable, &l.backup, &l.splashScreen, &l.sipResize, &l.formSize})
        out += !c->visible ? 'h' : !c->enabled ? 'd' : c->readOnly ? 'r' : 'e';
    return out;
}

TEST(ApplicationSettings, LoadPerTarget) {
    struct Case {
        const char* configuration;
        bool optimized;
        const char* layout;
        const char* hex;
        bool dbCheck, nonBeamableAndBackup;
        const char* prcVersion;
        std::size_t splashChoices;
        int width, height;
    } cases[] = {
        {"PalmOS Debug", false, "eeeddedddhe", "5641524E", false, true, "1.0", 0, 160, 160},
        {"Pilot Release", true, "eeeeeeeeehe", "5641524E", true, true, "1.0", 3, 160, 160},
        {"PocketPC Release", false, "eeehhhhheed", "50504331", false, false, "", 3, 240, 320},
        {"Windows Debug", false, "drhhhhhhhhe", "50504331", false, false, "", 0, 320, 320},
        {"Windows Release", true, "drhhhhhhhhe", "50504331", false, false, "", 3, 320, 320},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.configuration);
        ProjectModel m = modelFor(c.configuration, c.optimized);
        ApplicationSettingsRules r(m);
        EXPECT_EQ(layoutOf(r.layout), c.layout);
        EXPECT_EQ(r.fields.creatorHex, c.hex);
        EXPECT_EQ(r.fields.creatorText, creator::hexToText(c.hex));
        EXPECT_EQ(r.fields.changeDBCreatorID, c.dbCheck);
        EXPECT_EQ(r.fields.nonBeamable && r.fields.backup, c.nonBeamableAndBackup);
        EXPECT_EQ(r.fields.prcVersion, c.prcVersion);
        EXPECT_EQ(r.fields.splashScreens.size(), c.splashChoices);
        EXPECT_EQ(r.fields.formWidth * 10000 + r.fields.formHeight, c.width * 10000 + c.height);
        EXPECT_EQ(r.fields.prcTypeIndex, 1);  // "library"
    }
    ProjectModel m = modelFor("PocketPC Debug");
    EXPECT_EQ(ApplicationSettingsRules(m).fields.splashScreens, (std::vector<std::string>{"big", "logo", "arrow"}));
}

TEST(ApplicationSettings, OkChecksInOrder) {
    struct Case {
        const char* name;
        const char* configuration;
        std::string hex;
        int width, height;
        std::vector<Answer> answers;
        std::vector<std::string> messages;
        bool closes;
    } cases[] = {
        {"valid palm", "PalmOS Debug", "5641524E", 160, 160, {}, {}, true},
        {"valid 320", "PalmOS Release", "5641524E", 320, 320, {}, {}, true},
        {"empty creator", "PalmOS Debug", "", 160, 160, {}, {}, true},
        {"lower-case, change it", "PalmOS Debug", "76617266", 160, 160, {Answer::Yes},
         {ApplicationSettingsRules::kUpperCaseQuestion}, false},
        {"lower-case, keep it", "PalmOS Debug", "76617266", 160, 160, {Answer::No},
         {ApplicationSettingsRules::kUpperCaseQuestion}, true},
        {"digit first, keep, then size", "PalmOS Debug", "31323334", 240, 240, {Answer::No},
         {ApplicationSettingsRules::kUpperCaseQuestion, ApplicationSettingsRules::kPalmSizes}, false},
        {"not square", "PalmOS Debug", "5641524E", 160, 320, {}, {ApplicationSettingsRules::kSameSize}, false},
        {"240 square", "PalmOS Debug", "5641524E", 240, 240, {}, {ApplicationSettingsRules::kPalmSizes}, false},
        {"blanks around hex", "PalmOS Debug", "  5641524E ", 160, 160, {}, {}, true},
        {"windows any size", "Windows Debug", "5641524E", 640, 480, {}, {}, true},
        {"pocketpc lower-case", "PocketPC Debug", "61", 240, 320, {Answer::No},
         {ApplicationSettingsRules::kUpperCaseQuestion}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectModel m = modelFor(c.configuration);
        m.modified = false;
        ApplicationSettingsRules r(m);
        r.setCreatorHex(c.hex);
        r.fields.formWidth = c.width;
        r.fields.formHeight = c.height;
        RecordingUi ui;
        ui.answers.assign(c.answers.begin(), c.answers.end());
        EXPECT_EQ(r.ok(ui), c.closes);
        EXPECT_EQ(ui.texts(), c.messages);
        EXPECT_EQ(m.modified, c.closes);
        if (!ui.messages.empty() && c.messages[0] == ApplicationSettingsRules::kUpperCaseQuestion) {
            EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNo);
            EXPECT_EQ(ui.messages[0].icon, MsgIcon::Warning);
        }
    }
}

TEST(ApplicationSettings, OkTrimsTheTextFields) {
    ProjectModel m = modelFor("PalmOS Debug");
    ApplicationSettingsRules r(m);
    r.fields.desktopName = "  My App ";
    r.fields.prcVersion = "\t2.0 ";
    r.setCreatorText("VA");
    EXPECT_EQ(r.fields.creatorHex, "5641");
    r.setCreatorHex(" 4142 ");
    RecordingUi ui;
    ASSERT_TRUE(r.ok(ui));
    r.writeBack();
    EXPECT_EQ(m.settings.desktopName, "My App");
    EXPECT_EQ(m.settings.creatorID, "4142");
    EXPECT_EQ(r.fields.creatorText, "AB");
    EXPECT_EQ(r.fields.prcVersion, "2.0");
}

TEST(ApplicationSettings, WriteBackPerTargetEvenAfterCancel) {
    struct Case {
        const char* name;
        const char* configuration;
        bool optimized;
        const char* storedType;
        const char* creatorID, *ppcCreatorID;
        bool nonBeamable;
        const char* prcVersion;
        std::pair<int, int> palm, ppc, windows;
    } cases[] = {
        {"palm", "PalmOS Debug", false, "library", "41424344", "50504331", true, "1.0", {200, 200}, {240, 320},
         {320, 320}},
        {"palm optimized", "PalmOS Debug", true, "application", "41424344", "50504331", false, "9", {200, 200},
         {240, 320}, {320, 320}},
        {"pocketpc", "PocketPC Debug", false, "Application", "5641524E", "41424344", true, "1.0", {160, 160},
         {200, 100}, {320, 320}},
        {"windows", "Windows Debug", true, "LIBRARY", "5641524E", "50504331", true, "1.0", {160, 160}, {240, 320},
         {200, 100}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectModel m = modelFor(c.configuration, c.optimized);
        m.settings.prcType = c.storedType;
        {
            ApplicationSettingsRules untouched(m);  // opened and cancelled
            untouched.writeBack();
        }
        EXPECT_EQ(m.settings.prcType, paths::equalNoCase(c.storedType, "application") ? "Application" : "Library");

        ApplicationSettingsRules r(m);
        r.setCreatorText("ABCD");
        r.fields.nonBeamable = false;
        r.fields.prcVersion = "9";
        r.fields.desktopName = "Changed";
        r.fields.formWidth = 200;
        r.fields.formHeight = 100;
        r.writeBack();
        const ProjectSettings& s = m.settings;
        EXPECT_EQ(s.desktopName, "Changed");
        EXPECT_EQ(s.creatorID, c.creatorID);
        EXPECT_EQ(s.ppcCreatorID, c.ppcCreatorID);
        EXPECT_EQ(s.disableBeamApplication, c.nonBeamable);
        EXPECT_EQ(s.prcVersion, c.prcVersion);
        EXPECT_EQ(std::make_pair(s.palmOSFormSizeX, s.palmOSFormSizeY), c.palm);
        EXPECT_EQ(std::make_pair(s.pocketPCFormSizeX, s.pocketPCFormSizeY), c.ppc);
        EXPECT_EQ(std::make_pair(s.windowsFormSizeX, s.windowsFormSizeY), c.windows);
    }
}

// -------------------------------------------------------- Project settings

TEST(ProjectSettingsDialog, OkModifiedTestPreviousSizeAndSnapping) {
    using F = ProjectSettingsFields;
    struct Case {
        const char* name;
        void (*edit)(F&);
        bool modified;
    } cases[] = {
        {"nothing", [](F&) {}, false},
        {"font name case", [](F& f) { f.formFontName = "arial narrow"; }, true},
        {"varn fonts", [](F& f) { f.useVARNFonts = true; }, true},
        {"width", [](F& f) { f.displayWidth = 320; }, true},
        {"height", [](F& f) { f.displayHeight = 240; }, true},
        {"colours and checks", [](F& f) { f.textColour = 0x123456, f.useSystemColors = false, f.allow1BitColor = true; },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectModel m;
        m.settings.varnWidth = 200;
        m.settings.varnHeight = 300;
        F f = ProjectSettingsRules::load(m.settings);
        c.edit(f);
        DisplaySize previous{1, 1};
        ProjectSettingsRules::apply(f, m, previous, [](std::uint32_t v) { return v & 0xF0F0F0; });
        EXPECT_EQ(m.modified, c.modified);
        EXPECT_EQ(previous.width * 1000 + previous.height, 200300);
        EXPECT_EQ(m.settings.varnWidth * 1000 + m.settings.varnHeight, f.displayWidth * 1000 + f.displayHeight);
        EXPECT_EQ(m.settings.formFontName, f.formFontName);
        EXPECT_EQ(m.settings.useSystemColors, f.useSystemColors);
        EXPECT_EQ(m.settings.allow1BitColor, f.allow1BitColor);
        EXPECT_EQ(m.settings.defaultForeGroundColor, f.textColour & 0xF0F0F0);
    }
}

TEST(ProjectSettingsDialog, PaletteFontChoiceAndTitle) {
    ProjectModel m;
    ProjectSettingsFields f = ProjectSettingsRules::load(m.settings);
    f.textColour = 0x010203;  // near black: the device palette has black and white
    f.backgroundColour = 0xFEFEFE;
    DisplaySize previous;
    ProjectSettingsRules::chooseFont(f, m.settings, "Tahoma");
    EXPECT_EQ(m.settings.formFontName, "Tahoma");
    ProjectSettingsRules::apply(f, m, previous);
    EXPECT_FALSE(m.modified) << "the font was stored when chosen";
    EXPECT_EQ(m.settings.defaultForeGroundColor, 0u);
    EXPECT_EQ(m.settings.defaultBackGroundColor, 0xFFFFFFu);

    test::TempDir tmp;
    std::string path = tmp.file("P.vpj");
    test::writeBytes(path, "[WorkState_v1]\r\n");
    EXPECT_EQ(ProjectSettingsRules::title(path), "Project Settings");
    ASSERT_TRUE(fsys::setReadOnly(path, true).ok());
    EXPECT_EQ(ProjectSettingsRules::title(path), "Project Settings (read-only)");
}
