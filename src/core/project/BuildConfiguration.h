// The three target platforms and the eight build configuration names, two of
// which ("Pilot Debug", "Pilot Release") are older names of the PalmOS pair.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace varn {

enum class TargetPlatform { PalmOS, PocketPC, Windows };

namespace config {
inline constexpr const char* kPalmOSDebug = "PalmOS Debug";
inline constexpr const char* kPilotDebug = "Pilot Debug";
inline constexpr const char* kPalmOSRelease = "PalmOS Release";
inline constexpr const char* kPilotRelease = "Pilot Release";
inline constexpr const char* kWindowsDebug = "Windows Debug";
inline constexpr const char* kWindowsRelease = "Windows Release";
inline constexpr const char* kPocketPCDebug = "PocketPC Debug";
inline constexpr const char* kPocketPCRelease = "PocketPC Release";
}  // namespace config

inline constexpr std::array<const char*, 8> kBuildConfigurations = {
    config::kPalmOSDebug,  config::kPilotDebug,      config::kPalmOSRelease, config::kPilotRelease,
    config::kWindowsDebug, config::kWindowsRelease, config::kPocketPCDebug, config::kPocketPCRelease,
};

// Whether `name` is the configuration `configuration`: names compare without case.
bool isConfiguration(const std::string& name, const char* configuration);

// Windows configurations build for Windows, PocketPC ones for PocketPC, the rest for PalmOS.
TargetPlatform platformOf(const std::string& configuration);
bool isDebugConfiguration(const std::string& configuration);
// The configuration a batch build accepts for `name` (case-insensitive), in its
// proper spelling; the two "Pilot" names are not accepted.
std::optional<std::string> batchBuildConfiguration(const std::string& name);

}  // namespace varn
