// File services the IDE relies on: existence, the read-only attribute, times,
// copies, folders and whole-file reads and atomic writes. Names that do not
// exist exactly are looked up again without regard to case, component by component.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "platform/Result.h"

namespace varn::fsys {

bool exists(const std::string& path);
bool isDirectory(const std::string& path);
// True when the file exists and the user cannot write it (no owner write bit).
bool isReadOnly(const std::string& path);
// The process may create and change files in this folder (or write this file).
bool isWritable(const std::string& path);
// Seconds since the epoch; 0 when the file is missing.
std::time_t modificationTime(const std::string& path);
Status removeFile(const std::string& path);
Status copyFile(const std::string& from, const std::string& to, std::size_t bufferSize = 65536);
Status createFolders(const std::string& path);
// Makes the file writable again (clears the read-only attribute).
Status resetAttributes(const std::string& path);
Status setReadOnly(const std::string& path, bool readOnly);

Result<std::string> readFile(const std::string& path);
// Writes the whole file through a temporary file in the same folder and a rename.
Status writeFileAtomic(const std::string& path, const std::string& bytes);

// The path as it exists on disk: when the exact path is missing, each component
// is matched case-insensitively in its folder. Returns the input unchanged when
// no match is found.
std::string resolveCase(const std::string& path);

std::string currentDirectory();
bool changeDirectory(const std::string& path);

// Folder of the running executable (from /proc/self/exe), without a trailing '/'.
std::string executableFolder();

}  // namespace varn::fsys
