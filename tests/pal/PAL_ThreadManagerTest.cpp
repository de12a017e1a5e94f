#include "core/Core_Clock.h"
#include "os/OS_Sleep.h"
#include "pal/PAL_ThreadManager.h"
#include "support/SteadyClock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <memory>

namespace {

// Polls condition in 1 ms steps for up to 10 s; true once it holds.
template <class Condition>
bool WaitFor(Condition condition) {
    for (int step = 0; step < 10000 && !condition(); ++step) {
        os::Sleep(1);
    }
    return condition();
}

// The headless clock stands still, and sleeps bounded by the Core clock need a moving one.
class ThreadManagerTest : public testing::Test {
protected:
    void SetUp() override { Core::SetClockFunction(&testsupport::SteadyMilliseconds); }
    void TearDown() override { Core::SetClockFunction(m_clock); }

    const Core::ClockFunction m_clock = Core::GetClockFunction();
};

// Shared between a test and its thread; it must outlive the thread.
struct Probe {
    std::atomic<int> step{0}, result{1}, answers[2]{};
    std::atomic<bool> release{false}, sawStop{false};
    std::atomic<ThreadManager*> owner{nullptr};
    int written = 0;  // plain: only the count tells when the thread is done with it
};

Probe& ProbeOf(ManagedThread* thread) { return *static_cast<Probe*>(thread->GetArgument()); }

std::uint32_t InitStep(ManagedThread* thread) {
    ProbeOf(thread).step = 1;
    ProbeOf(thread).owner = ManagedThread::GetOwner(thread);
    return 0;
}

std::uint32_t RunStep(ManagedThread* thread) {
    int expected = 1;
    ProbeOf(thread).step.compare_exchange_strong(expected, 2);
    return 0;
}

// Runs until told to stop (for at most 10 s).
std::uint32_t RunUntilStopped(ManagedThread* thread) {
    Probe& probe = ProbeOf(thread);
    probe.step = 1;
    probe.sawStop = WaitFor([thread] { return !ManagedThread::ShouldRun(thread); });
    probe.result = thread->GetResult();
    return 0;
}

// Sleeps while running, then ignores its stop flag until the test releases
// it (for at most 10 s): a stop is not noticed until the thread asks.
std::uint32_t Stubborn(ManagedThread* thread) {
    Probe& probe = ProbeOf(thread);
    probe.answers[0] = SleepUnlessStopped(3, thread);
    probe.step = 1;
    WaitFor([&probe] { return probe.release.load(); });
    probe.result = thread->GetResult();
    probe.answers[1] = SleepUnlessStopped(100, thread) || SleepUnlessStopped(0, thread);
    probe.sawStop = thread->GetResult() == -1;
    probe.owner = ManagedThread::GetOwner(thread);
    probe.written = 42;
    return 0;
}

// Starts run and waits until it has begun (step 1); null when it did not.
ManagedThread* Start(ThreadManager& manager, ManagedThread::Function run, Probe& probe, const char* name = "probe") {
    ManagedThread* thread = manager.CreateThread(nullptr, run, &probe, ThreadPriorityNormal(), false, name);
    return thread != nullptr && WaitFor([&] { return probe.step == 1; }) ? thread : nullptr;
}

}  // namespace

// On Linux the normal policy has the single priority 0, so every level is 0.
TEST(ThreadPriorities, LevelsSpreadBetweenMinimumAndMaximum) {
    const int cases[][5] = {{1, 4, 8, 11, 15}, {-2, -1, 0, 1, 2}, {1, 25, 50, 74, 99},
                            {INT_MIN, -1073741824, 0, 1073741823, INT_MAX}};
    for (const auto& c : cases) {
        const ThreadPriorityLevels levels = ComputeThreadPriorityLevels(c[0], c[4]);
        const int actual[] = {levels.lowest, levels.low, levels.normal, levels.high, levels.highest};
        EXPECT_TRUE(std::equal(actual, actual + 5, c)) << c[0] << ".." << c[4];
    }
    EXPECT_EQ(ThreadPriorityLowest() | ThreadPriorityNormal() | ThreadPriorityHighest(), 0);
}

// Also with a function missing, or a priority outside the levels. Only the
// manager that lists a record stops it; a record whose thread ended was
// freed and must not be touched.
TEST_F(ThreadManagerTest, ThreadRunsInitThenRunAndUnlistsItself) {
    ThreadManager manager;
    ThreadManager other;
    Probe probes[6];
    ManagedThread* gone = manager.CreateThread(&InitStep, &RunStep, &probes[0], ThreadPriorityNormal(), false);
    ASSERT_NE(gone, nullptr);
    ASSERT_NE(manager.CreateThread(&InitStep, nullptr, &probes[1], -99, true), nullptr);
    ASSERT_NE(manager.CreateThread(nullptr, nullptr, &probes[2], ThreadPriorityNormal(), true), nullptr);
    ASSERT_NE(manager.CreateThread(&InitStep, &RunStep, &probes[3], 99, false), nullptr);
    EXPECT_TRUE(manager.WaitForThreads(10000));
    EXPECT_TRUE(probes[0].step == 2 && probes[1].step == 1 && probes[3].step == 2);
    EXPECT_EQ(probes[0].owner, &manager);
    manager.StopThread(gone, true);
    manager.StopThread(nullptr, true);

    ManagedThread* thread = Start(manager, &RunUntilStopped, probes[4]);
    ASSERT_NE(thread, nullptr);
    other.StopThread(thread, true);
    EXPECT_TRUE(ManagedThread::ShouldRun(thread));
    manager.StopThread(thread, true);
    EXPECT_TRUE(manager.WaitForThreads(10000));
    EXPECT_TRUE(probes[4].sawStop && probes[4].result == -1);
    {
        ThreadManager scoped;  // its destruction stops its threads and waits for them
        ASSERT_NE(Start(scoped, &RunUntilStopped, probes[5]), nullptr);
    }
    EXPECT_TRUE(probes[5].sawStop);
}

