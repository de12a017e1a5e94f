#include "pal/PAL_ThreadManager.h"

#include "PAL_ThreadTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <deque>
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
    std::atomic<int> answers[3]{};
};

Probe& ProbeOf(ManagedThread* thread) { return *static_cast<Probe*>(thread->GetArgument()); }

std::uint32_t InitStep(ManagedThread* thread) {
    Probe& probe = ProbeOf(thread);
    int expected = 0;
    probe.step.compare_exchange_strong(expected, 1);
    probe.owner = ManagedThread::GetOwner(thread);
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
    probe.sawStop = !ManagedThread::ShouldRun(thread);
    probe.owner = ManagedThread::GetOwner(thread);
    return 0;
}

// Sleeps once while running, then again after the test stopped it.
std::uint32_t SleepBeforeAndAfterStop(ManagedThread* thread) {
    Probe& probe = ProbeOf(thread);
    probe.answers[0] = SleepUnlessStopped(3, thread);
    probe.step = 1;
    WaitFor([&probe] { return probe.release.load(); });
    probe.result = thread->GetResult();  // the stop is not noticed yet
    probe.answers[1] = SleepUnlessStopped(100, thread);
    probe.answers[2] = SleepUnlessStopped(0, thread);
    probe.sawStop = thread->GetResult() == -1;
    return 0;
}

// Starts run and waits until it has begun (step 1); null when it did not.
ManagedThread* Start(ThreadManager& manager, ManagedThread::Function run, Probe& probe) {
    ManagedThread* thread = manager.CreateThread(nullptr, run, &probe, ThreadPriorityNormal(), false);
    return thread != nullptr && WaitFor([&] { return probe.step == 1; }) ? thread : nullptr;
}

bool AllEnded(const ThreadManager& manager) {
    return WaitFor([&] { return manager.GetThreadCount() == 0; });
}

}  // namespace

// On Linux the normal policy has the single priority 0, so every level is 0.
TEST(ThreadPriorities, LevelsSpreadBetweenMinimumAndMaximum) {
    struct Case {
        int minimum, maximum, low, normal, high;
    };
    const Case cases[] = {{1, 15, 4, 8, 11}, {-2, 2, -1, 0, 1}, {0, 0, 0, 0, 0}, {1, 99, 25, 50, 74}};
    for (const Case& c : cases) {
        const ThreadPriorityLevels levels = ComputeThreadPriorityLevels(c.minimum, c.maximum);
        const int expected[] = {c.minimum, c.low, c.normal, c.high, c.maximum};
        const int actual[] = {levels.lowest, levels.low, levels.normal, levels.high, levels.highest};
        EXPECT_TRUE(std::equal(actual, actual + 5, expected)) << c.minimum << ".." << c.maximum;
    }
    // Extreme ranges do not overflow.
    const ThreadPriorityLevels wide = ComputeThreadPriorityLevels(INT_MIN, INT_MAX);
    EXPECT_EQ(wide.normal, 0);
    EXPECT_TRUE(wide.lowest < wide.low && wide.low < wide.normal);
    EXPECT_TRUE(wide.normal < wide.high && wide.high < wide.highest);
    for (int level : {ThreadPriorityLowest(), ThreadPriorityLow(), ThreadPriorityNormal(), ThreadPriorityHigh(),
                      ThreadPriorityHighest()}) {
        EXPECT_EQ(level, 0);
    }
}

// Also with a function missing, or a priority outside the levels.
TEST_F(ThreadManagerTest, ThreadRunsInitThenRunAndUnlistsItself) {
    ThreadManager manager;
    Probe probe;
    Probe initOnly;
    Probe neither;
    Probe high;
    ASSERT_NE(manager.CreateThread(&InitStep, &RunStep, &probe, ThreadPriorityNormal(), false), nullptr);
    ASSERT_NE(manager.CreateThread(&InitStep, nullptr, &initOnly, -99, true), nullptr);
    ASSERT_NE(manager.CreateThread(nullptr, nullptr, &neither, ThreadPriorityNormal(), true), nullptr);
    ASSERT_NE(manager.CreateThread(&InitStep, &RunStep, &high, 99, false), nullptr);
    EXPECT_TRUE(AllEnded(manager));
    EXPECT_EQ(probe.step, 2);
    EXPECT_EQ(probe.owner, &manager);
    EXPECT_EQ(initOnly.step, 1);
    EXPECT_EQ(high.step, 2);
}

// Only the manager that lists a record stops it; a record whose thread
// ended was freed and must not be touched.
TEST_F(ThreadManagerTest, StopThreadMakesShouldRunFalseWithResultMinusOne) {
    ThreadManager manager;
    ThreadManager other;
    Probe ended;
    ManagedThread* gone = manager.CreateThread(nullptr, nullptr, &ended, ThreadPriorityNormal(), false);
    ASSERT_NE(gone, nullptr);
    ASSERT_TRUE(AllEnded(manager));
    manager.StopThread(gone, true);
    manager.StopThread(nullptr, true);

    Probe probe;
    ManagedThread* thread = Start(manager, &RunUntilStopped, probe);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(manager.GetThreadCount(), 1u);
    other.StopThread(thread, true);
    EXPECT_TRUE(ManagedThread::ShouldRun(thread));
    manager.StopThread(thread, true);
    EXPECT_TRUE(AllEnded(manager));
    EXPECT_TRUE(probe.sawStop);
    EXPECT_EQ(probe.result, -1);
}

