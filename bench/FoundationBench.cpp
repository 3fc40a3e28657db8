// Costs of the foundation: sharing strings, and traces nobody wants.
//
// Read the pairs side by side: StringCopy against U16StringCopy (a copy of
// a System::String shares the buffer; a std::u16string copy allocates and
// copies 1 KB), and LogTraceNoListener against LogTraceWanted (with nobody
// wanting traces, LogTrace asks the listener list and formats nothing).
#include <benchmark/benchmark.h>

#include <string>

#include "modules/system/Application.h"
#include "modules/system/String.h"
#include "services/Logger.h"

namespace {

const std::u16string kText(512, u'k');  // 512 units = 1 KB

void StringCopy(benchmark::State& state) {
    const System::String original(kText);
    for (auto _ : state) {
        System::String copy = original;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(StringCopy);

void U16StringCopy(benchmark::State& state) {
    const std::u16string original = kText;
    for (auto _ : state) {
        std::u16string copy = original;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(U16StringCopy);

class TraceListener : public System::MessageListener {
public:
    explicit TraceListener(bool wantsTraces) : wantsTraces_(wantsTraces) {}
    void ReceiveMessage(std::int32_t, System::String text) override {
        benchmark::DoNotOptimize(text);
    }
    bool WantsKind(std::int32_t kind) override { return wantsTraces_ && kind == 3; }

private:
    bool wantsTraces_;
};

void LogTraceCase(benchmark::State& state, bool wanted) {
    auto* listener = new TraceListener(wanted);
    System::AddMessageListener(listener);
    int i = 0;
    for (auto _ : state) {
        LogTrace(u"Parsed element '%s' at line %d in %0.3f seconds", u"fo:block", ++i, 0.125);
    }
    System::RemoveMessageListener(listener);
}

void LogTraceNoListener(benchmark::State& state) {
    LogTraceCase(state, false);
}
BENCHMARK(LogTraceNoListener);

void LogTraceWanted(benchmark::State& state) {
    LogTraceCase(state, true);
}
BENCHMARK(LogTraceWanted);

}  // namespace
