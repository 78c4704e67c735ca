// varnide: the VARN IDE. A command line with a build type runs a batch build
// without any window; otherwise the interactive IDE starts.
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
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
#include "project/VARNWorkspaceManager.h"

namespace {

const char* kUsage =
    "Usage: varnide [project.vpj | file] [-project path] [-build configuration]\n"
    "               [-log path] [-variable name=value]... [-buildinstaller]\n"
    "\n"
    "Switches begin with '-' or '/'. With -build the IDE opens the project, builds\n"
    "the configuration without a window and ends with exit code 0 (success) or 255.\n"
    "Configurations: \"PalmOS Debug\", \"PalmOS Release\", \"Windows Debug\",\n"
    "\"Windows Release\", \"PocketPC Debug\", \"PocketPC Release\".\n";

bool hasDisplay() {
    for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* s = std::getenv(v);
        if (s && *s) return true;
    }
    return false;
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
    varn::GuiUi ui;
    varn::CVarnIdeApp app(ui, varn::SettingsStore::openUser(), varn::SettingsStore::openMachine());
    varn::GuiStartupHost host(ui, app);
    if (app.initInstance(args, host)) QApplication::exec();
    return app.exitInstance(host);
}
