#include "app/ProcessWatch.h"

#include <QTimer>

namespace varn {

ProcessWatch::ProcessWatch(QObject* parent) : QObject(parent), timer_(new QTimer(this)) {
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] { idle(); });
}

ProcessWatch::~ProcessWatch() = default;

void ProcessWatch::watchDebugged(Process process, std::function<void(int)> ended) {
    debugged_ = {std::move(process), std::move(ended)};
    schedule(0);
}

void ProcessWatch::watchRun(Process process, std::function<void(int)> ended) {
    run_ = {std::move(process), std::move(ended)};
    schedule(0);
}

void ProcessWatch::endDebugged() {
    if (debugged_.process.running()) debugged_.process.kill();
    idle();
}

void ProcessWatch::endRun() {
    if (run_.process.running()) run_.process.kill();
    idle();
}

void ProcessWatch::schedule(int ms) {
    if (!timer_->isActive() || timer_->remainingTime() > ms) timer_->start(ms);
}

// True when the watched process ended in this pass.
bool ProcessWatch::poll(Watched& w) {
    if (w.process.pid() <= 0 || !w.process.poll()) return false;
    const int code = w.process.exitCode().value_or(-1);
    auto ended = std::move(w.ended);
    w = Watched{};
    if (ended) ended(code);
    emit programEnded();
    return true;
}

bool ProcessWatch::idle() {
    bool again = false;
    if (hook_ && watching()) again = hook_();
    poll(debugged_);
    // The run program's end gets one more pass, as the frame's idle work asks.
    if (poll(run_)) again = true;
    if (watching() || again) schedule(again ? 0 : kPassIntervalMs);
    return watching();
}

}  // namespace varn
