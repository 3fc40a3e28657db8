#include <gtest/gtest.h>

#include <sched.h>
#include <atomic>
#include <chrono>
#include <ctime>
#include <stdexcept>

#include "ChildProcess.h"
#include "RecordingListener.h"
#include "platform/ProcessorInfo.h"
#include "services/IdleWorkerThread.h"
#include "services/ProcessorCount.h"
#include "services/Time.h"

namespace {

using Clock = std::chrono::steady_clock;

class CountingTask : public IdleTask {
public:
    void OnIdle() override {
        std::lock_guard guard(mutex);
        runs.push_back(Clock::now());
    }
    std::mutex mutex;
    std::vector<Clock::time_point> runs;
};

class ThrowingTask : public IdleTask {
public:
    void OnIdle() override {
        ++calls;
        throw std::runtime_error("task failed");
    }
    std::atomic<int> calls{0};
};

double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

TEST(IdleWorker, RunsTasksOncePerPeriod) {
    CountingTask task;
    const auto made = Clock::now();
    IdleWorkerThread worker(1);
    worker.AddTask(&task);
    ASSERT_TRUE(worker.Start());
    EXPECT_FALSE(worker.Start());
    std::this_thread::sleep_for(std::chrono::milliseconds(3300));
    worker.RequestStop();
    ASSERT_TRUE(worker.WaitFinished(std::chrono::seconds(2)));
    EXPECT_FALSE(worker.IsRunning());
    std::lock_guard guard(task.mutex);
    ASSERT_GE(task.runs.size(), 2u);
    EXPECT_LE(task.runs.size(), 3u);
    // The first run at the first check after one second, then one period
    // apart, to within a check.
    EXPECT_GE(Seconds(made, task.runs[0]), 0.95);
    EXPECT_LE(Seconds(made, task.runs[0]), 2.3);
    EXPECT_NEAR(Seconds(task.runs[0], task.runs[1]), 1.0, 0.6);
}

TEST(IdleWorker, AFailingTaskEndsTheRunWithOneWarning) {
    ScopedListener listener(new RecordingListener);
    ThrowingTask thrower;
    CountingTask after;
    IdleWorkerThread worker(0);
    worker.AddTask(&thrower);
    worker.AddTask(&after);
    worker.RunIdleTasks();
    worker.RunIdleTasks();
    EXPECT_EQ(thrower.calls, 2);
    EXPECT_TRUE(after.runs.empty());
    EXPECT_EQ(listener->messages, (std::vector<RecordingListener::Message>{
                                      {2, u"Unhandled exception occured on idle processing."},
                                      {2, u"Unhandled exception occured on idle processing."}}));
    EXPECT_TRUE(worker.RemoveTask(&thrower));
    EXPECT_FALSE(worker.RemoveTask(&thrower));
    worker.RunIdleTasks();
    EXPECT_EQ(after.runs.size(), 1u);
}

TEST(IdleWorker, StopEndsTheBodyWithinAWake) {
    IdleWorkerThread worker(10);
    ASSERT_TRUE(worker.Start());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto asked = Clock::now();
    worker.RequestStop();
    ASSERT_TRUE(worker.WaitFinished(std::chrono::seconds(2)));
    EXPECT_LT(Seconds(asked, Clock::now()), 0.5);
    // It can be started again after it finished.
    ASSERT_TRUE(worker.Start());
    worker.RequestStop();
    EXPECT_TRUE(worker.WaitFinished(std::chrono::seconds(2)));
}

TEST(IdleWorker, DestroyingARunningWorkerStopsItFirst) {
    CountingTask task;
    {
        IdleWorkerThread worker(0);
        worker.AddTask(&task);
        worker.Start();
        std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    }  // must not destroy the list under the thread (ASan would see it)
    std::lock_guard guard(task.mutex);
    EXPECT_GE(task.runs.size(), 1u);
}

TEST(RuntimeRegistry, KeptObjectsAreReleasedOnceAtExitInOrder) {
    const ChildResult r = RunChild(std::string(COREKIT_TEST_PROGRAM_DIR) + "/keep_alive", {});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "kept 2\nrelease a 0\nrelease b 0\n");
}

TEST(ProcessorCount, CountsPackagesOrFallsBackToProcessors) {
    const std::uint32_t count = GetProcessorCount();
    EXPECT_GE(count, 1u);
    EXPECT_LE(count, platform::SystemProcessorCount());
    // A narrower affinity mask gives the system's processor count.
    if (platform::SystemProcessorCount() > 1) {
        cpu_set_t saved, one;
        ASSERT_EQ(sched_getaffinity(0, sizeof saved, &saved), 0);
        CPU_ZERO(&one);
        CPU_SET(platform::AffinityProcessors().front(), &one);
        std::uint32_t narrowed = 0;
        std::thread([&] {
            sched_setaffinity(0, sizeof one, &one);
            narrowed = GetProcessorCount();
        }).join();
        EXPECT_EQ(narrowed, platform::SystemProcessorCount());
    }
}

TEST(Time, FromFieldsIsLocalTimeWithoutDaylightSaving) {
    std::tm midnight{};
    midnight.tm_year = 102;
    midnight.tm_mday = 1;
    midnight.tm_isdst = 0;
    EXPECT_EQ(Time::FromFields(2002, 1, 1, 0, 0, 0),
              static_cast<std::int64_t>(std::mktime(&midnight)));
    EXPECT_EQ(Time::FromFields(2002, 1, 1, 0, 0, 10) - Time::FromFields(2002, 1, 1, 0, 0, 0), 10);
    // Fields are not range-checked: the conversion normalises them.
    EXPECT_EQ(Time::FromFields(2002, 1, 32, 0, 0, 0), Time::FromFields(2002, 2, 1, 0, 0, 0));
}

}  // namespace
