// varnide: the VARN IDE. A command line with a build type runs a batch build
// without any window; otherwise the interactive IDE starts.
#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/CVarnCommandLineInfo.h"
#include "app/CVarnIdeApp.h"
#include "app/ConsoleBuildHost.h"
#include "app/GuiStartupHost.h"
#include "app/GuiUi.h"
#include "app/StartupHost.h"
#include "app/Ui.h"
#include "build/ProjectBuilder.h"
#include "convert/ConvertCommands.h"
#include "installer/InstallerBuild.h"
#include "platform/Paths.h"
#include "project/VARNWorkspaceManager.h"

namespace {

const char* kUsage =
    "Usage: varnide [project.vpj | file] [-project path] [-build configuration]\n"
    "               [-log path] [-variable name=value]... [-buildinstaller]\n"
    "\n"
    "Switches begin with '-' or '/'. With -build the IDE opens the project, builds\n"
    "the configuration (and with -buildinstaller its installer) without a window and\n"
    "ends with exit code 0 (success) or 255.\n"
    "Configurations: \"PalmOS Debug\", \"PalmOS Release\", \"Windows Debug\",\n"
    "\"Windows Release\", \"PocketPC Debug\", \"PocketPC Release\".\n"
    "\n"
    "       varnide -convertvdi file.vdi [-creator ID] [-nobeam] [-backup]\n"
    "       varnide -importbmp picture.bmp image.vbm\n"
    "\n"
    "The conversion tools run without a window: -convertvdi writes a PalmOS database\n"
    "beside the data file (creator ID VARN unless -creator names one), -importbmp adds\n"
    "a BMP to a VARN image file. Messages go to standard error; the exit code is 0 on\n"
    "success and 255 on failure.\n";

bool hasDisplay() {
    for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* s = std::getenv(v);
        if (s && *s) return true;
    }
    return false;
}

bool isSwitch(const std::string& arg, const char* name) {
    return arg.size() > 1 && (arg[0] == '-' || arg[0] == '/') && varn::paths::equalNoCase(arg.substr(1), name);
}

// The conversion tools of the command line; nothing when the command line asks for none.
std::optional<int> runConversion(const std::vector<std::string>& args) {
    varn::HeadlessUi ui;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (isSwitch(args[i], "importbmp")) {
            if (i + 2 >= args.size()) {
                std::fputs("varnide: -importbmp needs a BMP file and an image file (see --help).\n", stderr);
                return -1;
            }
            return varn::importBmp(args[i + 1], args[i + 2], ui) ? 0 : -1;
        }
        if (!isSwitch(args[i], "convertvdi")) continue;
        if (i + 1 >= args.size()) {
            std::fputs("varnide: -convertvdi needs a data file (see --help).\n", stderr);
            return -1;
        }
        std::optional<std::string> creator;  // none given: the dialog's default
        bool nobeam = false, backup = false;
        for (std::size_t j = i + 2; j < args.size(); ++j) {
            if (isSwitch(args[j], "creator") && j + 1 < args.size()) creator = args[++j];
            else if (isSwitch(args[j], "nobeam")) nobeam = true;
            else if (isSwitch(args[j], "backup")) backup = true;
        }
        return varn::convertVdi(args[i + 1], creator, nobeam, backup, ui) ? 0 : -1;
    }
    return std::nullopt;
}

int runBatch(const std::vector<std::string>& args) {
    varn::HeadlessUi ui;
    varn::CVarnIdeApp app(ui, varn::SettingsStore::openUser(), varn::SettingsStore::openMachine());
    varn::StartupHost host;
    varn::ConsoleBuildHost buildHost;
    app.setBatchCompile([&](varn::CVarnIdeApp& a, const std::string& logPath) {
        buildHost.attach(a.workspace()->project(), a.ui());
        varn::ProjectBuilder builder(*a.workspace(), a.ui(), a.settings(), buildHost, a.installPath());
        return builder.batchCompile(logPath);
    });
    app.setBatchInstaller([](varn::CVarnIdeApp& a, const std::string& logPath) {
        return varn::install::runBatchInstaller(a.workspace()->project(), a.installPath(), logPath, a.ui());
    });
    app.initInstance(args, host);
    return app.exitInstance(host);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    for (const auto& a : args) {
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (a == "--version") {
            std::printf("varnide %s\n", VARN_VERSION);
            return 0;
        }
    }

    if (auto converted = runConversion(args)) return *converted;

    varn::CVarnCommandLineInfo probe;
    probe.parse(args);
    if (probe.isBatchBuild()) return runBatch(args);

    if (!hasDisplay()) {
        std::fputs("varnide: no display is available; use -build for a batch build (see --help).\n", stderr);
        return 1;
    }
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VARNide43"));
    QApplication::setOrganizationName(QStringLiteral("Quillfen"));
    // The desktop file and icon that cmake --install puts in place.
    QGuiApplication::setDesktopFileName(QStringLiteral("varnide"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("varnide")));
    varn::GuiUi ui;
    varn::CVarnIdeApp app(ui, varn::SettingsStore::openUser(), varn::SettingsStore::openMachine());
    varn::GuiStartupHost host(ui, app);
    if (app.initInstance(args, host)) QApplication::exec();
    return app.exitInstance(host);
}
