#include "app/CVarnCommandLineInfo.h"

#include "platform/Paths.h"

namespace varn {

namespace {

bool is(const std::string& token, const char* keyword) { return paths::equalNoCase(token, keyword); }

}  // namespace

void CVarnCommandLineInfo::ParseParam(const std::string& param, bool flag, bool last) {
    bool handled = false;
    if (flag && is(param, "buildinstaller")) {
        buildInstaller = true;
        handled = true;
    } else if (flag && is(param, "project")) {
        expectProject_ = true;
        handled = true;
    }
    if (!handled) {
        if (expectProject_) {
            projectPath = param;
            expectProject_ = false;
        } else if (flag && is(param, "build")) {
            expectBuild_ = true;
        } else if (expectBuild_) {
            buildType = param;
            expectBuild_ = false;
        } else if (flag && is(param, "log")) {
            expectLog_ = true;
        } else if (expectLog_) {
            logPath = param;
            expectLog_ = false;
        }
    }
    if (flag && is(param, "variable")) {
        expectVariable_ = true;
    } else if (expectVariable_) {
        variables.push_back(param);
        expectVariable_ = false;
    }
    parseStandard(param, flag, last);
}

void CVarnCommandLineInfo::parseStandard(const std::string& param, bool flag, bool last) {
    if (flag) {
        if (is(param, "pt")) shellCommand = FilePrintTo;
        else if (is(param, "p")) shellCommand = FilePrint;
        else if (is(param, "Unregister") || is(param, "Unregserver")) shellCommand = AppUnregister;
        else if (is(param, "dde")) shellCommand = FileDDE;
        else if (is(param, "Embedding")) {
            runEmbedded = true;
            showSplash = false;
        } else if (is(param, "Automation")) {
            runAutomated = true;
            showSplash = false;
        }
    } else if (fileName.empty()) {
        fileName = param;
    } else if (shellCommand == FilePrintTo && printerName.empty()) {
        printerName = param;
    } else if (shellCommand == FilePrintTo && driverName.empty()) {
        driverName = param;
    } else if (shellCommand == FilePrintTo && portName.empty()) {
        portName = param;
    }
    if (last) {
        if (shellCommand == FileNew && !fileName.empty()) shellCommand = FileOpen;
        showSplash = !runEmbedded && !runAutomated;
    }
}

void CVarnCommandLineInfo::parse(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        // "/" starts a switch only when no other "/" follows: "/build" is a
        // switch, "/home/me/Demo.vpj" a path.
        bool flag = !a.empty() && (a[0] == '-' || (a[0] == '/' && a.find('/', 1) == std::string::npos));
        ParseParam(flag ? a.substr(1) : a, flag, i + 1 == args.size());
    }
}

}  // namespace varn
