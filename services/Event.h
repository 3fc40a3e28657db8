// Event: a signal one thread sets and others wait for.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

class Event {
public:
    // Starts not signalled. A manual-reset event stays signalled until
    // Reset; an auto-reset event lets one waiter through and clears itself.
    explicit Event(bool manualReset);
    virtual ~Event() = default;
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Set();
    void Reset();
    // True when signalled within the timeout.
    bool Wait(std::chrono::milliseconds timeout);

private:
    std::mutex mutex_;
    std::condition_variable signalled_;
    bool manualReset_;
    bool set_ = false;
};
