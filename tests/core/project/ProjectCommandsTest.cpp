// The project commands driven headless: Add Files with its rule table, Remove
// Project Item, the include scan, saving the project's sources, New, Open and
// Close Project, the toggles, Save All and closing the main window.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "TestSupport.h"
#include "app/RecordingUi.h"
#include "image/CVARNImgDoc.h"
#include "image/ImageBlockWriter.h"
#include "image/ImageIcons.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"
#include "project/ProjectCommands.h"
#include "project/VARNWorkspaceManager.h"

using namespace varn;
using Strings = std::vector<std::string>;

namespace {

// The window layer's documents, as far as the commands see them.
struct FakeDocuments : OpenDocuments {
    struct Doc {
        std::optional<std::string> text;
        bool modified = false;
    };
    std::map<std::string, Doc> docs;
    Strings opened, saved;                  // opened: "path" or "path (new)"
    bool cancelSaveAll = false;

    bool isOpen(const std::string& p) const override { return docs.count(p) != 0; }
    bool isModified(const std::string& p) const override { return docs.count(p) && docs.at(p).modified; }
    bool save(const std::string& p) override {
        saved.push_back(p);
        docs[p].modified = false;
        return true;
    }
    std::optional<std::string> text(const std::string& p) const override {
        return docs.count(p) ? docs.at(p).text : std::nullopt;
    }
    Strings modifiedDocuments() const override {
        Strings out;
        for (const auto& [p, d] : docs)
            if (d.modified) out.push_back(p);
        return out;
    }
    bool saveAllModified() override {
        if (cancelSaveAll) return false;
        for (const auto& p : modifiedDocuments()) save(p);
        return true;
    }
    bool open(const std::string& p, bool newForm) override {
        opened.push_back(newForm ? p + " (new)" : p);
        return true;
    }
};

// The default project open, a project folder, and an image writer that counts.
struct Fixture {
    test::TempDir tmp;
    RecordingUi ui;
    SettingsStore settings = SettingsStore::open(tmp.file("settings.ini"));
    SymbolList symbols;
    std::string dir = tmp.file("proj");
    VARNWorkspaceManager manager{ui, settings, symbols, tmp.file("install")};
    FakeDocuments docs;
    ProjectCommands commands{manager, ui, settings, docs};
    int imagesWritten = 0;

    Fixture() {
        test::writeBytes(tmp.file("install/VARNsyms.txt"), "abs;function;abs(n);Absolute value\r\n");
        fsys::createFolders(dir);
        EXPECT_TRUE(manager.saveWorkspace(commands.defaultProjectPath()));
        EXPECT_TRUE(manager.openWorkspace(commands.defaultProjectPath(), true));
        commands.setImageCreator([this](const std::string& p) {
            ++imagesWritten;
            return fsys::writeFileAtomic(p, {}).ok();
        });
    }
    ProjectModel& model() { return manager.project(); }
    ProjectTree& tree() { return manager.project().tree; }
    std::string file(const std::string& name) const { return dir + "/" + name; }
    std::string touch(const std::string& name, const std::string& text = {}) {
        test::writeBytes(file(name), text);
        return file(name);
    }
    // An icon file of one image of this size, as the image editor writes it.
    void writeIcon(const std::string& name, int width, int height) {
        CVARNImgDoc icon(ImageDocType::Icon);
        ASSERT_GE(icon.addImage(width, height, 8, ui), 0);
        icon.capture();
        ASSERT_TRUE(writeImageFile(file(name), icon.images(), ui).ok());
    }
    void rootProject() { tree().setProjectRoot(file("Demo.vpj"), touch("Demo.vsl")); }
    std::optional<ItemKind> kindOf(const std::string& path) {
        for (const auto& r : tree().records())
            if (r.path == path) return r.kind;
        return std::nullopt;
    }
    Strings names(ItemKind kind) {
        Strings out;
        for (const auto* r : tree().itemsOfKind(kind)) out.push_back(paths::fileName(r->path));
        return out;
    }
};

}  // namespace

// ---------------------------------------------------------------- Add Files

