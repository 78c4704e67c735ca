#include "build/BuildPaths.h"

#include "platform/Paths.h"
#include "project/BuildConfiguration.h"
#include "project/ProjectModel.h"

namespace varn {

BuildFlags BuildFlags::classify(const std::string& c, bool optimizedSetting) {
    BuildFlags f;
    auto either = [&c](const char* a, const char* b) { return isConfiguration(c, a) || isConfiguration(c, b); };
    f.pocketPC = either(config::kPocketPCDebug, config::kPocketPCRelease);
    f.windows = either(config::kWindowsDebug, config::kWindowsRelease);
    f.palmOSFlavour = either(config::kPalmOSDebug, config::kPalmOSRelease);
    f.palm = !f.pocketPC && !f.windows;
    f.debuggerBuild = either(config::kWindowsDebug, config::kPocketPCDebug) || isConfiguration(c, config::kPalmOSDebug);
    f.optimizedBuild = optimizedSetting && f.palmOSFlavour;
    return f;
}

std::string lowerLastComponent(const std::string& path) {
    std::string folder = paths::folderOf(path);
    std::string name = paths::lower(paths::fileName(path));
    return folder.empty() ? name : paths::join(folder, name);
}

BuildPaths BuildPaths::of(const ProjectModel& project, const std::string& installPath) {
    BuildPaths p;
    p.projectFolder = project.projectFolder();
    p.baseName = paths::baseName(project.projectPath);
    std::string app = project.tree.applicationPath();
    p.appFolder = app.empty() ? p.projectFolder : paths::folderOf(app);
    p.appBaseName = paths::baseName(app);
    p.configuration = project.activeConfiguration;
    p.installPath = installPath;
    return p;
}

std::string BuildPaths::projectLog() const { return paths::join(appFolder, "varn_c.log"); }
std::string BuildPaths::installLog() const { return paths::join(installPath, "varn_c.log"); }
std::string BuildPaths::compiler() const { return paths::join(installPath, "varn_c.exe"); }
std::string BuildPaths::desktopRuntime() const { return paths::join(installPath, "VarnWin.exe"); }
std::string BuildPaths::outputFolder() const { return paths::join(projectFolder, configuration); }

std::string BuildPaths::outputFile(const BuildFlags& flags) const {
    const char* ext = flags.windows ? ".VSP" : flags.pocketPC ? ".VCE" : ".VSM";
    std::string path = paths::join(outputFolder(), baseName + ext);
    return flags.pocketPC ? path : lowerLastComponent(path);
}

std::string BuildPaths::windowsRuntimeCopy() const { return paths::join(outputFolder(), baseName + ".exe"); }
std::string BuildPaths::prcFile() const { return paths::join(outputFolder(), baseName + ".PRC"); }
std::string BuildPaths::prcLog() const { return paths::join(outputFolder(), "VARNprc.log"); }
std::string BuildPaths::mainSource() const { return lowerLastComponent(paths::join(appFolder, appBaseName + ".VSL")); }
std::string BuildPaths::menuBarFile() const { return paths::join(projectFolder, baseName + "_MenuBar.ini"); }
std::string BuildPaths::optionFile() const { return paths::join(appFolder, "varn_c.opt"); }
std::string BuildPaths::cBuildFolder() const { return paths::join(installPath, "C_Build"); }
std::string BuildPaths::cBuildScript() const { return paths::join(cBuildFolder(), "C_Build.bat"); }

std::string BuildPaths::compiledInput(const BuildFlags& flags) const {
    return lowerLastComponent(paths::join(outputFolder(), baseName + (flags.optimizedBuild ? ".C" : ".VSM")));
}

std::string BuildPaths::converterInput(const BuildFlags& flags) const {
    return paths::join(outputFolder(), baseName + (flags.optimizedBuild ? ".PRC" : ".VSM"));
}

}  // namespace varn
