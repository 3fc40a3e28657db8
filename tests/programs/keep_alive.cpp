// Keeps two component objects in the runtime registry and leaves an idle
// worker running; each object reports its releases on stdout.
#include <cstdio>

#include "services/RuntimeRegistry.h"

namespace {

class Reporter : public platform::com::IUnknown {
public:
    explicit Reporter(char name) : name_(name) {}
    platform::com::HResult QueryInterface(const platform::com::Guid&, void** object) override {
        *object = nullptr;
        return platform::com::E_NOINTERFACE;
    }
    std::uint32_t AddRef() override { return ++count_; }
    std::uint32_t Release() override {
        std::printf("release %c %u\n", name_, count_ - 1);
        std::fflush(stdout);
        return --count_;
    }

private:
    char name_;
    std::uint32_t count_ = 0;
};

Reporter first('a');
Reporter second('b');

class Tick : public IdleTask {
public:
    void OnIdle() override {}
};
Tick tick;

}  // namespace

int main() {
    RuntimeRegistry& registry = RuntimeRegistry::Instance();
    registry.KeepAlive(&first);
    registry.KeepAlive(&second);
    registry.GetIdleWorker().AddTask(&tick);
    registry.GetIdleWorker().Start();
    std::printf("kept %zu\n", registry.KeptCount());
    std::fflush(stdout);
    return 0;
}
