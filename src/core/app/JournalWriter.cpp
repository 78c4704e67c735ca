#include "app/JournalWriter.h"

#include <ctime>

namespace varn {

void JournalSchedule::changed(const std::string& key, Clock::time_point now) {
    State& s = states_[key];
    if (!s.firstPending) s.firstPending = now;
    s.lastChange = now;
}

void JournalSchedule::written(const std::string& key, Clock::time_point now) {
    State& s = states_[key];
    s.firstPending.reset();
    s.lastWrite = now;
}

void JournalSchedule::forget(const std::string& key) { states_.erase(key); }

JournalSchedule::Clock::time_point JournalSchedule::dueTime(const State& s) {
    Clock::time_point at = std::min(*s.lastChange + kQuiet, *s.firstPending + kMaxAge);
    if (s.lastWrite) at = std::max(at, *s.lastWrite + kMinInterval);
    return at;
}

std::vector<std::string> JournalSchedule::due(Clock::time_point now) const {
    std::vector<std::string> out;
    for (const auto& [key, s] : states_) {
        if (s.firstPending && dueTime(s) <= now) out.push_back(key);
    }
    return out;
}

std::optional<JournalSchedule::Clock::time_point> JournalSchedule::nextDue() const {
    std::optional<Clock::time_point> next;
    for (const auto& [key, s] : states_) {
        if (!s.firstPending) continue;
        const Clock::time_point at = dueTime(s);
        if (!next || at < *next) next = at;
    }
    return next;
}

JournalWriter::JournalWriter(RecoveryJournal& journal, FailureHandler onFailure)
    : journal_(journal), onFailure_(std::move(onFailure)), thread_([this] { run(); }) {}

JournalWriter::~JournalWriter() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void JournalWriter::submit(Job job) {
    {
        std::lock_guard lock(mutex_);
        if (stopped_) return;
        std::string key = job.key;
        queue_[key] = std::move(job);
    }
    wake_.notify_all();
}

void JournalWriter::remove(const std::string& key) {
    {
        std::lock_guard lock(mutex_);
        queue_[key] = std::nullopt;
    }
    wake_.notify_all();
}

void JournalWriter::flush() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

bool JournalWriter::stopped() const {
    std::lock_guard lock(mutex_);
    return stopped_;
}

void JournalWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return quit_ || !queue_.empty(); });
        if (queue_.empty() && quit_) return;
        auto item = queue_.extract(queue_.begin());
        busy_ = true;
        const bool stopped = stopped_;
        lock.unlock();
        std::string failure;
        if (!item.mapped()) {
            journal_.remove(item.key());  // a leftover entry is only offered once this IDE has ended
        } else if (!stopped) {
            const Job& job = *item.mapped();
            Status s = journal_.write(job.key, job.kind, job.originalPath, job.title, job.bytes, std::time(nullptr));
            if (!s) failure = s.error().message;
        }
        lock.lock();
        busy_ = false;
        if (!failure.empty() && !stopped_) {
            stopped_ = true;
            lock.unlock();
            if (onFailure_) onFailure_(failure);
            lock.lock();
        }
        if (queue_.empty()) idle_.notify_all();
    }
}

}  // namespace varn
