// Stand-in for the desktop setup program, installed as Setup.exe:
//
//   Setup.exe <InstallScript.ini>
//
// Performs a test install of an installer folder into a folder of the user:
//   $VARN_TEST_INSTALL_ROOT, else $XDG_DATA_HOME/Quillfen/VARN Test Installs
//   (~/.local/share/... when XDG_DATA_HOME is unset), then <ProjectName>_<ApplicationType>.
// The files of the script's application and data groups (and for PocketPC
// the cabinets named by <ProjectName>.ini) go to "Device", every other file
// of the installer folder except the setup program and its script to
// "Desktop". "install.log" there records what was done; the same lines go to
// standard output. Exit status 1 when a listed file is missing.
#include <cstdlib>
#include <iostream>
#include <map>

#include "ToolSupport.h"

using namespace varntool;

namespace {

// A profile file: sections and keys found without regard to case.
class Profile {
public:
    bool read(const std::string& path) {
        std::string bytes;
        if (!readFile(path, bytes)) return false;
        std::string section;
        for (const auto& raw : splitLines(bytes)) {
            std::string line = trim(raw);
            if (line.empty() || line[0] == ';') continue;
            if (line.front() == '[' && line.back() == ']') {
                section = lower(trim(line.substr(1, line.size() - 2)));
                order_[section];
                continue;
            }
            std::size_t eq = line.find('=');
            if (eq == std::string::npos) continue;
            std::string key = trim(line.substr(0, eq));
            std::string value = trim(line.substr(eq + 1));
            values_[section][lower(key)] = value;
            order_[section].push_back(value);
        }
        return true;
    }
    std::string get(const std::string& section, const std::string& key) const {
        auto s = values_.find(lower(section));
        if (s == values_.end()) return {};
        auto k = s->second.find(lower(key));
        return k == s->second.end() ? std::string() : k->second;
    }
    // Every value of a section in order.
    std::vector<std::string> values(const std::string& section) const {
        auto s = order_.find(lower(section));
        return s == order_.end() ? std::vector<std::string>{} : s->second;
    }

private:
    std::map<std::string, std::map<std::string, std::string>> values_;
    std::map<std::string, std::vector<std::string>> order_;
};

std::string installRoot() {
    if (const char* root = std::getenv("VARN_TEST_INSTALL_ROOT"); root && *root) return root;
    std::string data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) data = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home) data = std::string(home) + "/.local/share";
    else data = ".";
    return data + "/Quillfen/VARN Test Installs";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: Setup.exe <InstallScript.ini>\n";
        return 2;
    }
    auto scriptPath = resolvePath(argv[1]);
    Profile script;
    if (!scriptPath || !script.read(*scriptPath)) {
        std::cerr << "Setup: cannot read the install script " << argv[1] << "\n";
        return 2;
    }
    const std::string root = "InstallScript_v1";
    const std::string project = script.get(root + ".Appinfo", "ProjectName");
    const std::string type = script.get(root + ".Appinfo", "ApplicationType");
    const std::string source = folderOf(*scriptPath);
    const fs::path target = fs::path(installRoot()) / (project + "_" + type);

    std::error_code ec;
    fs::remove_all(target, ec);
    fs::create_directories(target / "Device", ec);
    fs::create_directories(target / "Desktop", ec);
    if (ec) {
        std::cerr << "Setup: cannot create " << target.string() << "\n";
        return 2;
    }

    std::string log;
    auto say = [&](const std::string& line) {
        log += line + "\r\n";
        std::cout << line << "\n";
    };
    say("Test install of " + script.get(root + ".Appinfo", "ApplicationName") + " (" + project + ", " + type + ")");
    say("Company: " + script.get(root + ".Appinfo", "CompanyName") +
        ", version: " + script.get(root + ".Appinfo", "Version"));
    say("Creator ID: " + script.get(root + ".SyncSettings", "ApplicationID") +
        ", conduit: " + script.get(root + ".SyncSettings", "InstallConduit"));
    for (const char* dialog : {"SoftwareLicenseFile", "SetupPrologFile", "SetupEpilogFile", "WelcomeBitmapFile"}) {
        std::string name = script.get(root + ".Dialogs", dialog);
        if (!name.empty()) say(std::string(dialog) + ": " + name);
    }

    int missing = 0;
    std::vector<std::string> device;
    for (const char* group : {".FileGroups.DeviceFiles", ".FileGroups.VARNDataFiles"})
        for (const auto& name : script.values(root + group)) device.push_back(name);
    if (equalsNoCase(type, "PocketPC")) {
        Profile manager;
        if (manager.read(source + "/" + project + ".ini")) {
            std::string cabs = manager.get(project, "CabFiles");
            std::size_t start = 0;
            while (start <= cabs.size()) {
                std::size_t comma = cabs.find(',', start);
                std::string name = trim(cabs.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
                if (!name.empty()) device.push_back(name);
                if (comma == std::string::npos) break;
                start = comma + 1;
            }
        }
    }
    std::vector<std::string> taken = {"setup.exe", lower(fs::path(*scriptPath).filename().string())};
    for (const auto& name : device) {
        auto path = resolvePath(name, source);
        if (!path || !isFile(*path)) {
            say("MISSING device file " + name);
            ++missing;
            continue;
        }
        fs::copy_file(*path, target / "Device" / fs::path(*path).filename(), fs::copy_options::overwrite_existing, ec);
        say("Device: " + fs::path(*path).filename().string());
        taken.push_back(lower(fs::path(*path).filename().string()));
    }
    for (fs::directory_iterator it(source, ec), end; !ec && it != end; it.increment(ec)) {
        if (!isFile(it->path())) continue;
        std::string name = it->path().filename().string();
        if (std::find(taken.begin(), taken.end(), lower(name)) != taken.end()) continue;
        std::error_code cec;
        fs::copy_file(it->path(), target / "Desktop" / name, fs::copy_options::overwrite_existing, cec);
        say("Desktop: " + name);
    }
    say(missing ? "Test install incomplete." : "Test install complete.");
    writeFile((target / "install.log").string(), log);
    return missing ? 1 : 0;
}
