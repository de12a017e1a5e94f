#include "pal/PAL_ThreadManager.h"

#include "PAL_ThreadTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <memory>

using threadtest::SteadyMilliseconds;
using threadtest::WaitFor;

namespace {

using ThreadManagerTest = threadtest::MovingClockTest;

// Shared between a test and its thread; it must outlive the thread.
struct Probe {
    std::atomic<int> step{0};
    std::atomic<bool> release{false};
    std::atomic<bool> sawStop{false};
    std::atomic<int> result{1};
    std::atomic<ThreadManager*> owner{nullptr};
    std::atomic<int> answers[2]{};
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

// Ignores its stop flag until the test releases it (for at most 10 s).
std::uint32_t IgnoreStop(ManagedThread* thread) {
    Probe& probe = ProbeOf(thread);
    probe.step = 1;
    WaitFor([&probe] { return probe.release.load(); });
    os::Sleep(5);
    probe.sawStop = !ManagedThread::ShouldRun(thread);
    probe.owner = ManagedThread::GetOwner(thread);
    probe.written = 42;
    return 0;
}

// Sleeps once while running, then again after the test stopped it.
std::uint32_t SleepBeforeAndAfterStop(ManagedThread* thread) {
    Probe& probe = ProbeOf(thread);
    probe.answers[0] = SleepUnlessStopped(3, thread);
    probe.step = 1;
    WaitFor([&probe] { return probe.release.load(); });
    probe.result = thread->GetResult();  // the stop is not noticed yet
    probe.answers[1] = SleepUnlessStopped(100, thread) || SleepUnlessStopped(0, thread);
    probe.sawStop = thread->GetResult() == -1;
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
    const int cases[][5] = {{1, 4, 8, 11, 15}, {-2, -1, 0, 1, 2}, {1, 25, 50, 74, 99}, {INT_MIN, -1073741824, 0,
                                                                                         1073741823, INT_MAX}};
    for (const auto& c : cases) {
        const ThreadPriorityLevels levels = ComputeThreadPriorityLevels(c[0], c[4]);
        const int actual[] = {levels.lowest, levels.low, levels.normal, levels.high, levels.highest};
        EXPECT_TRUE(std::equal(actual, actual + 5, c)) << c[0] << ".." << c[4];
    }
    EXPECT_EQ(ThreadPriorityLowest() | ThreadPriorityNormal() | ThreadPriorityHighest(), 0);
}

// Also with a function missing, or a priority outside the levels.
TEST_F(ThreadManagerTest, ThreadRunsInitThenRunAndUnlistsItself) {
    ThreadManager manager;
    Probe probes[4];
    ASSERT_NE(manager.CreateThread(&InitStep, &RunStep, &probes[0], ThreadPriorityNormal(), false), nullptr);
    ASSERT_NE(manager.CreateThread(&InitStep, nullptr, &probes[1], -99, true), nullptr);
    ASSERT_NE(manager.CreateThread(nullptr, nullptr, &probes[2], ThreadPriorityNormal(), true), nullptr);
    ASSERT_NE(manager.CreateThread(&InitStep, &RunStep, &probes[3], 99, false), nullptr);
    EXPECT_TRUE(manager.WaitForThreads(10000));
    EXPECT_EQ(probes[0].step, 2);
    EXPECT_EQ(probes[0].owner, &manager);
    EXPECT_EQ(probes[1].step, 1);
    EXPECT_EQ(probes[3].step, 2);
}

// Only the manager that lists a record stops it; a record whose thread
// ended was freed and must not be touched.
TEST_F(ThreadManagerTest, StopThreadMakesShouldRunFalseWithResultMinusOne) {
    ThreadManager manager;
    ThreadManager other;
    Probe ended;
    ManagedThread* gone = manager.CreateThread(nullptr, nullptr, &ended, ThreadPriorityNormal(), false);
    ASSERT_TRUE(gone != nullptr && manager.WaitForThreads(10000));
    manager.StopThread(gone, true);
    manager.StopThread(nullptr, true);

    Probe probe;
    ManagedThread* thread = Start(manager, &RunUntilStopped, probe);
    ASSERT_NE(thread, nullptr);
    other.StopThread(thread, true);
    EXPECT_TRUE(ManagedThread::ShouldRun(thread));
    manager.StopThread(thread, true);
    EXPECT_TRUE(manager.WaitForThreads(10000));
    EXPECT_TRUE(probe.sawStop);
    EXPECT_EQ(probe.result, -1);
}

TEST_F(ThreadManagerTest, SleepUnlessStoppedAnswersFalseForAStoppedThread) {
    EXPECT_TRUE(SleepUnlessStopped(0, nullptr) && SleepUnlessStopped(2, nullptr));
    ThreadManager manager;
    Probe probe;
    ManagedThread* thread = Start(manager, &SleepBeforeAndAfterStop, probe);
    ASSERT_NE(thread, nullptr);
    manager.StopThread(thread, false);
    probe.release = true;
    EXPECT_TRUE(manager.WaitForThreads(10000));
    EXPECT_EQ(probe.answers[0], 1);  // while running: the whole time was slept
    EXPECT_EQ(probe.result, 0);
    EXPECT_EQ(probe.answers[1], 0);
    EXPECT_TRUE(probe.sawStop);
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
    ASSERT_NE(Start(*manager, &IgnoreStop, stopped, "stubborn streamer"), nullptr);
    manager->StopAll(true);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(manager->WaitForThreads(20));
    EXPECT_EQ(manager->GetThreadCount(), 1u);
    stopped.release = true;
    EXPECT_TRUE(manager->WaitForThreads(10000));
    EXPECT_EQ(stopped.written, 42);
    EXPECT_TRUE(stopped.sawStop);
    EXPECT_EQ(stopped.owner, manager.get());

    ASSERT_NE(Start(*manager, &IgnoreStop, destroyed, "stubborn socket"), nullptr);
    const double start = SteadyMilliseconds();
    manager.reset();  // returns although the thread still runs
    EXPECT_GE(SteadyMilliseconds() - start, 490.0);
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("\"stubborn streamer\" still running after 20 ms"), std::string::npos) << log;
    EXPECT_NE(log.find("\"stubborn socket\" still running after 500 ms"), std::string::npos) << log;
    EXPECT_EQ(fallback.GetThreadCount(), adoptedBefore + 1);
    destroyed.release = true;
    EXPECT_TRUE(WaitFor([&] { return fallback.GetThreadCount() == adoptedBefore; }));
    EXPECT_EQ(destroyed.written, 42);
    EXPECT_EQ(destroyed.owner, &fallback);
}

TEST_F(ThreadManagerTest, DestructionWaitsForThreadsThatStop) {
    const std::size_t adoptedBefore = GetFallbackThreadManager().GetThreadCount();
    Probe probe;
    {
        ThreadManager manager;
        ASSERT_NE(Start(manager, &RunUntilStopped, probe), nullptr);
    }
    EXPECT_TRUE(probe.sawStop);
    EXPECT_EQ(probe.result, -1);
    EXPECT_EQ(GetFallbackThreadManager().GetThreadCount(), adoptedBefore);
}

// Destroy* ignores null and handles another manager made.
TEST_F(ThreadManagerTest, NullHandlesMakeEveryWrapperFalse) {
    ThreadManager manager;
    ThreadManager other;
    pthread_mutex_t* mutex = manager.CreateMutex(0);
    pthread_rwlock_t* lock = manager.CreateReadWriteLock();
    pthread_cond_t* condition = manager.CreateCondition();
    ASSERT_TRUE(mutex != nullptr && lock != nullptr && condition != nullptr);
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
    EXPECT_TRUE(ThreadManager::LockMutex(mutex) && ThreadManager::UnlockMutex(mutex));
    EXPECT_TRUE(ThreadManager::SignalCondition(condition, false));
    EXPECT_EQ(manager.GetMutexCount() + manager.GetReadWriteLockCount() + manager.GetConditionCount(), 3u);
    manager.DestroyMutex(mutex);
    manager.DestroyReadWriteLock(lock);
    manager.DestroyCondition(condition);
    EXPECT_EQ(manager.GetMutexCount() + manager.GetReadWriteLockCount() + manager.GetConditionCount(), 0u);
}

TEST_F(ThreadManagerTest, APrimitiveStillHeldIsLeftInPlaceInsteadOfDestroyed) {
    pthread_mutex_t* mutex = nullptr;
    pthread_rwlock_t* lock = nullptr;
    {
        ThreadManager manager;
        mutex = manager.CreateMutex(0);
        lock = manager.CreateReadWriteLock();
        pthread_mutex_t* held = manager.CreateMutex(0);
        ASSERT_TRUE(ThreadManager::LockMutex(mutex) && ThreadManager::ReadLock(lock));
        ASSERT_TRUE(ThreadManager::LockMutex(held));
        manager.DestroyMutex(mutex);
        manager.DestroyReadWriteLock(lock);
        EXPECT_EQ(manager.GetMutexCount(), 1u);
        EXPECT_EQ(manager.GetReadWriteLockCount(), 0u);
        // The holder can still release what it holds.
        EXPECT_TRUE(ThreadManager::UnlockMutex(mutex) && ThreadManager::UnlockReadWriteLock(lock));
        mutex = held;  // held across the manager's destruction
    }
    EXPECT_TRUE(ThreadManager::UnlockMutex(mutex));
}

namespace {

// A counter that a thread raises to 1000 under the mutex, waiting on the
// condition whenever it gets ahead of the test; a reader takes the
// read-write lock once it is free.
struct Shared {
    pthread_mutex_t* mutex = nullptr;
    pthread_cond_t* changed = nullptr;
    pthread_rwlock_t* lock = nullptr;
    int allowed = 0;
    int count = 0;
    std::atomic<int> readers{0};
};

std::uint32_t Follow(ManagedThread* thread) {
    Shared& shared = *static_cast<Shared*>(thread->GetArgument());
    ThreadManager::LockMutex(shared.mutex);
    while (shared.count < 1000) {
        while (shared.count == shared.allowed) {
            ThreadManager::WaitCondition(shared.changed, shared.mutex);
        }
        ++shared.count;
    }
    ThreadManager::UnlockMutex(shared.mutex);
    return 0;
}

std::uint32_t ReadOnce(ManagedThread* thread) {
    Shared& shared = *static_cast<Shared*>(thread->GetArgument());
    if (ThreadManager::ReadLock(shared.lock)) {
        ++shared.readers;
        ThreadManager::UnlockReadWriteLock(shared.lock);
    }
    return 0;
}

}  // namespace

TEST_F(ThreadManagerTest, ThreadsMeetThroughMutexConditionAndReadWriteLock) {
    ThreadManager manager;
    Shared shared{manager.CreateMutex(0), manager.CreateCondition(), manager.CreateReadWriteLock()};
    ASSERT_TRUE(shared.mutex != nullptr && shared.changed != nullptr && shared.lock != nullptr);
    ASSERT_NE(manager.CreateThread(nullptr, &Follow, &shared, ThreadPriorityNormal(), false), nullptr);
    for (int allowed = 1; allowed <= 1000; ++allowed) {
        ThreadManager::LockMutex(shared.mutex);
        shared.allowed = allowed;
        EXPECT_TRUE(ThreadManager::SignalCondition(shared.changed, allowed % 2 == 0));
        ThreadManager::UnlockMutex(shared.mutex);
    }
    EXPECT_TRUE(manager.WaitForThreads(10000));
    EXPECT_EQ(shared.count, 1000);

    ASSERT_TRUE(ThreadManager::ReadLock(shared.lock) && ThreadManager::ReadLock(shared.lock));
    EXPECT_FALSE(ThreadManager::TryWriteLock(shared.lock));
    EXPECT_TRUE(ThreadManager::UnlockReadWriteLock(shared.lock) && ThreadManager::UnlockReadWriteLock(shared.lock));
    ASSERT_TRUE(ThreadManager::WriteLock(shared.lock));
    EXPECT_FALSE(ThreadManager::TryWriteLock(shared.lock));
    ASSERT_NE(manager.CreateThread(nullptr, &ReadOnce, &shared, ThreadPriorityNormal(), false), nullptr);
    os::Sleep(20);
    EXPECT_EQ(shared.readers, 0);  // the reader waits for the writer
    EXPECT_TRUE(ThreadManager::UnlockReadWriteLock(shared.lock));
    EXPECT_TRUE(manager.WaitForThreads(10000));
    EXPECT_EQ(shared.readers, 1);
}