TEST(AddFiles, RuleTable) {
    using C = ProjectCommands;
    struct Case {
        const char* file;
        bool exists;
        const char* message;  // "" for none
        std::optional<ItemKind> placedAs;
        bool v2 = false;
        const char* projectImage = "";  // an image of the project beforehand
    } cases[] = {
        {"Main.vff", true, "", ItemKind::Form},
        {"Main.vff", true, C::kFormsInV2, {}, true},
        {"code.C", true, "", ItemKind::CFile},
        {"arrow.vbm", true, "", ItemKind::Image},
        {"my arrow.vbm", true, C::kBitmapName, {}},  // the name rule's cases are in the image document's test
        {"my.arrow.vbm", true, C::kBitmapName, {}},
        {"logo.vbm", true, C::kIconExists, {}, false, "LOGO.vic"},
        {"logo.vic", true, C::kBitmapExists, {}, false, "logo.VBM"},
        {"logo.vbm", true, "", ItemKind::Image, false, "sub/logo.vbm"},
        {"big icon.vic", true, C::kIconName, {}},
        {"big.vic", true, "", ItemKind::LargeIcon},
        {"small.vic", true, "", ItemKind::SmallIcon},
        {"odd.vic", true, "odd", ItemKind::SmallIcon},  // neither kind: reported, not the first kind
        {"lib.vpk", true, C::kAddedByInclude, {}},
        {"defs.H", true, C::kAddedByInclude, {}},
        {"notes.txt", true, C::kCannotAdd, {}},
        {"Other.vsl", true, C::kCannotAdd, {}},
        {"notes.txt", false, C::kCouldNotCreateFile, {}},
        {"Other.vsl", false, C::kCannotAdd, {}},
        {"New.vff", false, C::kFormsInV2, {}, true},
        {"a-b.vbm", false, C::kBitmapName, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + (c.exists ? "" : " (missing)"));
        Fixture f;
        f.rootProject();
        f.writeIcon("big.vic", 22, 22);
        f.writeIcon("small.vic", 15, 9);
        f.writeIcon("odd.vic", 30, 30);
        f.model().settings.v2Compatibility = c.v2;
        if (*c.projectImage) {
            std::string img = f.touch(c.projectImage);
            if (paths::equalNoCase(paths::extension(img), "vic")) f.tree().setLargeIcon(img);
            else f.tree().addImageFile(img);
        }
        const std::size_t before = f.tree().records().size();
        std::string path = f.file(c.file);
        if (c.exists && !fsys::exists(path)) f.touch(c.file);

        EXPECT_EQ(f.commands.addFile(path), c.placedAs.has_value());
        const std::string message =
            std::string(c.message) == "odd" ? iconSizeMessage(160, 160, 30, 30) : std::string(c.message);
        EXPECT_EQ(f.ui.texts(), message.empty() ? Strings{} : Strings{message});
        EXPECT_EQ(f.kindOf(path), c.placedAs);
        EXPECT_EQ(f.model().modified, c.placedAs.has_value());
        if (!c.placedAs) {
            EXPECT_EQ(f.tree().records().size(), before);
        }
        EXPECT_EQ(fsys::exists(path), c.exists) << "nothing is created for a refused file";
    }
}

