// IdleWorkerThread: a background thread that runs registered tasks once per
// idle period ("Core" / "Idle timeout", seconds) and survives their failures.
//
// The worker wakes every 200 ms to look at the stop request and compares the
// clock about once a second; tasks run at the first check after the period
// has passed since the last run (a period of 0 runs them at every check).
// Nothing starts the thread by itself: an embedding program calls Start and
// adds its tasks.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "services/Event.h"
#include "services/IdleTask.h"
#include "services/Settings.h"
#include "services/ThreadExecute.h"

class IdleWorkerThread : public ThreadExecute {
public:
    explicit IdleWorkerThread(
        std::uint32_t idleTimeoutSeconds = ServiceSettings::idleTimeoutSeconds);
    // Requests stop and waits for a running thread to end.
    ~IdleWorkerThread();
    IdleWorkerThread(const IdleWorkerThread&) = delete;
    IdleWorkerThread& operator=(const IdleWorkerThread&) = delete;

    // The worker loop; Start runs it on a thread of its own.
    void Execute() override;
    // One idle run: every task in list order, under the list lock. A task
    // that raises ends the run with the warning "Unhandled exception
    // occured on idle processing.".
    void RunIdleTasks();

    // Starts the thread; false when it is already running.
    bool Start();
    void RequestStop() noexcept { stopRequested_ = true; }
    // Waits for the body to end (signalled once per end); true when it did.
    bool WaitFinished(std::chrono::milliseconds timeout);
    bool IsRunning() const noexcept { return running_; }

    // The tasks are not owned; they must outlive their membership. Both
    // wait for a run in progress to end.
    void AddTask(IdleTask* task);
    bool RemoveTask(IdleTask* task);

private:
    std::mutex lock_;
    std::vector<IdleTask*> tasks_;
    std::chrono::steady_clock::time_point lastRun_;
    std::atomic<bool> running_{false};
    std::atomic<bool> stopRequested_{false};
    Event finished_{false};
    std::uint32_t idleTimeoutSeconds_;
    std::thread thread_;
};