TEST_F(ThreadManagerTest, SleepUnlessStoppedAnswersFalseForAStoppedThread) {
    EXPECT_TRUE(SleepUnlessStopped(0, nullptr));
    EXPECT_TRUE(SleepUnlessStopped(2, nullptr));
    ThreadManager manager;
    Probe probe;
    ManagedThread* thread = Start(manager, &SleepBeforeAndAfterStop, probe);
    ASSERT_NE(thread, nullptr);
    manager.StopThread(thread, false);
    probe.release = true;
    EXPECT_TRUE(AllEnded(manager));
    EXPECT_EQ(probe.answers[0], 1);  // while running: the whole time was slept
    EXPECT_EQ(probe.result, 0);
    EXPECT_EQ(probe.answers[1], 0);
    EXPECT_EQ(probe.answers[2], 0);
    EXPECT_TRUE(probe.sawStop);
}

// StopAll does not wait; destruction waits half a second (500 sleeps of
// 1 ms), then gives up. Either way the thread ends later under the fallback.
TEST_F(ThreadManagerTest, ThreadsThatIgnoreStopEndUnderTheFallbackManager) {
    ThreadManager& fallback = GetFallbackThreadManager();
    const std::size_t adoptedBefore = fallback.GetThreadCount();
    auto manager = std::make_unique<ThreadManager>();
    Probe stopped;
    Probe destroyed;
    ManagedThread* thread = Start(*manager, &IgnoreStop, stopped);
    ASSERT_NE(thread, nullptr);
    double start = SteadyMilliseconds();
    manager->StopAll(true);
    EXPECT_LT(SteadyMilliseconds() - start, 400.0);
    EXPECT_EQ(manager->GetThreadCount(), 0u);
    EXPECT_EQ(ManagedThread::GetOwner(thread), &fallback);

    ASSERT_NE(Start(*manager, &IgnoreStop, destroyed), nullptr);
    start = SteadyMilliseconds();
    manager.reset();  // returns although the thread is still held
    EXPECT_GE(SteadyMilliseconds() - start, 490.0);
    EXPECT_EQ(fallback.GetThreadCount(), adoptedBefore + 2);

    stopped.release = true;
    destroyed.release = true;
    EXPECT_TRUE(WaitFor([&] { return fallback.GetThreadCount() == adoptedBefore; }));
    for (const Probe* probe : {&stopped, &destroyed}) {
        EXPECT_TRUE(probe->sawStop);
        EXPECT_EQ(probe->owner, &fallback);
    }
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
    EXPECT_FALSE(ThreadManager::LockMutex(nullptr));
    EXPECT_FALSE(ThreadManager::UnlockMutex(nullptr));
    EXPECT_FALSE(ThreadManager::ReadLock(nullptr));
    EXPECT_FALSE(ThreadManager::WriteLock(nullptr));
    EXPECT_FALSE(ThreadManager::TryWriteLock(nullptr));
    EXPECT_FALSE(ThreadManager::UnlockReadWriteLock(nullptr));
    EXPECT_FALSE(ThreadManager::SignalCondition(nullptr, true));
    EXPECT_FALSE(ThreadManager::SignalCondition(nullptr, false));
    EXPECT_FALSE(ThreadManager::WaitCondition(nullptr, mutex));
    EXPECT_FALSE(ThreadManager::WaitCondition(condition, nullptr));
    EXPECT_FALSE(ManagedThread::ShouldRun(nullptr));
    EXPECT_EQ(ManagedThread::GetOwner(nullptr), nullptr);

    manager.DestroyMutex(nullptr);
    manager.DestroyReadWriteLock(nullptr);
    manager.DestroyCondition(nullptr);
    other.DestroyMutex(mutex);
    other.DestroyReadWriteLock(lock);
    other.DestroyCondition(condition);
    EXPECT_TRUE(ThreadManager::LockMutex(mutex));
    EXPECT_TRUE(ThreadManager::UnlockMutex(mutex));
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
        ASSERT_TRUE(ThreadManager::LockMutex(mutex));
        ASSERT_TRUE(ThreadManager::ReadLock(lock));
        ASSERT_TRUE(ThreadManager::LockMutex(held));
        manager.DestroyMutex(mutex);
        manager.DestroyReadWriteLock(lock);
        EXPECT_EQ(manager.GetMutexCount(), 1u);
        EXPECT_EQ(manager.GetReadWriteLockCount(), 0u);
        // The holder can still release what it holds.
        EXPECT_TRUE(ThreadManager::UnlockMutex(mutex));
        EXPECT_TRUE(ThreadManager::UnlockReadWriteLock(lock));
        mutex = held;  // held across the manager's destruction
    }
    EXPECT_TRUE(ThreadManager::UnlockMutex(mutex));
}

