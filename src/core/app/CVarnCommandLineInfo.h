// The IDE's command line: the standard shell fields (file name, shell command,
// printing) plus the switches of a batch build: project, build, log, variable
// and buildinstaller, each written with "-" or "/".
#pragma once

#include <string>
#include <vector>

namespace varn {

class CVarnCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister, FileNothing };

    // Standard fields.
    bool showSplash = true;
    bool runEmbedded = false;
    bool runAutomated = false;
    ShellCommand shellCommand = FileNew;
    std::string fileName;
    std::string printerName;
    std::string driverName;
    std::string portName;

    // Batch-build fields.
    std::string projectPath;
    std::string buildType;
    std::string logPath;
    std::vector<std::string> variables;
    bool buildInstaller = false;

    // Called once per token in order; `flag` is true for a token that began
    // with "/" or "-" (the prefix already removed).
    void ParseParam(const std::string& param, bool flag, bool last);
    // Runs ParseParam over argv[1..].
    void parse(const std::vector<std::string>& args);

    bool isBatchBuild() const { return !buildType.empty(); }

private:
    void parseStandard(const std::string& param, bool flag, bool last);

    bool expectProject_ = false;
    bool expectBuild_ = false;
    bool expectLog_ = false;
    bool expectVariable_ = false;
};

}  // namespace varn
