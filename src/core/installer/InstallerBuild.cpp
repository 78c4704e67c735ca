#include "installer/InstallerBuild.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "app/Ui.h"
#include "build/BuildLogReader.h"
#include "build/ToolRunner.h"
#include "installer/CommandInterpreter.h"
#include "installer/SetupIconUpdate.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "project/ProjectModel.h"

namespace varn::install {

namespace fs = std::filesystem;

namespace {

constexpr const char* kCpus[] = {"ARM", "MIPS", "SH3"};

std::string withPath(const char* format, const std::string& path) {
    // The messages have one "%s" for the path.
    std::string s = format;
    std::size_t at = s.find("%s");
    if (at != std::string::npos) s.replace(at, 2, path);
    return s;
}

// Makes a file that is in the way of a copy writable again.
Status copyOver(const std::string& from, const std::string& to) {
    if (fsys::exists(to) && fsys::isReadOnly(to)) fsys::resetAttributes(to);
    return fsys::copyFile(from, to);
}

bool isLink(const fs::path& p) {
    std::error_code ec;
    return fs::is_symlink(fs::symlink_status(p, ec));
}

}  // namespace

ProjectFacts projectFactsOf(const ProjectModel& project) {
    ProjectFacts f;
    f.baseName = paths::baseName(project.projectPath);
    f.creatorID = project.settings.creatorID;
    f.changeDBCreatorID = project.settings.changeDBCreatorID;
    f.desktopName = project.settings.desktopName;
    return f;
}

InstallerBuild::InstallerBuild(ProjectFacts project, std::string projectPath, TargetPlatform platform,
                               std::string ideDirectory, Ui& ui)
    : project_(std::move(project)),
      projectPath_(std::move(projectPath)),
      projectFolder_(paths::folderOf(projectPath_)),
      platform_(platform),
      ideDirectory_(std::move(ideDirectory)),
      ui_(ui) {
    iconUpdate_ = [&ui](const std::string& ico, const std::string& folder, const std::string& base,
                        std::string& results) { results += updateSetupIcons(ui, ico, folder, base); };
}

InstallerBuild InstallerBuild::forProject(const ProjectModel& project, const std::string& ideDirectory, Ui& ui) {
    return InstallerBuild(projectFactsOf(project), project.projectPath,
                          installPlatformOf(project.activeConfiguration), ideDirectory, ui);
}

std::string InstallerBuild::installDirectory() const {
    return paths::join(projectFolder_, project_.baseName + "_" + platformName(platform_) + "_Install");
}

std::string InstallerBuild::inInstall(const std::string& relative) const {
    return paths::join(installDirectory(), relative);
}

std::string InstallerBuild::fromIde(const std::string& relative) const { return paths::join(ideDirectory_, relative); }

std::string InstallerBuild::sourcePath(const std::string& entry) const {
    std::string p = entry;
    if (p.find('\\') != std::string::npos) p = paths::toNative(p);
    if (!paths::isAbsolute(p)) p = paths::join(projectFolder_, p);
    return fsys::resolveCase(p);
}

bool InstallerBuild::fail(const std::string& error, const char* trailer) {
    results_ += error;
    results_ += trailer;
    ui_.error(error);
    return false;
}

bool InstallerBuild::build(const InstallSettings& s) {
    results_.clear();
    if (!verify(s)) return false;
    if (!prepareFolder()) return false;
    if (!writeScript(s)) return false;
    if (!copyCoreFiles(s)) return false;
    if (!copyDialogFiles(s)) return false;

    results_ += "Copying VARN application files...\r\n";
    if (s.files(FileGroup::Device).empty()) {
        results_ += "WARNING: No application file was specified.\r\n";
    } else if (!copyGroup(s.files(FileGroup::Device), installDirectory(),
                          "Could not copy file group VARN application file:\r\n%s\r\n")) {
        return false;
    }
    results_ += "Copying device files...\r\n";
    if (!copyGroup(s.files(FileGroup::Data), installDirectory(), "Could not copy file group device file:\r\n%s\r\n"))
        return false;
    results_ += "Copying Desktop files...\r\n";
    if (!copyGroup(s.files(FileGroup::Desktop), installDirectory(),
                   "Could not copy file group Desktop file:\r\n%s\r\n"))
        return false;

    if (platform_ == TargetPlatform::PocketPC) {
        results_ += "Copying device dll files...\r\n";
        const char* dllError = "Could not copy file group device dll file:\r\n%s\r\n";
        if (!copyGroup(s.files(FileGroup::ArmDlls), inInstall("ARM"), dllError)) return false;
        if (!copyGroup(s.files(FileGroup::MipsDlls), inInstall("MIPS"), dllError)) return false;
        if (!copyGroup(s.files(FileGroup::Sh3Dlls), inInstall("SH3"), dllError)) return false;
        results_ += "Copying device font files...\r\n";
        if (!copyGroup(s.files(FileGroup::Font), installDirectory(),
                       "Could not copy file group device font file:\r\n%s\r\n"))
            return false;
        if (!writeCabFiles(s)) return false;
    }
    results_ += "Build was successful.\r\n";
    return true;
}

bool InstallerBuild::verify(const InstallSettings& s) {
    results_ += "Verifying install settings...\r\n";
    const std::pair<const std::string*, const char*> dialogs[] = {
        {&s.setupEpilogFile, "Could not find dialog epilog file:\r\n%s\r\n"},
        {&s.softwareLicenseFile, "Could not find dialog license file:\r\n%s\r\n"},
        {&s.setupPrologFile, "Could not find dialog prolog file:\r\n%s\r\n"},
        {&s.welcomeBitmapFile, "Could not find dialog welcome bitmap file:\r\n%s\r\n"},
    };
    for (const auto& [file, message] : dialogs) {
        if (!file->empty() && !fsys::exists(sourcePath(*file))) return fail(withPath(message, *file), "Verify failed\r\n");
    }
    std::vector<std::pair<FileGroup, const char*>> groups = {
        {FileGroup::Device, "Could not copy file group application file:\r\n%s\r\n"},
        {FileGroup::Data, "Could not copy file group data file:\r\n%s\r\n"},
        {FileGroup::Desktop, "Could not copy file group Desktop file:\r\n%s\r\n"},
    };
    if (platform_ == TargetPlatform::PocketPC) {
        groups.push_back({FileGroup::ArmDlls, "Could not copy file group ARM dll file:\r\n%s\r\n"});
        groups.push_back({FileGroup::MipsDlls, "Could not copy file group MIPS dll file:\r\n%s\r\n"});
        groups.push_back({FileGroup::Sh3Dlls, "Could not copy file group SH3 dll file:\r\n%s\r\n"});
    }
    for (const auto& [group, message] : groups) {
        for (const auto& entry : s.files(group))
            if (!fsys::exists(sourcePath(entry))) return fail(withPath(message, entry), "Verify failed\r\n");
    }
    return true;
}

bool InstallerBuild::foldersAreReal() {
    std::vector<std::string> folders = {installDirectory()};
    for (const char* cpu : kCpus) folders.push_back(fsys::resolveCase(inInstall(cpu)));
    for (const auto& folder : folders)
        if (isLink(folder)) return fail(withPath(kLinkedFolder, folder), "Prepare failed\r\n");
    return true;
}

bool InstallerBuild::prepareFolder() {
    const std::string dir = installDirectory();
    // A link in place of the folder would take every copy, generated file and
    // clean-up deletion to its target, outside the install folder.
    if (isLink(dir)) return foldersAreReal();
    if (!fsys::exists(dir)) fsys::createFolders(dir);
    if (!fsys::isDirectory(dir)) return true;  // writing the install script reports it
    // Read-only files and folders left by an earlier build become writable;
    // links inside are neither followed nor changed.
    std::error_code ec;
    fsys::resetAttributes(dir);
    for (fs::recursive_directory_iterator it(dir, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        if (isLink(it->path())) continue;
        fsys::resetAttributes(it->path().string());
    }
    // Every file of the folder itself (pattern "*"); folders stay.
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code tec;
        if (isLink(it->path()) || !fs::is_directory(it->path(), tec)) ::unlink(it->path().c_str());
    }
    for (const char* cpu : kCpus) {
        fs::path sub = fs::path(dir) / cpu;
        std::string found = fsys::resolveCase(sub.string());
        std::error_code rec;
        fs::remove_all(found, rec);
    }
    return true;
}

bool InstallerBuild::writeScript(const InstallSettings& s) {
    results_ += "Creating the install script...\r\n";
    std::string path = inInstall(kScriptFile);
    if (!fsys::writeFileAtomic(path, installScriptText(project_, platform_, s)))
        return fail("Could not create " + path + "\r\n", "Create failed\r\n");
    return true;
}

bool InstallerBuild::copyCoreFiles(const InstallSettings& s) {
    results_ += "Copying core install files...\r\n";
    const bool pocketPC = platform_ == TargetPlatform::PocketPC;
    if (pocketPC) {
        for (const char* cpu : kCpus) fsys::createFolders(inInstall(cpu));
        if (!foldersAreReal()) return false;
    }

    struct Copy {
        std::string source;  // relative to the IDE folder
        std::string target;  // relative to the install folder
        const char* message;
    };
    std::vector<Copy> table;
    table.push_back({"Setup.exe", "Setup.exe", "Could not copy the VARN install file:\r\n%s\r\n"});
    if (platform_ == TargetPlatform::PalmOS) {
        table.push_back({"Instaide.dll", "Instaide.dll", "Could not copy DLL file:\r\n%s\r\n"});
        table.push_back({"HSAPI.dll", "HSAPI.dll", "Could not copy DLL file:\r\n%s\r\n"});
        if (s.installConduit)
            table.push_back({"VARNcn20.dll", "VARNcn20.dll", "Could not copy the VARN conduit file:\r\n%s\r\n"});
    }
    const std::string& P = project_.baseName;
    if (pocketPC) {
        table.push_back({"PocketPC/VARNvdi2ppc.exe", "VARNvdi2ppc.exe",
                         "Could not copy the VARN database install file:\r\n%s\r\n"});
        for (const char* helper : {"VARNregARM.exe", "VARNregSH3.exe", "VARNregMIPS.exe"})
            table.push_back({std::string("PocketPC/") + helper, helper,
                             "Could not copy the VARN DB install helper file:\r\n%s\r\n"});
        for (const char* cpu : kCpus) {
            std::string from = std::string("PocketPC/") + cpu + "/";
            std::string to = std::string(cpu) + "/";
            table.push_back({from + "VARNppc.exe", to + P + ".exe", "Could not copy the VARN runtime file:\r\n%s\r\n"});
            table.push_back({from + "gx.dll", to + "gx.dll", "Could not copy the DLL file:\r\n%s\r\n"});
            table.push_back({from + "SetupDll.dll", to + "SetupDll.dll", "Could not copy the DLL file:\r\n%s\r\n"});
            if (s.installConduit)
                table.push_back({from + "VARNdev.dll", to + P + ".dll", "Could not copy the DLL file:\r\n%s\r\n"});
        }
        if (s.installConduit)
            table.push_back({"PocketPC/VARNsync.dll", "VARNsync.dll", "Could not copy the DLL file:\r\n%s\r\n"});
    }
    for (const auto& c : table) {
        std::string source = fromIde(c.source);
        if (!copyOver(fsys::resolveCase(source), inInstall(c.target)))
            return fail(withPath(c.message, source), "Copy failed\r\n");
    }
    if (pocketPC) {
        if (!s.applicationIcon.empty()) {
            results_ += "Updating application icon...\r\n";
            if (iconUpdate_) iconUpdate_(sourcePath(s.applicationIcon), installDirectory(), P, results_);
        }
        if (s.installConduit) {
            std::string source = inInstall("ARM/" + P + ".exe");
            if (!copyOver(source, inInstall(P + "_icon.exe")))
                return fail(withPath("Could not copy the VARN runtime icon file:\r\n%s\r\n", source), "Copy failed\r\n");
        }
    }
    return true;
}

bool InstallerBuild::copyDialogFiles(const InstallSettings& s) {
    results_ += "Copying dialog files...\r\n";
    const std::pair<const std::string*, const char*> dialogs[] = {
        {&s.setupEpilogFile, "Could not copy dialog epilog file:\r\n%s\r\n"},
        {&s.softwareLicenseFile, "Could not copy dialog license file:\r\n%s\r\n"},
        {&s.setupPrologFile, "Could not copy dialog prolog file:\r\n%s\r\n"},
        {&s.welcomeBitmapFile, "Could not copy dialog welcome bitmap file:\r\n%s\r\n"},
    };
    for (const auto& [file, message] : dialogs) {
        if (file->empty()) continue;
        if (!copyOver(sourcePath(*file), inInstall(entryFileName(*file))))
            return fail(withPath(message, *file), "Copy failed\r\n");
    }
    return true;
}

bool InstallerBuild::copyGroup(const std::vector<std::string>& entries, const std::string& intoFolder,
                               const char* message) {
    for (const auto& entry : entries) {
        if (!copyOver(sourcePath(entry), paths::join(intoFolder, entryFileName(entry))))
            return fail(withPath(message, entry), "Copy failed\r\n");
    }
    return true;
}

bool InstallerBuild::writeCabFiles(const InstallSettings& s) {
    results_ += "Building cab definition files...\r\n";
    const std::string& P = project_.baseName;
    const std::string creator = cabCreator(project_.creatorID);
    std::string kept;
    auto write = [&](const std::string& name, const std::string& text) {
        std::string path = inInstall(name);
        if (!fsys::writeFileAtomic(path, text)) kept = "Could not create " + path + "\r\n";
    };
    write(kSetupDllDat, setupDllDatText(creator, s));
    write(P + ".inf", cabInfText(project_, creator, s));
    if (!kept.empty()) {
        results_ += "Build cab definition inf header failed\r\n";
        ui_.error(kept);
    }
    const std::string headerError = kept;
    write(kBuildCabBat, buildCabText(ideDirectory_, P));
    write(kCleanupBat, cleanupBatText());
    write(P + ".ini", appManagerIniText(P, s));
    if (kept != headerError) {
        results_ += kept;
        ui_.error(kept);
    }
    if (!kept.empty()) return false;

    if (!s.buildCabFiles) return true;
    results_ += "Creating cab files...\r\n";
    // The wizard is started under the name it was found by, whatever its letter case.
    const std::string wizard = fsys::resolveCase(fromIde(kCabWizard));
    if (!fsys::exists(wizard)) {
        ui_.error(kCabwizMissing);
        results_ += "ERROR: Cabwiz was not found in the VARN install directory\r\n";
        return false;
    }
    ToolRunner::run(wizard, buildCabArguments(P), installDirectory(), true, true, pump_);
    // Its exit status says nothing; the cabinets do. Without them the
    // definition files stay for another try, and err.log tells why.
    std::string missing;
    for (const std::string& cab : cabFileNames(P))
        if (!fsys::exists(fsys::resolveCase(inInstall(cab)))) missing += (missing.empty() ? "" : ", ") + cab;
    if (!missing.empty()) {
        const std::string error = "Cabwiz did not create " + missing + " (see err.log)\r\n";
        results_ += "ERROR: " + error;
        ui_.error(error);
        return false;
    }
    // The wizard ran in the folder; its deletions must stay in it too.
    if (!foldersAreReal()) return false;
    results_ += "Removing temporary files...\r\n";
    for (const char* command : kCleanupCommands) runCommand(command);
    return true;
}

void InstallerBuild::runCommand(const std::string& command) {
    std::string interpreter = comspec_ ? *comspec_ : comspecProgram();
    if (interpreter.empty()) {
        CommandInterpreter::run(command, installDirectory());
        return;
    }
    ToolRunner::run(interpreter, {"/c", command}, installDirectory(), true, true, pump_);
}

bool InstallerBuild::testInstall() {
    const std::string dir = installDirectory();
    const std::string program = inInstall("Setup.exe");
    const std::string script = inInstall(kScriptFile);
    int result = 0;
    if (shellOpen_) {
        result = shellOpen_(program, quoteArgument(script), dir);
    } else {
        if (setupProcess_) setupProcess_->poll();
        ProcessOptions options;
        options.workingFolder = dir;
        options.hiddenWindow = false;
        auto started = Process::start(program, {script}, options);
        if (started) {
            setupProcess_ = std::move(*started);
            result = 42;
        } else {
            // The shell's results for a failed start are the small error codes.
            int code = started.error().code;
            result = code > 0 && code <= 32 ? code : 0;
        }
    }
    if (result <= 32) {
        ui_.error("Could not execute the install program, error code " + std::to_string(result));
        return false;
    }
    return true;
}

bool appendToLogCopy(const std::string& logCopyPath, const std::string& results, Ui& ui) {
    return BuildLogReader::appendToCopy(logCopyPath, std::string(kBuildingInstaller) + results + "\n", ui);
}

bool runBatchInstaller(const ProjectModel& project, const std::string& ideDirectory, const std::string& logCopyPath,
                       Ui& ui, const IconUpdate& iconUpdate) {
    InstallerBuild build = InstallerBuild::forProject(project, ideDirectory, ui);
    const std::string settingsPath = settingsFilePath(project.projectPath, build.platform());
    InstallSettings settings = InstallSettings::load(settingsPath);
    applySyncPageRules(settings, project.settings, build.platform());
    if (iconUpdate) build.setIconUpdate(iconUpdate);
    bool ok = build.build(settings);
    if (!logCopyPath.empty()) appendToLogCopy(logCopyPath, build.results(), ui);
    saveAfterOk(settings, settingsPath, build.platform(), ui);
    return ok;
}

}  // namespace varn::install
