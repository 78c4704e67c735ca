#include "installer/InstallFiles.h"

#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/ProfileFile.h"
#include "project/CreatorId.h"

namespace varn::install {

namespace {

const char* trueFalse(bool b) { return b ? "True" : "False"; }

std::string quotedName(const std::string& name) { return "\"" + name + "\""; }

// "\"name\",\"name\",,0x20000001\n": a file copied into the install folder.
std::string copyLine(const std::string& name) { return quotedName(name) + "," + quotedName(name) + ",,0x20000001\n"; }

std::string trimBlanks(const std::string& s) {
    std::size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    std::size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

void deviceLines(std::string& out) {
    out += "UnsupportedPlatforms = \"HPC\",\"Jupiter\"\n";
    out += "VersionMin = 3.0\n";
    out += "VersionMax = 1000.0\n";
}

}  // namespace

std::string entryFileName(const std::string& entry) {
    std::size_t cut = entry.find_last_of("/\\");
    return cut == std::string::npos ? entry : entry.substr(cut + 1);
}

SettingsNode installScriptTree(const ProjectFacts& project, TargetPlatform platform, const InstallSettings& s) {
    SettingsNode root(kScriptRoot);
    SettingsNode& app = root.addChild("Appinfo");
    app.setString("ProjectName", project.baseName);
    app.setString("ApplicationType", platformName(platform));
    app.setString("ApplicationName", s.applicationName);
    app.setString("CompanyName", s.companyName);
    app.setString("Version", s.version);

    SettingsNode& dlg = root.addChild("Dialogs");
    dlg.setString("SetupEpilogFile", entryFileName(s.setupEpilogFile));
    dlg.setString("SoftwareLicenseFile", entryFileName(s.softwareLicenseFile));
    dlg.setString("ShowProgress", trueFalse(s.showProgress));
    dlg.setString("SetupPrologFile", entryFileName(s.setupPrologFile));
    dlg.setString("WelcomeBitmapFile", entryFileName(s.welcomeBitmapFile));

    SettingsNode& groups = root.addChild("FileGroups");
    SettingsNode& device = groups.addChild("DeviceFiles");
    int n = 1;
    for (const auto& f : s.files(FileGroup::Device)) device.setString("DeviceFile" + std::to_string(n++), entryFileName(f));
    SettingsNode& data = groups.addChild("VARNDataFiles");
    n = 1;
    for (const auto& f : s.files(FileGroup::Data)) data.setString("VARNDataFile" + std::to_string(n++), entryFileName(f));

    SettingsNode& sync = root.addChild("SyncSettings");
    bool projectId = platform == TargetPlatform::PocketPC || project.changeDBCreatorID;
    sync.setString("ApplicationID", projectId ? project.creatorID : std::string(kDefaultCreatorHex));
    sync.setString("ApplicationSyncDirectory", s.applicationSyncDirectory);
    sync.setString("ApplicationSyncName", s.applicationSyncName);
    sync.setString("InstallConduit", trueFalse(s.installConduit));
    sync.setString("IconFile", project.baseName + "_icon.exe");
    return root;
}

std::string installScriptText(const ProjectFacts& project, TargetPlatform platform, const InstallSettings& s) {
    ProfileFile file;
    installScriptTree(project, platform, s).save(file);
    return file.serialize("\r\n");
}

std::string cabCreator(const std::string& creatorIdHex) {
    if (creatorIdHex.empty()) return kDefaultCreator;
    return trimBlanks(creator::hexToText(paths::upper(creatorIdHex)).substr(0, 4));
}

std::string setupDllDatText(const std::string& creator, const InstallSettings& s) {
    std::string out = "CreatorId=" + creator + "\n";
    for (const auto& f : s.files(FileGroup::Font)) out += "FontFile=" + entryFileName(f) + "\n";
    return out;
}

std::string cabInfText(const ProjectFacts& project, const std::string& creator, const InstallSettings& s) {
    const std::string& P = project.baseName;
    const std::string company = s.companyName.empty() ? std::string("Quillfen") : s.companyName;
    const std::string name = s.applicationName.empty() ? std::string("Quillfen Enabled Application") : s.applicationName;
    std::string o;
    o += "[Version]\n";
    o += "Signature   = \"$Windows NT$\"\n";
    o += "Provider    = \"" + company + "\"\n";
    o += "CESignature = \"$Windows CE$\"\n";
    o += "[CEStrings]\n";
    o += "AppName     = \"" + name + "\"\n";
    o += "InstallDir  = \"%CE1%\\" + s.applicationName + "\"\n";
    o += "[CEDevice.PPC3_SH3]\n";
    o += "ProcessorType = 10003\n";
    deviceLines(o);
    o += "[CEDevice.PPC3_MIPS]\n";
    o += "ProcessorType = 4000\n";
    deviceLines(o);
    o += "[CEDevice.PPC3_ARM]\n";
    o += "ProcessorType = 2577\n";
    deviceLines(o);
    o += "BuildMax=0xE0000000\n";
    o += "[SourceDisksNames]\n";
    o += "1 = ,\"\",,.\n";
    o += "[SourceDisksNames.PPC3_ARM]\n";
    o += "2 = ,\"\",,.\\ARM\n";
    o += "[SourceDisksNames.PPC3_SH3]\n";
    o += "2 = ,\"\",,.\\SH3\n";
    o += "[SourceDisksNames.PPC3_MIPS]\n";
    o += "2 = ,\"\",,.\\MIPS\n";
    o += "[SourceDisksFiles]\n";
    for (const auto& f : s.files(FileGroup::Device)) o += quotedName(entryFileName(f)) + " = 1\n";
    for (const auto& f : s.files(FileGroup::Font)) o += quotedName(entryFileName(f)) + " = 1\n";
    o += "\"SetupDll.dat\" = 1\n";
    o += quotedName(P + ".exe") + " = 2\n";
    if (s.installConduit) o += quotedName(P + ".dll") + " = 2\n";
    o += "\"gx.dll\" = 2\n";
    o += "\"SetupDll.dll\" = 2\n";
    for (const auto& f : s.files(FileGroup::ArmDlls)) o += quotedName(entryFileName(f)) + " = 2\n";
    o += "[DefaultInstall]\n";
    o += "CESetupDLL = SetupDll.dll\n";
    o += "CopyFiles = Files.InstallDir\n";
    o += "AddReg = RegData\n";
    o += "CEShortcuts = Links\n";
    o += "[DestinationDirs]\n";
    o += "Files.InstallDir = ,%InstallDir%\n";
    o += "DefaultDestDir = ,%InstallDir%\n";
    o += "[Files.InstallDir]\n";
    o += copyLine(P + ".exe");
    if (s.installConduit) o += copyLine(P + ".dll");
    o += copyLine("gx.dll");
    o += copyLine("SetupDll.dll");
    o += copyLine("SetupDll.dat");
    for (const auto& f : s.files(FileGroup::Device)) o += copyLine(entryFileName(f));
    for (const auto& f : s.files(FileGroup::ArmDlls)) o += copyLine(entryFileName(f));
    for (const auto& f : s.files(FileGroup::Font)) o += copyLine(entryFileName(f));
    o += "[RegData]\n";
    if (s.installConduit) {
        o += "HKLM,\"Windows CE Services\\synchronization\\objects\\VARN_" + creator +
             "\",\"Store\",0x00000000,\"%InstallDir%\\" + P + ".dll\"\n";
    }
    o += "[Links]\n";
    o += "%LinkFilename%,0,\"" + P + ".exe\",%CE11%\n";
    o += "[Strings]\n";
    o += "LinkFilename = \"" + (project.desktopName.empty() ? name : project.desktopName) + "\"\n";
    o += "\n";
    return o;
}

std::vector<std::string> buildCabArguments(const std::string& baseName) {
    return {".\\" + baseName + ".inf", "/err", "err.log", "/cpu", "PPC3_SH3", "PPC3_MIPS", "PPC3_ARM"};
}

std::string buildCabText(const std::string& ideDirectory, const std::string& baseName) {
    const std::vector<std::string> args = buildCabArguments(baseName);
    std::string line = quoteArgument(paths::join(ideDirectory, kCabWizard)) + " " + quoteArgument(args.front());
    for (std::size_t i = 1; i < args.size(); ++i) line += " " + args[i];
    return line + "\n\n";
}

std::array<std::string, 3> cabFileNames(const std::string& baseName) {
    return {baseName + ".PPC3_ARM.CAB", baseName + ".PPC3_MIPS.CAB", baseName + ".PPC3_SH3.CAB"};
}

std::string cleanupBatText() {
    std::string o;
    for (const char* line : {"@del *.vce", "@del *.wav", "@del *.ttf", "@del *.inf", "@del err.log",
                             "@del SetupDll.dat", "@del ARM\\*.dll", "@del ARM\\*.exe", "@rmdir ARM",
                             "@del MIPS\\*.dll", "@del MIPS\\*.exe", "@rmdir MIPS", "@del SH3\\*.dll",
                             "@del SH3\\*.exe", "@rmdir SH3", "@del buildcab.bat", "del buildcab_cleanup.bat"}) {
        o += line;
        o += "\n";
    }
    return o;
}

std::string appManagerIniText(const std::string& baseName, const InstallSettings& s) {
    const std::string& P = baseName;
    std::string o;
    o += "[CEAppManager]\n";
    o += "Version = 1.0\n";
    o += "Component = " + P + "\n";
    o += "[" + P + "]\n";
    o += "Description = " + s.companyName + " " + s.applicationName + " application\n";
    const auto cabs = cabFileNames(P);
    o += "CabFiles = " + cabs[0] + "," + cabs[1] + "," + cabs[2] + "\n";
    o += "\n";
    return o;
}

}  // namespace varn::install
