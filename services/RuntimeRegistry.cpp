#include "services/RuntimeRegistry.h"

#include "services/ProcessorCount.h"

RuntimeRegistry& RuntimeRegistry::Instance() {
    static RuntimeRegistry registry;
    return registry;
}

RuntimeRegistry::RuntimeRegistry()
    : processorCount_(::GetProcessorCount()), idleWorker_(std::make_unique<IdleWorkerThread>()) {}

RuntimeRegistry::~RuntimeRegistry() {
    // The worker first: a thread a program started and left running is
    // stopped and waited for before its lock and task list go away.
    idleWorker_.reset();
    for (platform::com::IUnknown* object : kept_)
        object->Release();
    kept_.clear();
}

void RuntimeRegistry::KeepAlive(platform::com::IUnknown* object) {
    if (!object)
        return;
    object->AddRef();
    kept_.push_back(object);
}
