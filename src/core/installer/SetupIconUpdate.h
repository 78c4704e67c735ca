// The per-build application icon update of a PocketPC installer: the 32x32
// and 16x16 images of the chosen .ico replace icon resources 1 and 2 of the
// runtime copies ARM/P.exe, MIPS/P.exe and SH3/P.exe in the install folder.
#pragma once

#include <string>
#include <vector>

#include "app/Ui.h"

namespace varn::install {

// Icon resource type and the language the runtime's icons carry.
inline constexpr unsigned kIconResourceType = 3;
inline constexpr unsigned kLargeIconName = 1;
inline constexpr unsigned kSmallIconName = 2;
inline constexpr unsigned kIconLanguage = 0x409;

// <installFolder>/ARM/<P>.exe, then MIPS and SH3.
std::vector<std::string> setupIconExecutables(const std::string& installFolder, const std::string& projectBaseName);

// Runs the update over the install folder's three runtimes and returns the
// lines to append to the build results, each ending in "\r\n" (empty when
// everything was updated). The .ico reader's messages go to ui. The first
// error stops the update of the remaining executables; it never stops the
// build, so there is no failure to return.
std::string updateSetupIcons(Ui& ui, const std::string& icoPath, const std::string& installFolder,
                             const std::string& projectBaseName);
// The same over explicit executables, in order.
std::string updateSetupIcons(Ui& ui, const std::string& icoPath, const std::vector<std::string>& executables);

}  // namespace varn::install
