// The user tools of the Tools menu: kept in "VARNTools.dat" in the
// installation folder as an INI file with one section per tool ("[Tool1]"...,
// keys "MenuText", "Command", "Arguments", "InitialFolder"), and run with the
// project macros put into their command line, arguments and folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Process.h"
#include "platform/Result.h"

namespace varn {

class Ui;
struct ProjectModel;

struct UserTool {
    std::string menuText;
    std::string command;
    std::string arguments;
    std::string initialFolder;  // empty: the project folder

    friend bool operator==(const UserTool&, const UserTool&) = default;
};

// The values of the macros a tool's texts may use. Folders end in the
// separator, as the build path, which is the project folder followed by the
// configuration name, shows.
struct ToolMacros {
    std::string projectName;  // "$(ProjectName)": base name of the project file
    std::string projectPath;  // "$(ProjectPath)": folder of the project file
    std::string buildPath;    // "$(BuildPath)": project folder + active configuration + separator
    std::string sourceName;   // "$(SourceName)": base name of the application file
    std::string sourcePath;   // "$(SourcePath)": folder of the application file
};

class UserTools {
public:
    static constexpr const char* kFileName = "VARNTools.dat";
    static constexpr const char* kSectionFormat = "Tool%d";
    static constexpr const char* kMenuText = "MenuText";
    static constexpr const char* kCommand = "Command";
    static constexpr const char* kArguments = "Arguments";
    static constexpr const char* kInitialFolder = "InitialFolder";
    static constexpr int kMaxTools = 9;
    static constexpr int kFirstCommandId = 43044;  // tool n (from 0) has id 43044 + n
    static constexpr const char* kCouldNotExecute = "Could not execute tool";

    static std::string filePath(const std::string& installPath);
    static std::string sectionName(int number);  // number from 1

    // The tools of sections "Tool1" to "Tool9" in number order; a section
    // without a menu text or a command is skipped. Any text reads.
    static std::vector<UserTool> parse(const std::string& text);
    // The file text: the first nine tools as "Tool1"... in list order, lines
    // ended by CR LF. A line feed inside a value becomes a blank; a value that
    // the reader would trim or unquote is written between double quotes.
    static std::string serialize(const std::vector<UserTool>& tools);

    // A missing file holds no tools.
    static Result<std::vector<UserTool>> load(const std::string& path);
    // Writes the whole file atomically.
    static Status save(const std::string& path, const std::vector<UserTool>& tools);

    static int commandId(int index) { return kFirstCommandId + index; }
    // The tool index of a command id; none outside the nine ids.
    static std::optional<int> toolIndex(int commandId);
};

// The macro values of the open project and its active configuration (all
// empty when no project is open).
ToolMacros toolMacros(const ProjectModel& project);
// The "$(Name)=value" definitions in the order of the macro table.
std::vector<std::string> macroDefinitions(const ToolMacros& macros);
// Replaces each "$(ProjectName)", "$(ProjectPath)", "$(BuildPath)",
// "$(SourceName)" and "$(SourcePath)" (names without regard to case) by its
// value, in one pass; any other "$(...)" stays as it stands.
std::string expandMacros(const std::string& text, const ToolMacros& macros);

// Starts the tool without waiting: the expanded command (a program path, run
// as it stands even when it holds blanks) with the expanded arguments split by
// the Windows quoting rules, in the expanded initial folder, or in the project
// folder when that is empty. Shows "Could not execute tool" (error) and
// returns false when it cannot be started. A started process is handed to
// `started` when given, so that its owner can reap it when it ends.
bool runTool(const UserTool& tool, const ToolMacros& macros, Ui& ui, std::vector<Process>* started = nullptr);
// Forgets the started tools that have ended.
void reapEndedTools(std::vector<Process>& started);

}  // namespace varn
