// Option files for every configuration and the project settings that shape
// them, compared with golden files ("<D>" stands for the project folder).
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "build/OptionFile.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "project/ProjectModel.h"

using namespace varn;

namespace {

struct Project {
    test::TempDir tmp;
    std::string d = tmp.file("Proj");
    ProjectModel model;

    explicit Project(bool withFiles = true) {
        fsys::createFolders(d);
        model.projectPath = d + "/Demo.vpj";
        model.tree.setProjectRoot(model.projectPath, d + "/Demo.vsl");
        model.settings.creatorID = "5641524E";
        model.settings.ppcCreatorID = "44454D4F";
        model.settings.splashScreen = "splash";
        model.projectVars = {"string greeting = \"Hi\"", "numeric count = 3"};
        if (!withFiles) return;
        model.tree.addFormFile(d + "/Main.vff");
        model.tree.addFormFile(d + "/forms/About.VFF");
        model.tree.addImageFile(d + "/Logo.vbm");
        model.tree.addCFile(d + "/Native.c");
        model.tree.setLargeIcon(d + "/Big.vic");
        model.tree.setSmallIcon(d + "/Small.vic");
    }

    std::string options(const std::string& configuration, bool noBitmapSegments = false) {
        model.activeConfiguration = configuration;
        BuildFlags f = BuildFlags::classify(configuration, model.settings.optimizedBuild);
        auto out = OptionFile::build(model, BuildPaths::of(model, "/opt/varn"), f, noBitmapSegments);
        std::string text = out.text;
        for (std::size_t at; (at = text.find(d)) != std::string::npos;) text.replace(at, d.size(), "<D>");
        return text;
    }
};

std::string fileName(std::string configuration) {
    for (char& c : configuration)
        if (c == ' ') c = '_';
    return "build/options/" + configuration + ".opt";
}

}  // namespace

TEST(OptionFile, EveryConfiguration) {
    for (const char* c : {"PalmOS Debug", "Pilot Debug", "PalmOS Release", "Pilot Release", "Windows Debug",
                          "Windows Release", "PocketPC Debug", "PocketPC Release"}) {
        Project p;
        EXPECT_TRUE(test::matchesGolden(p.options(c), fileName(c))) << c;
        for (bool optimized : {false, true})
            EXPECT_EQ(BuildFlags::classify(paths::lower(c), optimized), BuildFlags::classify(c, optimized)) << c;
    }
}

TEST(OptionFile, SettingsThatChangeTheLines) {
    struct Case {
        const char* name;
        const char* configuration;
        void (*setup)(Project&);
    } cases[] = {
        {"v2", "Windows Debug", [](Project& p) { p.model.settings.v2Compatibility = true; }},
        {"v2_palm", "PalmOS Debug", [](Project& p) { p.model.settings.v2Compatibility = true; }},
        {"optimized", "PalmOS Release", [](Project& p) { p.model.settings.optimizedBuild = true; }},
        {"optimized_dbcreator", "PalmOS Release",
         [](Project& p) {
             p.model.settings.optimizedBuild = true;
             p.model.settings.changeDBCreatorID = true;
             p.model.settings.creatorID = "41424344";
             p.model.settings.allow1BitColor = true;
         }},
        {"optimized_pilot", "Pilot Release", [](Project& p) { p.model.settings.optimizedBuild = true; }},
        {"palm320", "PalmOS Debug",
         [](Project& p) {
             p.model.settings.palmOSFormSizeX = 320;
             p.model.settings.palmOSFormSizeY = 320;
         }},
        {"varnfonts_sip", "PocketPC Debug",
         [](Project& p) {
             p.model.settings.useVARNFonts = true;
             p.model.settings.enableSipResize = true;
             p.model.settings.varnWidth = 240;
             p.model.settings.varnHeight = 320;
         }},
        {"empty_ppc_creator", "PocketPC Release", [](Project& p) { p.model.settings.ppcCreatorID.clear(); }},
    };
    for (const auto& c : cases) {
        Project p;
        c.setup(p);
        EXPECT_TRUE(test::matchesGolden(p.options(c.configuration), std::string("build/options/") + c.name + ".opt"))
            << c.name;
    }
}

TEST(OptionFile, BareProjectWithMenuBarAndNoSegments) {
    Project p(false);
    test::writeBytes(p.d + "/Demo_MenuBar.ini", "");
    p.model.projectVars.clear();
    EXPECT_TRUE(test::matchesGolden(p.options("Windows Release", true), "build/options/bare.opt"));
}
