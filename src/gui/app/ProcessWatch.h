// Idle processing of the main frame: watches the program being debugged and
// the program started by Run, polling their processes without waiting, and
// runs the debugger's hook (the link poll) on every pass. Passes run from a
// timer only while something is watched: every few milliseconds, or at once
// again when the hook reports that it handled something, so a busy link is
// drained quickly and an idle IDE costs nothing.
#pragma once

#include <QObject>

#include <functional>
#include <memory>

#include "platform/Process.h"

class QTimer;

namespace varn {

class ProcessWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int kPassIntervalMs = 50;

    explicit ProcessWatch(QObject* parent = nullptr);
    ~ProcessWatch() override;

    // The program being debugged; `ended` runs with its exit code when it has ended.
    void watchDebugged(Process process, std::function<void(int)> ended = {});
    // The program started by Run.
    void watchRun(Process process, std::function<void(int)> ended = {});
    bool debuggedRunning() const { return debugged_.process.running(); }
    bool runRunning() const { return run_.process.running(); }
    bool watching() const { return debuggedRunning() || runRunning(); }
    // Ends a watched program (closing the IDE, stopping the debugger).
    void endDebugged();
    void endRun();

    // Called on every pass while a program is watched; returns true when it
    // did some work (another pass follows at once).
    void setIdleHook(std::function<bool()> hook) { hook_ = std::move(hook); }

    // One idle pass; true while something is still watched.
    bool idle();

signals:
    // A watched program ended (after its callback ran).
    void programEnded();

private:
    struct Watched {
        Process process;
        std::function<void(int)> ended;
    };
    bool poll(Watched& w);
    void schedule(int ms);

    Watched debugged_;
    Watched run_;
    std::function<bool()> hook_;
    QTimer* timer_;
};

}  // namespace varn
