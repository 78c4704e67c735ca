// The recovery journal: copies of modified documents, each in its own file
// format, kept in a per-user folder until the document is saved or closed, so
// that work survives a crash. Entries of IDEs that are no longer running are offered on start.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "platform/Result.h"

namespace varn {

enum class JournalKind { Source, Form, Image, MenuBars, Project };

const char* journalKindName(JournalKind kind);

// What one entry records beside the document's bytes.
struct JournalEntryInfo {
    std::string key;  // the entry's file stem in the folder
    JournalKind kind = JournalKind::Source;
    std::string originalPath;        // empty for an untitled document
    std::string title;               // the name shown for an untitled document
    std::time_t time = 0;            // when the entry was written
    pid_t pid = 0;                   // the IDE that wrote it
    std::uint64_t processStart = 0;  // that IDE's start time, so a reused pid is not taken for it
    std::time_t originalTime = 0;    // the original's modification time when the entry was written
    std::uint64_t size = 0;
    std::uint64_t checksum = 0;
};

// An entry as found on start.
struct JournalEntry {
    JournalEntryInfo info;
    bool damaged = false;          // the index or the data cannot be trusted: discard only
    bool originalChanged = false;  // the original file changed on disk after the entry was written
    std::string name() const;      // the original's path or the untitled title
};

class RecoveryJournal {
public:
    // The per-user folder: $XDG_STATE_HOME/VarnIde/recovery (default ~/.local/state).
    static std::string defaultFolder();

    // A journal of this process in `folder`.
    explicit RecoveryJournal(std::string folder);
    RecoveryJournal(std::string folder, pid_t pid, std::uint64_t processStart);

    const std::string& folder() const { return folder_; }

    // The key of a document: its path, or the session's untitled number.
    std::string keyFor(const std::string& originalPath, int untitledNumber = 0) const;

    // Writes the document's bytes, then its index, each whole and atomically.
    Status write(const std::string& key, JournalKind kind, const std::string& originalPath, const std::string& title,
                 const std::string& bytes, std::time_t now);
    // Removes an entry (saved, or closed unmodified). Missing entries are no error.
    Status remove(const std::string& key);

    // Entries left by IDEs that are no longer running, oldest first; this
    // process's own entries and those of running IDEs are never listed.
    std::vector<JournalEntry> orphaned() const;
    // The document's bytes of a listed entry (checked against its size and checksum).
    Result<std::string> read(const JournalEntry& entry) const;
    // Removes a listed entry of another IDE.
    Status discard(const JournalEntry& entry);

    // True while the process `pid` that started at `processStart` is running.
    static bool processRunning(pid_t pid, std::uint64_t processStart);
    // The start time of a process in clock ticks since boot (0 when unknown).
    static std::uint64_t processStartTime(pid_t pid);

    static std::uint64_t checksum(const std::string& bytes);
    static std::string formatIndex(const JournalEntryInfo& info);
    static bool parseIndex(const std::string& text, JournalEntryInfo& info);

private:
    std::string dataPath(const std::string& key) const;
    std::string indexPath(const std::string& key) const;

    std::string folder_;
    pid_t pid_;
    std::uint64_t processStart_;
};

}  // namespace varn