namespace {

// A queue filled by the test and emptied by a thread.
struct Queue {
    pthread_mutex_t* mutex = nullptr;
    pthread_cond_t* changed = nullptr;
    std::deque<int> items;
    bool done = false;
    long long sum = 0;
    int count = 0;
};

std::uint32_t Consume(ManagedThread* thread) {
    Queue& queue = *static_cast<Queue*>(thread->GetArgument());
    ThreadManager::LockMutex(queue.mutex);
    for (;;) {
        while (queue.items.empty() && !queue.done) {
            ThreadManager::WaitCondition(queue.changed, queue.mutex);
        }
        if (queue.items.empty()) {
            break;
        }
        queue.sum += queue.items.front();
        ++queue.count;
        queue.items.pop_front();
    }
    ThreadManager::UnlockMutex(queue.mutex);
    return 0;
}

}  // namespace

TEST_F(ThreadManagerTest, ProducerAndConsumerMeetThroughMutexAndCondition) {
    ThreadManager manager;
    Queue queue;
    queue.mutex = manager.CreateMutex(0);
    queue.changed = manager.CreateCondition();
    ASSERT_NE(queue.mutex, nullptr);
    ASSERT_NE(queue.changed, nullptr);
    ASSERT_NE(manager.CreateThread(nullptr, &Consume, &queue, ThreadPriorityNormal(), false), nullptr);
    for (int item = 1; item <= 1000; ++item) {
        ThreadManager::LockMutex(queue.mutex);
        queue.items.push_back(item);
        EXPECT_TRUE(ThreadManager::SignalCondition(queue.changed, false));
        ThreadManager::UnlockMutex(queue.mutex);
    }
    ThreadManager::LockMutex(queue.mutex);
    queue.done = true;
    EXPECT_TRUE(ThreadManager::SignalCondition(queue.changed, true));
    ThreadManager::UnlockMutex(queue.mutex);

    EXPECT_TRUE(AllEnded(manager));
    ThreadManager::LockMutex(queue.mutex);
    EXPECT_EQ(queue.count, 1000);
    EXPECT_EQ(queue.sum, 500500);
    ThreadManager::UnlockMutex(queue.mutex);
}

namespace {

struct SharedLock {
    pthread_rwlock_t* lock = nullptr;
    std::atomic<int> readersInside{0};
    std::atomic<bool> release{false};
    std::atomic<bool> allInsideAtOnce{false};
};

// Holds a read lock until both readers are inside and the test releases them.
std::uint32_t Read(ManagedThread* thread) {
    SharedLock& shared = *static_cast<SharedLock*>(thread->GetArgument());
    if (!ThreadManager::ReadLock(shared.lock)) {
        return 1;
    }
    ++shared.readersInside;
    // The first to see both inside says so; the other may only see the flag.
    WaitFor([&] {
        if (shared.readersInside.load() == 2) {
            shared.allInsideAtOnce = true;
        }
        return shared.allInsideAtOnce.load();
    });
    WaitFor([&] { return shared.release.load(); });
    --shared.readersInside;
    ThreadManager::UnlockReadWriteLock(shared.lock);
    return 0;
}

// Counts itself in once the read lock is granted.
std::uint32_t ReadOnce(ManagedThread* thread) {
    SharedLock& shared = *static_cast<SharedLock*>(thread->GetArgument());
    if (ThreadManager::ReadLock(shared.lock)) {
        ++shared.readersInside;
        ThreadManager::UnlockReadWriteLock(shared.lock);
    }
    return 0;
}

}  // namespace

TEST_F(ThreadManagerTest, ReadersShareTheLockWhileAWriterIsAlone) {
    ThreadManager manager;
    SharedLock shared;
    shared.lock = manager.CreateReadWriteLock();
    ASSERT_NE(shared.lock, nullptr);
    ASSERT_NE(manager.CreateThread(nullptr, &Read, &shared, ThreadPriorityNormal(), false), nullptr);
    ASSERT_NE(manager.CreateThread(nullptr, &Read, &shared, ThreadPriorityNormal(), false), nullptr);
    EXPECT_TRUE(WaitFor([&] { return shared.allInsideAtOnce.load(); }));
    EXPECT_FALSE(ThreadManager::TryWriteLock(shared.lock));
    shared.release = true;
    ASSERT_TRUE(AllEnded(manager));

    ASSERT_TRUE(ThreadManager::TryWriteLock(shared.lock));
    EXPECT_FALSE(ThreadManager::TryWriteLock(shared.lock));
    ASSERT_NE(manager.CreateThread(nullptr, &ReadOnce, &shared, ThreadPriorityNormal(), false), nullptr);
    os::Sleep(20);
    EXPECT_EQ(shared.readersInside, 0);  // the reader waits for the writer
    EXPECT_TRUE(ThreadManager::UnlockReadWriteLock(shared.lock));
    EXPECT_TRUE(AllEnded(manager));
    EXPECT_EQ(shared.readersInside, 1);
    EXPECT_TRUE(ThreadManager::WriteLock(shared.lock));
    EXPECT_TRUE(ThreadManager::UnlockReadWriteLock(shared.lock));
}
