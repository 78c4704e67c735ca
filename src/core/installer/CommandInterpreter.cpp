#include "installer/CommandInterpreter.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Process.h"

extern char** environ;

namespace varn::install {

namespace {

char fold(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool matchFrom(const std::string& p, std::size_t pi, const std::string& n, std::size_t ni) {
    // Iterative matching with one back-track point for the last "*".
    std::size_t starP = std::string::npos, starN = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == '?' || fold(p[pi]) == fold(n[ni]))) {
            ++pi;
            ++ni;
        } else if (pi < p.size() && p[pi] == '*') {
            starP = pi++;
            starN = ni;
        } else if (starP != std::string::npos) {
            pi = starP + 1;
            ni = ++starN;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*') ++pi;
    return pi == p.size();
}

std::string toSlashes(std::string s) {
    for (char& c : s)
        if (c == '\\') c = '/';
    return s;
}

std::string inFolder(const std::string& path, const std::string& workingFolder) {
    if (path.empty() || path[0] == '/' || workingFolder.empty()) return path;
    return workingFolder + "/" + path;
}

bool isRegularFile(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

int del(const std::string& argument, const std::string& workingFolder) {
    std::string target = inFolder(toSlashes(argument), workingFolder);
    std::size_t cut = target.find_last_of('/');
    std::string folder = cut == std::string::npos ? std::string(".") : (cut == 0 ? "/" : target.substr(0, cut));
    std::string pattern = cut == std::string::npos ? target : target.substr(cut + 1);
    if (pattern.empty()) return 1;
    folder = fsys::resolveCase(folder);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 1;
    std::vector<std::string> names;
    while (dirent* e = ::readdir(dir)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        if (CommandInterpreter::matches(pattern, name)) names.push_back(name);
    }
    ::closedir(dir);
    bool any = false, failed = false;
    for (const auto& name : names) {
        std::string path = folder + "/" + name;
        if (!isRegularFile(path)) continue;
        any = true;
        if (fsys::isReadOnly(path) || ::unlink(path.c_str()) != 0) failed = true;
    }
    return (!any || failed) ? 1 : 0;
}

int rmdir(const std::string& argument, const std::string& workingFolder) {
    std::string folder = fsys::resolveCase(inFolder(toSlashes(argument), workingFolder));
    return ::rmdir(folder.c_str()) == 0 ? 0 : 1;
}

}  // namespace

bool CommandInterpreter::matches(const std::string& pattern, const std::string& name) {
    if (pattern == "*.*") return true;
    return matchFrom(pattern, 0, name, 0);
}

int CommandInterpreter::run(const std::string& commandLine, const std::string& workingFolder) {
    std::string line = commandLine;
    std::size_t b = line.find_first_not_of(" \t");
    if (b == std::string::npos) return 0;
    line = line.substr(b);
    if (line[0] == '@') line = line.substr(1);
    auto words = splitCommandLine(line);
    if (words.size() != 2) return 1;
    std::string verb = paths::lower(words[0]);
    if (verb == "del" || verb == "erase") return del(words[1], workingFolder);
    if (verb == "rmdir" || verb == "rd") return rmdir(words[1], workingFolder);
    return 1;
}

std::string comspecProgram() {
    for (char** e = environ; e && *e; ++e) {
        const char* eq = std::strchr(*e, '=');
        if (!eq) continue;
        if (paths::equalNoCase(std::string(static_cast<const char*>(*e), eq), "comspec")) return eq + 1;
    }
    return {};
}

}  // namespace varn::install
