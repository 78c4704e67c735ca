#include "app/UserTools.h"

#include <cstdio>
#include <utility>

#include "app/Ui.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "project/ProjectModel.h"

namespace varn {

namespace {

// The text a value is written as, so that the profile reader gives it back.
std::string storedValue(std::string value) {
    for (char& c : value)
        if (c == '\n') c = ' ';
    if (value.empty()) return value;
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    bool quoteLike = value.front() == '"' || value.front() == '\'';
    if (quoteLike || blank(value.front()) || blank(value.back())) return "\"" + value + "\"";
    return value;
}

std::string withSeparator(const std::string& folder) {
    if (folder.empty() || folder.back() == '/') return folder;
    return folder + "/";
}

}  // namespace

std::string UserTools::filePath(const std::string& installPath) { return paths::join(installPath, kFileName); }

std::string UserTools::sectionName(int number) {
    char name[32];
    std::snprintf(name, sizeof name, kSectionFormat, number);
    return name;
}

std::vector<UserTool> UserTools::parse(const std::string& text) {
    std::vector<UserTool> tools;
    auto profile = ProfileFile::parse(text);
    if (!profile) return tools;
    for (int n = 1; n <= kMaxTools; ++n) {
        const std::string section = sectionName(n);
        if (!profile->hasSection(section)) continue;
        UserTool tool;
        tool.menuText = profile->getString(section, kMenuText);
        tool.command = profile->getString(section, kCommand);
        tool.arguments = profile->getString(section, kArguments);
        tool.initialFolder = profile->getString(section, kInitialFolder);
        if (tool.menuText.empty() || tool.command.empty()) continue;
        tools.push_back(std::move(tool));
    }
    return tools;
}

std::string UserTools::serialize(const std::vector<UserTool>& tools) {
    std::string out;
    int n = 0;
    for (const UserTool& tool : tools) {
        if (n == kMaxTools) break;
        out += "[" + sectionName(++n) + "]\r\n";
        out += std::string(kMenuText) + "=" + storedValue(tool.menuText) + "\r\n";
        out += std::string(kCommand) + "=" + storedValue(tool.command) + "\r\n";
        out += std::string(kArguments) + "=" + storedValue(tool.arguments) + "\r\n";
        out += std::string(kInitialFolder) + "=" + storedValue(tool.initialFolder) + "\r\n";
    }
    return out;
}

Result<std::vector<UserTool>> UserTools::load(const std::string& path) {
    if (!fsys::exists(path)) return std::vector<UserTool>{};
    auto bytes = fsys::readFile(path);
    if (!bytes) return bytes.error();
    return parse(*bytes);
}

Status UserTools::save(const std::string& path, const std::vector<UserTool>& tools) {
    return fsys::writeFileAtomic(path, serialize(tools));
}

std::optional<int> UserTools::toolIndex(int commandId) {
    int index = commandId - kFirstCommandId;
    if (index < 0 || index >= kMaxTools) return std::nullopt;
    return index;
}

ToolMacros toolMacros(const ProjectModel& project) {
    ToolMacros m;
    if (project.projectPath.empty()) return m;
    m.projectName = paths::baseName(project.projectPath);
    m.projectPath = withSeparator(project.projectFolder());
    m.buildPath = withSeparator(m.projectPath + project.activeConfiguration);
    std::string app = project.tree.applicationPath();
    if (!app.empty()) {
        m.sourceName = paths::baseName(app);
        m.sourcePath = withSeparator(paths::folderOf(app));
    }
    return m;
}

std::vector<std::string> macroDefinitions(const ToolMacros& m) {
    return {"$(ProjectName)=" + m.projectName, "$(ProjectPath)=" + m.projectPath, "$(BuildPath)=" + m.buildPath,
            "$(SourceName)=" + m.sourceName, "$(SourcePath)=" + m.sourcePath};
}

std::string expandMacros(const std::string& text, const ToolMacros& m) {
    const std::pair<const char*, const std::string*> macros[] = {
        {"$(ProjectName)", &m.projectName}, {"$(ProjectPath)", &m.projectPath}, {"$(BuildPath)", &m.buildPath},
        {"$(SourceName)", &m.sourceName},   {"$(SourcePath)", &m.sourcePath},
    };
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        bool replaced = false;
        if (text.compare(i, 2, "$(") == 0) {
            std::size_t close = text.find(')', i);
            if (close != std::string::npos) {
                std::string name = text.substr(i, close - i + 1);
                for (const auto& [macro, value] : macros) {
                    if (!paths::equalNoCase(name, macro)) continue;
                    out += *value;
                    i = close + 1;
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) out += text[i++];
    }
    return out;
}

bool runTool(const UserTool& tool, const ToolMacros& macros, Ui& ui, std::vector<Process>* started) {
    std::string command = expandMacros(tool.command, macros);
    // The arguments are split as the user wrote them and the macros expanded
    // in each, so a value with blanks or quotes stays within its argument.
    std::vector<std::string> args = splitCommandLine("x " + tool.arguments);
    if (!args.empty()) args.erase(args.begin());
    for (auto& arg : args) arg = expandMacros(arg, macros);
    ProcessOptions options;
    options.workingFolder = tool.initialFolder.empty() ? macros.projectPath : expandMacros(tool.initialFolder, macros);
    options.hiddenWindow = false;
    options.workingFolder = paths::toNative(options.workingFolder);
    auto process = command.empty() ? Result<Process>(makeError("no command")) : Process::start(command, args, options);
    if (!process) {
        ui.error(UserTools::kCouldNotExecute);
        return false;
    }
    if (started) started->push_back(std::move(*process));
    return true;
}

void reapEndedTools(std::vector<Process>& started) {
    std::erase_if(started, [](Process& p) { return p.poll(); });
}

}  // namespace varn
