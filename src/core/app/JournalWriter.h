// Writes the recovery journal on a worker thread: the window hands over a copy
// of a modified document's bytes and goes on; the worker keeps only the newest
// copy of each document and writes it. Also decides when a document is due.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/RecoveryJournal.h"

namespace varn {

// When each modified document is next written: a second after its last
// change, or a second and a half after the first change not yet written when
// the changes never pause, and never more often than once a second.
class JournalSchedule {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kQuiet{1000};
    static constexpr std::chrono::milliseconds kMaxAge{1500};
    static constexpr std::chrono::milliseconds kMinInterval{1000};

    void changed(const std::string& key, Clock::time_point now);
    void written(const std::string& key, Clock::time_point now);
    void forget(const std::string& key);
    // The documents to write now.
    std::vector<std::string> due(Clock::time_point now) const;
    // When the next document falls due (none when nothing is pending).
    std::optional<Clock::time_point> nextDue() const;

private:
    struct State {
        std::optional<Clock::time_point> firstPending, lastChange, lastWrite;
    };
    static Clock::time_point dueTime(const State& s);
    std::map<std::string, State> states_;
};

class JournalWriter {
public:
    struct Job {
        std::string key;
        JournalKind kind = JournalKind::Source;
        std::string originalPath, title, bytes;
    };
    // Called on the worker thread, once, when a write fails; journalling stops then.
    using FailureHandler = std::function<void(const std::string& message)>;

    JournalWriter(RecoveryJournal& journal, FailureHandler onFailure);
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    // Queues a copy; a newer copy of the same document replaces a queued one.
    void submit(Job job);
    // Removes the document's entry after any queued write of it.
    void remove(const std::string& key);
    // Waits until everything queued is written (for tests and an orderly exit).
    void flush();
    bool stopped() const;

private:
    void run();

    RecoveryJournal& journal_;
    FailureHandler onFailure_;
    mutable std::mutex mutex_;
    std::condition_variable wake_, idle_;
    std::map<std::string, std::optional<Job>> queue_;  // empty optional: remove the entry
    bool busy_ = false, quit_ = false, stopped_ = false;
    std::thread thread_;
};

}  // namespace varn
