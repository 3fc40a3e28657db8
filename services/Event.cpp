#include "services/Event.h"

Event::Event(bool manualReset) : manualReset_(manualReset) {}

void Event::Set() {
    {
        std::lock_guard lock(mutex_);
        set_ = true;
    }
    signalled_.notify_all();
}

void Event::Reset() {
    std::lock_guard lock(mutex_);
    set_ = false;
}

bool Event::Wait(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    if (!signalled_.wait_for(lock, timeout, [this] { return set_; }))
        return false;
    if (!manualReset_)
        set_ = false;
    return true;
}
