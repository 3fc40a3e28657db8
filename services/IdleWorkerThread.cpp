#include "services/IdleWorkerThread.h"

#include <algorithm>

#include "services/Logger.h"

namespace {
constexpr auto kWakePeriod = std::chrono::milliseconds(200);
constexpr int kWakesPerCheck = 5;
}  // namespace

IdleWorkerThread::IdleWorkerThread(std::uint32_t idleTimeoutSeconds)
    : lastRun_(std::chrono::steady_clock::now()), idleTimeoutSeconds_(idleTimeoutSeconds) {}

IdleWorkerThread::~IdleWorkerThread() {
    // Never destroy the lock and the list under a running thread.
    RequestStop();
    if (thread_.joinable())
        thread_.join();
}

void IdleWorkerThread::Execute() {
    for (;;) {
        for (int i = 0; i < kWakesPerCheck && !stopRequested_; ++i) {
            std::this_thread::sleep_for(kWakePeriod);
        }
        if (stopRequested_)
            break;
        const auto now = std::chrono::steady_clock::now();
        const double elapsed = std::chrono::duration<double>(now - lastRun_).count();
        if (elapsed >= static_cast<double>(idleTimeoutSeconds_)) {
            lastRun_ = now;
            RunIdleTasks();
        }
    }
    running_ = false;
    finished_.Set();
}

void IdleWorkerThread::RunIdleTasks() {
    std::lock_guard guard(lock_);
    try {
        for (IdleTask* task : tasks_)
            task->OnIdle();
    } catch (...) {
        LogWarning(u"Unhandled exception occured on idle processing.");
    }
}

bool IdleWorkerThread::Start() {
    if (running_)
        return false;
    if (thread_.joinable())
        thread_.join();  // a body that ended before
    stopRequested_ = false;
    running_ = true;
    thread_ = std::thread([this] { Execute(); });
    return true;
}

bool IdleWorkerThread::WaitFinished(std::chrono::milliseconds timeout) {
    return finished_.Wait(timeout);
}

void IdleWorkerThread::AddTask(IdleTask* task) {
    std::lock_guard guard(lock_);
    tasks_.push_back(task);
}

bool IdleWorkerThread::RemoveTask(IdleTask* task) {
    std::lock_guard guard(lock_);
    const auto found = std::find(tasks_.begin(), tasks_.end(), task);
    if (found == tasks_.end())
        return false;
    tasks_.erase(found);
    return true;
}
