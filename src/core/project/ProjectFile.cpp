#include "project/ProjectFile.h"

#include <cstdio>
#include <variant>

#include "platform/Paths.h"
#include "project/BuildConfiguration.h"

namespace varn {

namespace {

using StringField = std::string ProjectSettings::*;
using BoolField = bool ProjectSettings::*;
using IntField = int ProjectSettings::*;
using ColorField = std::uint32_t ProjectSettings::*;

struct Key {
    const char* name;
    std::variant<StringField, BoolField, IntField, ColorField> field;
};

// The settings after "TheApp", "LargeIcon", "SmallIcon", "BuildConfig",
// "CreatorID" and "PPCCreatorID", in the order they are written.
const Key kKeys[] = {
    {"DesktopName", &ProjectSettings::desktopName},
    {"PRCVersion", &ProjectSettings::prcVersion},
    {"PRCType", &ProjectSettings::prcType},
    {"SplashScreen", &ProjectSettings::splashScreen},
    {"V2Compatibility", &ProjectSettings::v2Compatibility},
    {"OptimizedBuild", &ProjectSettings::optimizedBuild},
    {"Allow1BitColor", &ProjectSettings::allow1BitColor},
    {"FormFontName", &ProjectSettings::formFontName},
    {"PalmOSFormSizeX", &ProjectSettings::palmOSFormSizeX},
    {"PalmOSFormSizeY", &ProjectSettings::palmOSFormSizeY},
    {"PocketPCFormSizeX", &ProjectSettings::pocketPCFormSizeX},
    {"PocketPCFormSizeY", &ProjectSettings::pocketPCFormSizeY},
    {"WindowsFormSizeX", &ProjectSettings::windowsFormSizeX},
    {"WindowsFormSizeY", &ProjectSettings::windowsFormSizeY},
    {"GridSpacing", &ProjectSettings::gridSpacing},
    {"GridEnabled", &ProjectSettings::gridEnabled},
    {"SnapToGrid", &ProjectSettings::snapToGrid},
    {"UseVARNFonts", &ProjectSettings::useVARNFonts},
    {"ChangeDBCreatorID", &ProjectSettings::changeDBCreatorID},
    {"DisableBeamApplication", &ProjectSettings::disableBeamApplication},
    {"EnableApplicationBackup", &ProjectSettings::enableApplicationBackup},
    {"EnableSipResize", &ProjectSettings::enableSipResize},
    {"LastBitmapWidth", &ProjectSettings::lastBitmapWidth},
    {"LastBitmapHeight", &ProjectSettings::lastBitmapHeight},
    {"VARNWidth", &ProjectSettings::varnWidth},
    {"VARNHeight", &ProjectSettings::varnHeight},
    {"UseSystemColors", &ProjectSettings::useSystemColors},
    {"DefaultForeGroundColor", &ProjectSettings::defaultForeGroundColor},
    {"DefaultBackGroundColor", &ProjectSettings::defaultBackGroundColor},
    {"DefaultImageForeGroundColor", &ProjectSettings::defaultImageForeGroundColor},
    {"DefaultImageBackGroundColor", &ProjectSettings::defaultImageBackGroundColor},
    {"LastBitmapColorDepth", &ProjectSettings::lastBitmapColorDepth},
};

void readKey(const SettingsNode& node, const Key& key, ProjectSettings& s, const ProjectSettings& defaults) {
    std::visit(
        [&](auto field) {
            using T = std::remove_cvref_t<decltype(s.*field)>;
            if constexpr (std::is_same_v<T, std::string>) s.*field = node.getString(key.name, defaults.*field);
            else if constexpr (std::is_same_v<T, bool>) s.*field = node.getBool(key.name, defaults.*field);
            else if constexpr (std::is_same_v<T, int>) s.*field = node.getInt(key.name, defaults.*field);
            else s.*field = static_cast<std::uint32_t>(node.getInt(key.name, static_cast<int>(defaults.*field)));
        },
        key.field);
}

void writeKey(SettingsNode& node, const Key& key, const ProjectSettings& s) {
    std::visit(
        [&](auto field) {
            using T = std::remove_cvref_t<decltype(s.*field)>;
            if constexpr (std::is_same_v<T, std::string>) node.setString(key.name, s.*field);
            else if constexpr (std::is_same_v<T, bool>) node.setBool(key.name, s.*field);
            else if constexpr (std::is_same_v<T, int>) node.setInt(key.name, s.*field);
            else node.setInt(key.name, static_cast<int>(s.*field));
        },
        key.field);
}

// Values of a list node in the key order of its section.
template <class F>
void forEachValue(const SettingsNode* list, F f) {
    if (!list) return;
    for (const auto& [k, v] : list->keys()) f(k, v);
}

std::string legacyName(const std::string& config) {
    if (isConfiguration(config, config::kPalmOSDebug)) return config::kPilotDebug;
    if (isConfiguration(config, config::kPalmOSRelease)) return config::kPilotRelease;
    return config;
}

}  // namespace

std::string ProjectFile::unescapeProjectVar(const std::string& entry) {
    auto pair = entry.find("\\\"");
    if (pair == std::string::npos) return entry;
    std::string s = entry.substr(0, pair) + '"' + entry.substr(pair + 2);
    if (s.size() < 2) return s;
    s.resize(s.size() - 2);
    return s + '"';
}

void ProjectFile::readSettings(const SettingsNode& node, ProjectModel& model) {
    const std::string folder = model.projectFolder();
    auto resolved = [&](const std::string& key) { return paths::resolveStored(node.getString(key), folder); };

    std::string app = resolved("TheApp");
    if (paths::upper(paths::baseName(model.projectPath)) != "VARNIDE") model.tree.setProjectRoot(model.projectPath, app);
    std::string large = node.has("LargeIcon") ? resolved("LargeIcon") : resolved("PrcIcon");
    model.tree.setLargeIcon(large);
    model.tree.setSmallIcon(resolved("SmallIcon"));

    std::string config = node.getString("BuildConfig");
    model.legacyConfigurationName = false;
    if (isConfiguration(config, config::kPilotDebug) || isConfiguration(config, config::kPilotRelease)) {
        config = isConfiguration(config, config::kPilotDebug) ? config::kPalmOSDebug : config::kPalmOSRelease;
        model.legacyConfigurationName = true;
    }
    model.setActiveConfiguration(config);

    const ProjectSettings defaults;
    ProjectSettings& s = model.settings;
    s.creatorID = node.getString("CreatorID");
    s.ppcCreatorID = node.getString("PPCCreatorID", s.creatorID);
    for (const Key& key : kKeys) readKey(node, key, s, defaults);
    s.applyRangeRules();

    forEachValue(node.child("FormFiles"),
                 [&](auto&, const std::string& v) { model.tree.addFormFile(paths::resolveStored(v, folder)); });
    forEachValue(node.child("ImageFiles"),
                 [&](auto&, const std::string& v) { model.tree.addImageFile(paths::resolveStored(v, folder)); });
    forEachValue(node.child("CFiles"),
                 [&](auto&, const std::string& v) { model.tree.addCFile(paths::resolveStored(v, folder)); });

    model.projectVars.clear();
    forEachValue(node.child("ProjectVars"),
                 [&](auto&, const std::string& v) { model.projectVars.push_back(unescapeProjectVar(v)); });

    for (auto& list : model.watchLists) list.clear();
    forEachValue(node.child("WatchListVars"), [&](const std::string& k, const std::string& v) {
        auto colon = k.find(':');
        if (colon == std::string::npos) return;
        int n = parseLeadingInt(k.substr(colon + 1));
        if (n >= 1 && n <= ProjectModel::kWatchLists) model.watchLists[static_cast<std::size_t>(n - 1)].push_back(v);
    });

    model.breakpoints.clear();
    forEachValue(node.child("BreakpointList"), [&](auto&, const std::string& v) {
        auto colon = v.find(':');
        if (colon == std::string::npos) return;
        model.breakpoints.push_back({parseLeadingInt(v.substr(0, colon)), paths::resolveStored(v.substr(colon + 1), folder)});
    });

    model.customColors = ProjectModel::whiteColors();
    std::size_t next = 0;
    forEachValue(node.child("CustomColors"), [&](auto&, const std::string& v) {
        if (next < model.customColors.size()) model.customColors[next++] = static_cast<std::uint32_t>(parseLeadingInt(v));
    });
}

SettingsNode ProjectFile::writeSettings(const ProjectModel& model, const std::string& folder) {
    auto relative = [&](const std::string& path) { return paths::relativeForm(path, folder); };
    const ProjectSettings& s = model.settings;

    SettingsNode node(kSettingsNode);
    node.setString("TheApp", relative(model.tree.applicationPath()));
    node.setString("LargeIcon", relative(model.tree.largeIconPath()));
    node.setString("SmallIcon", relative(model.tree.smallIconPath()));
    node.setString("BuildConfig",
                   model.legacyConfigurationName ? legacyName(model.activeConfiguration) : model.activeConfiguration);
    node.setString("CreatorID", s.creatorID);
    node.setString("PPCCreatorID", s.ppcCreatorID);
    for (const Key& key : kKeys) writeKey(node, key, s);

    auto writeList = [&](const char* nodeName, const char* keyPattern, const std::vector<std::string>& values) {
        SettingsNode& list = node.addChild(nodeName);
        int n = 1;
        for (const auto& v : values) list.setString(keyPattern + std::to_string(n++), v);
    };
    auto relativeAll = [&](std::vector<std::string> files) {
        for (auto& f : files) f = relative(f);
        return files;
    };
    writeList("FormFiles", "FormFile", relativeAll(model.tree.forms()));
    writeList("ImageFiles", "ImageFile", relativeAll(model.tree.images()));
    writeList("CFiles", "CFile", relativeAll(model.tree.cFiles()));
    writeList("ProjectVars", "ProjectVars", model.projectVars);

    SettingsNode& watch = node.addChild("WatchListVars");
    for (int list = 0; list < ProjectModel::kWatchLists; ++list) {
        int pos = 1;
        for (const auto& v : model.watchLists[static_cast<std::size_t>(list)])
            watch.setString("WatchListVar:" + std::to_string(list + 1) + ":" + std::to_string(pos++), v);
    }

    SettingsNode& bps = node.addChild("BreakpointList");
    int n = 1;
    for (const auto& bp : model.breakpoints)
        bps.setString("Breakpoint" + std::to_string(n++), std::to_string(bp.line) + ":" + relative(bp.path));

    SettingsNode& colors = node.addChild("CustomColors");
    for (std::size_t i = 0; i < model.customColors.size(); ++i)
        colors.setInt("CustomColor" + std::to_string(i), static_cast<int>(model.customColors[i]));
    return node;
}

}  // namespace varn
