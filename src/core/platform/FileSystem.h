// File services the IDE relies on: existence, the read-only attribute, times,
// copies, folders and whole-file reads and atomic writes. Names that do not
// exist exactly are looked up again without regard to case, component by component.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

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

inline constexpr const char* kCannotCreate = "Cannot create";

// A file written whole and atomically: the bytes go to a hidden temporary
// file in the same folder (".NAME.~PID.XXXXXX.tmp"), which is synced before it
// is renamed over the file; the folder is synced after. Creating one first
// removes temporaries of the same file left by saves that never finished.
// Errors carry the failing call's errno; the message starts with
// kCannotCreate when no temporary could be made. A file that is not committed
// (or whose write failed) leaves the target as it was and no temporary behind.
class AtomicFile {
public:
    static Result<AtomicFile> create(const std::string& path);
    AtomicFile(AtomicFile&& other) noexcept;
    AtomicFile& operator=(AtomicFile&&) = delete;
    ~AtomicFile();

    // Appends (buffered).
    Status write(std::string_view bytes);
    // Overwrites bytes already written, at `offset` from the start.
    Status writeAt(std::uint64_t offset, std::string_view bytes);
    Status commit();

private:
    static constexpr std::size_t kBufferBytes = 1 << 16;
    AtomicFile() = default;
    Status flush();
    Error fail();
    void discard();

    std::string path_, folder_, temp_;
    std::string buffer_;
    int fd_ = -1;
};

// The whole file at once through an AtomicFile.
Status writeFileAtomic(const std::string& path, const std::string& bytes);

// Test seam: while set, each step of writeFileAtomic ("create", "write",
// "fsync", "rename", "syncFolder") asks it first; a non-zero answer makes the
// step fail with that errno as if the system call had.
using FailureInjection = std::function<int(std::string_view step)>;
void setFailureInjection(FailureInjection f);

// The path as it exists on disk: when the exact path is missing, each component
// is matched case-insensitively in its folder. Returns the input unchanged when
// no match is found.
std::string resolveCase(const std::string& path);

std::string currentDirectory();
bool changeDirectory(const std::string& path);

// Folder of the running executable (from /proc/self/exe), without a trailing '/'.
std::string executableFolder();

}  // namespace varn::fsys
