// RuntimeRegistry: the process-wide keeper of component objects that must
// live until exit (loaded schema documents), and the owner of the idle
// worker.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/com/Unknown.h"
#include "services/IdleWorkerThread.h"

class RuntimeRegistry {
public:
    // Made by the first call, destroyed at exit.
    static RuntimeRegistry& Instance();

    // Takes a reference of its own, released once at exit, in keeping order.
    // Not locked: callers serialise.
    void KeepAlive(platform::com::IUnknown* object);

    std::uint32_t GetProcessorCount() const noexcept { return processorCount_; }
    IdleWorkerThread& GetIdleWorker() noexcept { return *idleWorker_; }
    std::size_t KeptCount() const noexcept { return kept_.size(); }

    RuntimeRegistry(const RuntimeRegistry&) = delete;
    RuntimeRegistry& operator=(const RuntimeRegistry&) = delete;

private:
    RuntimeRegistry();
    ~RuntimeRegistry();

    std::vector<platform::com::IUnknown*> kept_;
    std::uint32_t processorCount_;
    std::unique_ptr<IdleWorkerThread> idleWorker_;
};
