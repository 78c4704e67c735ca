#include "app/ConsoleBuildHost.h"

#include <cstdio>

#include "project/ApplicationSettingsRules.h"

namespace varn {

namespace {

void print(const std::string& text) {
    if (text.empty()) return;
    std::string out;
    for (char c : text)
        if (c != '\r') out += c;
    if (out.back() != '\n') out += '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
}

}  // namespace

void ConsoleBuildHost::showBuildText(const std::string& text) { print(text); }

bool ConsoleBuildHost::confirmApplicationSettings() {
    if (!project_ || !ui_) return false;
    ApplicationSettingsRules rules(*project_);
    bool confirmed = rules.ok(*ui_);
    rules.writeBack();
    return confirmed;
}

void ConsoleBuildHost::showBuildLog(const BuildLogResult& result) { print(result.paneText); }

}  // namespace varn
