#include "project/BuildConfiguration.h"

#include "platform/Paths.h"

namespace varn {

bool isConfiguration(const std::string& name, const char* configuration) {
    return paths::equalNoCase(name, configuration);
}

TargetPlatform platformOf(const std::string& configuration) {
    if (isConfiguration(configuration, config::kWindowsDebug) ||
        isConfiguration(configuration, config::kWindowsRelease))
        return TargetPlatform::Windows;
    if (isConfiguration(configuration, config::kPocketPCDebug) ||
        isConfiguration(configuration, config::kPocketPCRelease))
        return TargetPlatform::PocketPC;
    return TargetPlatform::PalmOS;
}

bool isDebugConfiguration(const std::string& configuration) {
    std::string u = paths::upper(configuration);
    return u.size() >= 5 && u.substr(u.size() - 5) == "DEBUG";
}

std::optional<std::string> batchBuildConfiguration(const std::string& name) {
    for (const char* c : {config::kPalmOSDebug, config::kPalmOSRelease, config::kWindowsDebug, config::kWindowsRelease,
                          config::kPocketPCDebug, config::kPocketPCRelease})
        if (isConfiguration(name, c)) return std::string(c);
    return std::nullopt;
}

}  // namespace varn
