#include "platform/Paths.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/FileSystem.h"

namespace varn::paths {

namespace {

char upperChar(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

std::vector<std::string> components(const std::string& path) {
    std::vector<std::string> out;
    std::string part;
    for (char c : path) {
        if (c == '/') {
            if (!part.empty()) out.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) out.push_back(part);
    return out;
}

bool hasDriveLetter(const std::string& p) {
    return p.size() >= 2 && p[1] == ':' && std::isalpha(static_cast<unsigned char>(p[0]));
}

}  // namespace

bool equalNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upperChar(a[i]) != upperChar(b[i])) return false;
    return true;
}

std::string upper(std::string s) {
    for (char& c : s) c = upperChar(c);
    return s;
}

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string folderOf(const std::string& path) {
    auto pos = path.find_last_of('/');
    if (pos == std::string::npos) return {};
    if (pos == 0) return "/";
    return path.substr(0, pos);
}

std::string fileName(const std::string& path) {
    auto pos = path.find_last_of('/');
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string baseName(const std::string& path) {
    std::string name = fileName(path);
    auto dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string extension(const std::string& path) {
    std::string name = fileName(path);
    auto dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string withExtension(const std::string& path, const std::string& ext) {
    std::string folder = folderOf(path);
    std::string name = baseName(path) + "." + ext;
    return folder.empty() ? name : join(folder, name);
}

std::string join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

bool isAbsolute(const std::string& path) { return !path.empty() && path[0] == '/'; }

std::string normalize(const std::string& path) {
    bool rooted = isAbsolute(path);
    std::vector<std::string> out;
    for (const auto& part : components(path)) {
        if (part == ".") continue;
        if (part == "..") {
            if (!out.empty() && out.back() != "..") out.pop_back();
            else if (!rooted) out.push_back(part);
            continue;
        }
        out.push_back(part);
    }
    std::string result = rooted ? "/" : "";
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (i) result += '/';
        result += out[i];
    }
    return result.empty() ? std::string(".") : result;
}

std::string absolute(const std::string& path) {
    if (path.empty()) return path;
    if (isAbsolute(path)) return normalize(path);
    return normalize(join(fsys::currentDirectory(), path));
}

std::string toNative(const std::string& stored) {
    std::string s = stored;
    std::replace(s.begin(), s.end(), '\\', '/');
    return s;
}

std::string toStored(const std::string& native) {
    std::string s = native;
    std::replace(s.begin(), s.end(), '/', '\\');
    return s;
}

std::string relativeForm(const std::string& file, const std::string& projectFolder) {
    if (file.empty()) return {};
    // A path on another drive is kept whole.
    if (hasDriveLetter(file) || !isAbsolute(file)) return toStored(file);
    auto fileParts = components(normalize(file));
    auto folderParts = components(normalize(projectFolder));
    std::size_t common = 0;
    // The last component of the file is its name, never a shared folder.
    while (common < folderParts.size() && common + 1 < fileParts.size() &&
           equalNoCase(folderParts[common], fileParts[common]))
        ++common;
    std::string result = ".\\";
    for (std::size_t i = common; i < folderParts.size(); ++i) result += "..\\";
    for (std::size_t i = common; i < fileParts.size(); ++i) {
        result += fileParts[i];
        if (i + 1 < fileParts.size()) result += '\\';
    }
    return result;
}

std::string resolveStored(const std::string& stored, const std::string& projectFolder) {
    if (stored.empty()) return {};
    std::string native = toNative(stored);
    if (stored[0] != '.') return native;
    return fsys::resolveCase(normalize(join(projectFolder, native)));
}

}  // namespace varn::paths