// A caller that stops its threads and waits for the count to reach 0 may
// then free what they use (ThreadSanitizer checks that "written" is safe to
// read). A manager being destroyed waits half a second, logs the threads it
// gives up on by name and hands them to the fallback manager, which counts
// them until they end.
TEST_F(ThreadManagerTest, CountReadsZeroOnlyOnceEveryThreadHasEnded) {
    ThreadManager& fallback = GetFallbackThreadManager();
    const std::size_t adoptedBefore = fallback.GetThreadCount();
    auto manager = std::make_unique<ThreadManager>();
    Probe stopped;
    Probe destroyed;
    ASSERT_NE(Start(*manager, &Stubborn, stopped, "stubborn streamer"), nullptr);
    manager->StopAll(true);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(manager->WaitForThreads(20));
    EXPECT_EQ(manager->GetThreadCount(), 1u);
    stopped.release = true;
    EXPECT_TRUE(manager->WaitForThreads(10000));
    EXPECT_TRUE(stopped.written == 42 && stopped.owner == manager.get());
    // A stop is noticed only when the thread asks: its sleep before the stop
    // took the whole time, the sleeps after it answer false at once.
    EXPECT_TRUE(stopped.answers[0] == 1 && stopped.result == 0 && stopped.answers[1] == 0 && stopped.sawStop);
    EXPECT_TRUE(SleepUnlessStopped(0, nullptr) && SleepUnlessStopped(2, nullptr));

    ASSERT_NE(Start(*manager, &Stubborn, destroyed, "stubborn socket"), nullptr);
    const double start = testsupport::SteadyMilliseconds();
    manager.reset();  // returns although the thread still runs
    EXPECT_GE(testsupport::SteadyMilliseconds() - start, 490.0);
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("\"stubborn streamer\" still running after 20 ms"), std::string::npos) << log;
    EXPECT_NE(log.find("\"stubborn socket\" still running after 500 ms"), std::string::npos) << log;
    EXPECT_EQ(fallback.GetThreadCount(), adoptedBefore + 1);
    destroyed.release = true;
    EXPECT_TRUE(WaitFor([&] { return fallback.GetThreadCount() == adoptedBefore; }));
    EXPECT_TRUE(destroyed.written == 42 && destroyed.owner == &fallback);
}

// Every wrapper given null answers false; Destroy* ignores null and handles
// another manager made; a primitive still held is left in place, so that
// its holder can still release it, also across the manager's destruction.
TEST_F(ThreadManagerTest, PrimitivesRefuseNullAndOutliveTheirHolders) {
    ThreadManager other;
    pthread_mutex_t* held = nullptr;
    {
        ThreadManager manager;
        pthread_mutex_t* mutex = manager.CreateMutex(0);
        pthread_rwlock_t* lock = manager.CreateReadWriteLock();
        pthread_cond_t* condition = manager.CreateCondition();
        held = manager.CreateMutex(0);
        ASSERT_TRUE(mutex != nullptr && lock != nullptr && condition != nullptr && held != nullptr);
        EXPECT_EQ(manager.CreateMutex(-7), nullptr);  // a type the library refuses
        EXPECT_FALSE(ThreadManager::LockMutex(nullptr) || ThreadManager::UnlockMutex(nullptr) ||
                     ThreadManager::ReadLock(nullptr) || ThreadManager::WriteLock(nullptr) ||
                     ThreadManager::TryWriteLock(nullptr) || ThreadManager::UnlockReadWriteLock(nullptr) ||
                     ThreadManager::SignalCondition(nullptr, true) || ThreadManager::SignalCondition(nullptr, false) ||
                     ThreadManager::WaitCondition(nullptr, mutex) || ThreadManager::WaitCondition(condition, nullptr) ||
                     ManagedThread::ShouldRun(nullptr) || ManagedThread::GetOwner(nullptr) != nullptr);
        manager.DestroyMutex(nullptr);
        manager.DestroyReadWriteLock(nullptr);
        manager.DestroyCondition(nullptr);
        other.DestroyMutex(mutex);
        other.DestroyReadWriteLock(lock);
        other.DestroyCondition(condition);
        EXPECT_EQ(manager.GetMutexCount() + manager.GetReadWriteLockCount() + manager.GetConditionCount(), 4u);

        ASSERT_TRUE(ThreadManager::WriteLock(lock) && !ThreadManager::TryWriteLock(lock));
        ASSERT_TRUE(ThreadManager::LockMutex(mutex) && ThreadManager::LockMutex(held));
        manager.DestroyMutex(mutex);
        manager.DestroyReadWriteLock(lock);
        manager.DestroyCondition(condition);
        EXPECT_EQ(manager.GetMutexCount() + manager.GetReadWriteLockCount() + manager.GetConditionCount(), 1u);
        EXPECT_TRUE(ThreadManager::UnlockMutex(mutex) && ThreadManager::UnlockReadWriteLock(lock));
    }
    EXPECT_TRUE(ThreadManager::UnlockMutex(held));
}