TEST(AddFiles, MissingFilesAreCreatedAndOpened) {
    struct Case {
        const char* file;
        std::optional<ItemKind> placedAs;
        const char* opened;
        int imagesWritten;
    } cases[] = {
        {"New.vff", ItemKind::Form, "New.vff (new)", 0},  {"new.c", ItemKind::CFile, "new.c", 0},
        {"pic.VBM", ItemKind::Image, "pic.VBM", 1},        {"big.vic", ItemKind::LargeIcon, "big.vic", 1},
        {"inc.vpk", std::nullopt, "inc.vpk", 0},           {"defs.h", std::nullopt, "defs.h", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Fixture f;
        f.rootProject();
        f.commands.addFile(f.file(c.file));
        EXPECT_TRUE(fsys::exists(f.file(c.file)));
        EXPECT_EQ(f.docs.opened, Strings{f.file(c.opened)});
        EXPECT_EQ(f.imagesWritten, c.imagesWritten);
        EXPECT_EQ(f.kindOf(f.file(c.file)), c.placedAs);
    }
}

TEST(AddFiles, MissingFormsAndImagesAreWrittenInTheirFormats) {
    Fixture f;
    f.rootProject();
    f.commands.setImageCreator({});
    ProjectCommands plain{f.manager, f.ui, f.settings, f.docs};  // the built-in creators
    plain.addFile(f.file("Fresh.vff"));
    plain.addFile(f.file("art.vbm"));
    EXPECT_EQ(test::readBytes(f.file("Fresh.vff")).rfind("#\r\n# VARN Form File\r\n", 0), 0u);
    std::string image = test::readBytes(f.file("art.vbm"));
    ASSERT_GE(image.size(), 14u);
    // One image of the project's last bitmap size: 32 x 22 pixels.
    EXPECT_EQ(static_cast<unsigned char>(image[18]), 32);
    EXPECT_EQ(static_cast<unsigned char>(image[22]), 22);
    EXPECT_EQ(f.kindOf(f.file("art.vbm")), ItemKind::Image);
}

TEST(AddFiles, ChooserAndRefusalsDoNotStopTheOthers) {
    Fixture f;
    f.rootProject();
    f.ui.openAnswers.push_back({f.touch("a.vff"), f.touch("bad name.vbm"), f.touch("b.c"), f.touch("lib.vpk")});
    EXPECT_EQ(f.commands.addFiles(ProjectCommands::AddFilter::All), 2);
    EXPECT_EQ(f.ui.dialogs.at(0).filter,
              "Form Files (*.vff)|*.vff|Package Files (*.vpk)|*.vpk|Bitmap Files (*.vbm)|*.vbm|Icon Files "
              "(*.vic)|*.vic|C Files (*.c)|*.c|Header Files (*.h)|*.h||");
    EXPECT_TRUE(f.ui.dialogs[0].multiple);
    EXPECT_EQ(f.ui.texts(), (Strings{ProjectCommands::kBitmapName, ProjectCommands::kAddedByInclude}));
    EXPECT_EQ(f.ui.messages[1].icon, MsgIcon::Information);
    EXPECT_TRUE(f.tree().category(ProjectTree::kForms)->expanded);
    EXPECT_EQ(f.tree().cFiles(), Strings{f.file("b.c")});
}

// ------------------------------------------------------------------ Remove

TEST(RemoveProjectItem, ByKind) {
    Fixture f;
    f.rootProject();
    f.tree().setLargeIcon(f.touch("big.vic"));
    f.tree().setSmallIcon(f.touch("small.vic"));
    std::vector<int> gone = {f.tree().itemsOfKind(ItemKind::LargeIcon)[0]->item,
                             f.tree().itemsOfKind(ItemKind::SmallIcon)[0]->item,
                             f.tree().addFormFile(f.touch("Main.vff")), f.tree().addImageFile(f.touch("a.vbm")),
                             f.tree().addCFile(f.touch("code.c"))};
    int kept[] = {f.tree().itemsOfKind(ItemKind::Application)[0]->item, f.tree().addInclude(f.touch("inc.vsl"))};
    for (int id : kept) f.commands.removeItem(id);
    for (int id : kept) EXPECT_NE(f.tree().find(id), nullptr);
    EXPECT_FALSE(f.model().modified);

    for (int id : gone) f.commands.removeItem(id);
    for (int id : gone) EXPECT_EQ(f.tree().find(id), nullptr);
    EXPECT_TRUE(f.model().modified);
    for (const char* c : {ProjectTree::kForms, ProjectTree::kCFiles}) EXPECT_EQ(f.tree().category(c), nullptr);
    EXPECT_TRUE(fsys::exists(f.file("Main.vff"))) << "the file on disk stays";

    // A menu bar no frame uses goes from the tree and the project's list.
    CMenuBar bar;
    bar.name = "Bar";
    f.model().menuBars.push_back(bar);
    int barItem = f.tree().addMenuBar("Bar");
    f.commands.removeItem(barItem);
    EXPECT_EQ(f.tree().find(barItem), nullptr);
    EXPECT_TRUE(f.model().menuBars.empty());

    Strings removedBars;
    f.commands.setMenuBarRemover([&](const PROJECT_ITEM& r) { removedBars.push_back(r.path); });
    f.commands.removeItem(f.tree().addMenuBar("Other"));
    EXPECT_EQ(removedBars, Strings{"Other"});
}

// ---------------------------------------------------------------- Includes

TEST(UpdateIncludes, ScanRulesCyclesAndCCode) {
    Fixture f;
    f.rootProject();
    f.touch("Demo.vsl",
            "include \"inc.vsl\"\r\n"
            "   \tinclude   \"sub\\deep.vsl\"\r\n"
            "include <system.vsl>\r\ninclude plain.vsl\r\n#include \"hash.vsl\"\r\n' include \"comment.vsl\"\r\n"
            "include \"missing.vsl\"\r\ninclude \"INC.VSL\"\r\ninclude \"unclosed.vsl\r\ninclude \"hdr.h\"\n");
    f.touch("inc.vsl", "include \"Demo.vsl\"\ninclude \"inc.vsl\"\n");  // back to the application
    f.touch("sub/deep.vsl", "include \"other.vsl\"\n");  // taken against the application's folder
    f.touch("other.vsl", "include \"sub/deep.vsl\"\n");
    for (const char* n : {"sub/other.vsl", "system.vsl", "plain.vsl", "hash.vsl", "comment.vsl", "unclosed.vsl",
                          "hdr.h", "helper.h", "noHash.h"})
        f.touch(n);
    f.touch("code.c", "#include <stdio.h>\n#include \"code.h\"\n  #include \"helper.c\"\ninclude \"noHash.h\"\n");
    f.touch("code.h", "#include \"code.c\"\n#include \"code.h\"\n");
    f.touch("helper.c", "#include \"helper.h\"\n#include \"code.c\"\n");
    f.tree().addCFile(f.file("code.c"));
    f.tree().addInclude(f.touch("stale.vsl"));
    f.tree().addHeader(f.touch("stale.h"));

    f.commands.updateIncludes();

    EXPECT_EQ(f.names(ItemKind::Include), (Strings{"inc.vsl", "Demo.vsl", "deep.vsl", "other.vsl"}));
    EXPECT_EQ(f.names(ItemKind::Header), (Strings{"hdr.h", "code.h", "helper.h"}));
    EXPECT_TRUE(f.tree().category(ProjectTree::kIncludes)->expanded);
    Strings labels;
    for (const auto& c : f.tree().categories()) labels.push_back(c.label);
    EXPECT_EQ(labels, (Strings{"Includes", "C Files", "Header Files"}));

    // An open document is scanned as it stands in its editor.
    f.docs.docs[f.file("Demo.vsl")].text = "";
    f.commands.scanIncludes();
    EXPECT_EQ(f.names(ItemKind::Include), Strings{});
    EXPECT_EQ(f.names(ItemKind::Header), (Strings{"code.h", "helper.h"}));
}

TEST(UpdateIncludes, SavesSourcesFirstAskingWhenConfirmAutoSaveIsSet) {
    struct Case {
        int confirm;
        std::optional<Answer> answer;
        bool saved;
    } cases[] = {{0, std::nullopt, true}, {1, Answer::Yes, true}, {1, Answer::No, false}};
    for (const auto& c : cases) {
        Fixture f;
        f.rootProject();
        f.settings.setInt("Settings", "ConfirmAutoSave", c.confirm);
        f.touch("inc.vsl");
        f.docs.docs[f.file("Demo.vsl")] = {std::string("include \"inc.vsl\"\n"), true};
        if (c.answer) f.ui.answers.push_back(*c.answer);
        f.commands.updateIncludes();
        EXPECT_EQ(f.ui.messages.size(), c.confirm ? 1u : 0u);
        EXPECT_EQ(f.docs.saved.empty(), !c.saved);
        EXPECT_EQ(f.names(ItemKind::Include), Strings{"inc.vsl"}) << "scanned either way";
    }
}

TEST(SaveProjectSources, ChangedDocumentsOfKindsOneToEight) {
    for (auto answer : {Answer::Yes, Answer::No}) {
        Fixture f;
        f.rootProject();
        f.tree().addFormFile(f.touch("Main.vff"));
        f.tree().addFormFile(f.touch("Clean.vff"));
        f.tree().setLargeIcon(f.touch("big.vic"));
        f.tree().addInclude(f.touch("inc.vsl"));
        f.tree().addMenuBar("Bar");
        for (const char* n : {"Demo.vsl", "Main.vff", "big.vic", "inc.vsl", "elsewhere.vsl"})
            f.docs.docs[f.file(n)].modified = true;
        f.docs.docs["Bar"].modified = true;
        f.ui.answers.push_back(answer);

        EXPECT_EQ(f.commands.saveProjectSources(true), answer == Answer::Yes);
        EXPECT_EQ(f.ui.texts(), Strings{"Project Demo sources have been updated. Would you like to save them now?"});
        EXPECT_EQ(f.ui.messages[0].buttons, MsgButtons::YesNo);
        Strings saved;
        for (const auto& p : f.docs.saved) saved.push_back(paths::fileName(p));
        std::sort(saved.begin(), saved.end());
        Strings expected = {"Demo.vsl", "Main.vff", "big.vic", "inc.vsl"};
        EXPECT_EQ(saved, answer == Answer::Yes ? expected : Strings{});
    }
}

// ---------------------------------------------------------------- Projects

TEST(NewProject, WithAssumeProjectNameAndAddNewFile) {
    Fixture f;
    ProjectSettings& s = f.model().settings;
    s.creatorID = "41424344";
    s.desktopName = "Inherited";
    s.prcType = "Library";
    s.v2Compatibility = true;
    s.disableBeamApplication = true;
    s.windowsFormSizeX = 640;
    s.formFontName = "Kept";
    f.model().projectVars = {"numeric n = 1"};
    f.ui.saveAnswers.push_back(f.file("Fresh.txt"));  // the extension becomes .vpj

    ASSERT_TRUE(f.commands.newProject());

    EXPECT_EQ(f.ui.dialogs.at(0).filter, ProjectCommands::kProjectFilter);
    EXPECT_TRUE(f.ui.messages.empty()) << f.ui.lastText();
    EXPECT_EQ(f.manager.currentWorkspaceName().value_or(""), f.file("Fresh.vpj"));
    EXPECT_EQ(f.tree().applicationPath(), f.file("Fresh.vsl"));
    EXPECT_EQ(f.tree().projectLabel(), "Fresh");
    EXPECT_EQ(f.tree().forms(), Strings{f.file("Fresh.vff")});
    EXPECT_TRUE(fsys::exists(f.file("Fresh.vsl")) && fsys::exists(f.file("Fresh.vff")));
    EXPECT_EQ(f.docs.opened, (Strings{f.file("Fresh.vsl"), f.file("Fresh.vff") + " (new)"}));

    // Written with what the default project had, then reset in memory.
    std::string written = test::readBytes(f.file("Fresh.vpj"));
    EXPECT_NE(written.find("DesktopName=Inherited"), std::string::npos);
    EXPECT_NE(written.find("V2Compatibility=False"), std::string::npos);
    EXPECT_EQ(s.creatorID + s.desktopName, "");
    EXPECT_EQ(s.prcType, "Application");
    EXPECT_FALSE(s.v2Compatibility || s.disableBeamApplication);
    EXPECT_EQ(s.windowsFormSizeX, 320);
    EXPECT_EQ(s.formFontName, "Kept");
    EXPECT_TRUE(f.model().projectVars.empty());
}

TEST(NewProject, WithBothSettingsOff) {
    Fixture f;
    f.settings.setInt("Settings", "AssumeProjectName", 0);
    f.settings.setInt("Settings", "AddNewFile", 0);
    fsys::createFolders(f.file("src"));
    f.ui.saveAnswers = {f.file("Fresh.vpj"), f.file("src/Main.bas")};

    ASSERT_TRUE(f.commands.newProject());

    EXPECT_EQ(f.ui.dialogs.at(1).filter, ProjectCommands::kSourceFilter);
    EXPECT_EQ(f.tree().applicationPath(), f.file("src/Main.vsl"));
    EXPECT_TRUE(fsys::exists(f.file("src/Main.vsl")));
    EXPECT_FALSE(fsys::exists(f.file("Fresh.vff")));
    EXPECT_EQ(f.docs.opened, Strings{f.file("src/Main.vsl")});
    EXPECT_EQ(f.manager.currentWorkspaceName().value_or(""), f.file("Fresh.vpj"));
}

TEST(NewProject, ExistingFilesAreKeptAndAnExistingProjectIsOpened) {
    Fixture f;
    f.touch("Fresh.vsl", "keep me");
    f.touch("Fresh.vff", "form text");
    f.ui.saveAnswers.push_back(f.file("Fresh.vpj"));
    ASSERT_TRUE(f.commands.newProject());
    EXPECT_EQ(test::readBytes(f.file("Fresh.vsl")) + test::readBytes(f.file("Fresh.vff")), "keep meform text");
    EXPECT_EQ(f.docs.opened.back(), f.file("Fresh.vff"));
    EXPECT_EQ(f.tree().forms(), Strings{f.file("Fresh.vff")});

    f.tree().addCFile(f.touch("code.c"));
    f.docs.opened.clear();
    f.ui.saveAnswers.push_back(f.file("Fresh.vpj"));
    ASSERT_TRUE(f.commands.newProject());
    EXPECT_TRUE(f.docs.opened.empty());
    EXPECT_EQ(f.tree().cFiles(), Strings{f.file("code.c")}) << "saved by the close, then reopened";
}

TEST(NewProject, CancelledSourceChooserLeavesTheDefaultProjectOpen) {
    Fixture f;
    EXPECT_FALSE(f.commands.newProject());  // project chooser cancelled
    f.settings.setInt("Settings", "AssumeProjectName", 0);
    f.ui.saveAnswers.push_back(f.file("Fresh.vpj"));
    EXPECT_FALSE(f.commands.newProject());
    EXPECT_EQ(f.manager.currentWorkspaceName().value_or(""), f.commands.defaultProjectPath());
    EXPECT_FALSE(fsys::exists(f.file("Fresh.vpj")));
    EXPECT_EQ(f.ui.dialogs.size(), 3u);
}

TEST(NewProject, AFolderThatCannotHoldItClosesNothing) {
    Fixture f;
    f.ui.saveAnswers.push_back(f.file("P.vpj"));
    ASSERT_TRUE(f.commands.newProject());
    f.ui.messages.clear();
    f.ui.saveAnswers.push_back(f.file("missing/Q.vpj"));
    EXPECT_FALSE(f.commands.newProject());
    EXPECT_EQ(f.ui.texts(), Strings{ProjectCommands::kCouldNotCreateProject});
    EXPECT_EQ(f.manager.currentWorkspaceName().value_or(""), f.file("P.vpj"));
    EXPECT_TRUE(f.commands.hasApplication());
}

TEST(OpenCloseProject, ClearStateAndFallBackToDefault) {
    Fixture f;
    f.ui.saveAnswers.push_back(f.file("P.vpj"));
    ASSERT_TRUE(f.commands.newProject());
    f.model().breakpoints.push_back({3, f.file("P.vsl")});
    f.model().watchLists[1].push_back("x");
    f.tree().addCFile(f.touch("code.c"));

    f.docs.cancelSaveAll = true;
    EXPECT_FALSE(f.commands.closeProject());
    EXPECT_EQ(f.model().breakpoints.size(), 1u);
    f.docs.cancelSaveAll = false;
    EXPECT_TRUE(f.commands.closeProject());
    EXPECT_EQ(f.manager.currentWorkspaceName().value_or(""), f.commands.defaultProjectPath());
    EXPECT_TRUE(f.model().breakpoints.empty() && f.model().watchLists[1].empty() && f.tree().cFiles().empty());
    EXPECT_FALSE(f.commands.hasApplication());

    f.ui.openAnswers.push_back({f.file("P.vpj")});
    EXPECT_TRUE(f.commands.openProject());
    EXPECT_EQ(f.tree().cFiles(), Strings{f.file("code.c")});
    // An edited document is offered for saving first; Cancel there keeps the project.
    f.docs.cancelSaveAll = true;
    const std::size_t asked = f.ui.dialogs.size();
    EXPECT_FALSE(f.commands.openProject());
    EXPECT_EQ(f.manager.currentWorkspaceName().value_or(""), f.file("P.vpj"));
    EXPECT_EQ(f.ui.dialogs.size(), asked) << "no chooser after Cancel";
    f.docs.cancelSaveAll = false;
    f.docs.docs[f.file("P.vsl")] = {std::string("edited"), true};
    f.ui.openAnswers.push_back({f.file("P.vpj")});
    EXPECT_TRUE(f.commands.openProject());
    EXPECT_EQ(f.docs.saved, Strings{f.file("P.vsl")});
    EXPECT_FALSE(f.commands.openProject());  // chooser cancelled: no project open
    EXPECT_FALSE(f.manager.currentWorkspaceName().has_value());
}

TEST(ProjectToggles, EnablingRules) {
    Fixture f;
    EXPECT_FALSE(f.commands.canToggleV2()) << "no application file";
    f.rootProject();
    f.commands.toggleV2();
    EXPECT_TRUE(f.commands.v2Checked());
    int form = f.tree().addFormFile(f.touch("Main.vff"));
    EXPECT_FALSE(f.commands.canToggleV2()) << "the project has a form";
    f.tree().remove(form);
    f.commands.toggleV2();
    EXPECT_FALSE(f.commands.v2Checked());

    EXPECT_FALSE(f.commands.canToggleOptimized(true));
    f.commands.toggleOptimized();
    EXPECT_TRUE(f.commands.optimizedChecked() && f.model().modified);
}

TEST(SaveAllAndClose, ProjectAndModifiedDocumentsAreSaved) {
    Fixture f;
    f.ui.saveAnswers.push_back(f.file("P.vpj"));
    ASSERT_TRUE(f.commands.newProject());
    f.tree().addCFile(f.touch("code.c"));
    f.docs.docs[f.file("a.vsl")].modified = true;
    f.docs.docs[f.file("b.vsl")].modified = false;
    f.commands.saveAll();
    EXPECT_EQ(f.docs.saved, Strings{f.file("a.vsl")});
    EXPECT_NE(test::readBytes(f.file("P.vpj")).find("CFile1=.\\code.c"), std::string::npos);

    f.tree().addCFile(f.touch("more.c"));
    f.docs.cancelSaveAll = true;
    EXPECT_FALSE(f.commands.mainWindowClosing(true));
    EXPECT_EQ(f.settings.getInt("Settings", "IsMaximized", -1), 1);
    EXPECT_EQ(test::readBytes(f.file("P.vpj")).find("more.c"), std::string::npos);
    f.docs.cancelSaveAll = false;
    EXPECT_TRUE(f.commands.mainWindowClosing(false));
    EXPECT_EQ(f.settings.getInt("Settings", "IsMaximized", -1), 0);
    EXPECT_NE(test::readBytes(f.file("P.vpj")).find("CFile2=.\\more.c"), std::string::npos);
}

// ------------------------------------------------- Includes after an open

TEST(IncludesAfterOpen, OpenProjectNewProjectAndAPlainOpenListThem) {
    Fixture f;
    f.touch("P.vsl", "include \"inc.vsl\"\r\n");
    f.touch("inc.vsl", "include \"deep.vsl\"\r\n");
    f.touch("deep.vsl");
    f.touch("code.c", "#include \"code.h\"\n");
    f.touch("code.h");

    // New Project over an application file that is there already.
    f.ui.saveAnswers.push_back(f.file("P.vpj"));
    ASSERT_TRUE(f.commands.newProject());
    EXPECT_EQ(f.names(ItemKind::Include), (Strings{"inc.vsl", "deep.vsl"}));
    f.tree().addCFile(f.file("code.c"));
    ASSERT_TRUE(f.manager.saveCurrentWorkspace());

    // The items are derived, never stored: every open lists them afresh.
    ASSERT_TRUE(f.commands.closeProject());
    EXPECT_EQ(f.names(ItemKind::Include), Strings{});
    f.ui.openAnswers.push_back({f.file("P.vpj")});
    ASSERT_TRUE(f.commands.openProject());
    EXPECT_EQ(f.names(ItemKind::Include), (Strings{"inc.vsl", "deep.vsl"}));
    EXPECT_EQ(f.names(ItemKind::Header), Strings{"code.h"});
    EXPECT_TRUE(f.tree().category(ProjectTree::kIncludes)->expanded);

    // The start-up path opens through the workspace manager alone.
    f.touch("inc.vsl", "");
    f.manager.closeWorkspace();
    ASSERT_TRUE(f.manager.openWorkspace(f.file("P.vpj"), true));
    EXPECT_EQ(f.names(ItemKind::Include), Strings{"inc.vsl"});
    EXPECT_EQ(f.names(ItemKind::Header), Strings{"code.h"});
}
