#include "core/Core_Clock.h"
#include "core/Core_MemoryPool.h"
#include "core/Core_Startup.h"
#include "core/Core_TrackedMemory.h"
#include "pal/PAL_MemoryMutex.h"
#include "pal/PAL_ThreadManager.h"

#include "PAL_ThreadTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <vector>

using threadtest::SteadyMilliseconds;
using threadtest::WaitFor;

namespace {

// Core start-up with the real memory mutex: the process-wide thread manager's.
class MemoryMutex : public threadtest::MovingClockTest {
protected:
    void SetUp() override {
        m_mutexesBefore = GetProcessThreadManager().GetMutexCount();
        CoreStartup(m_guard);
        // After start-up, which chooses its own clock.
        threadtest::MovingClockTest::SetUp();
    }
    void TearDown() override {
        threadtest::MovingClockTest::TearDown();
        CoreShutdown(m_guard);
    }

    std::size_t m_mutexesBefore = 0;
    std::uint8_t m_guard = 0;
};

}  // namespace

// Also when installed after Core started, as when a static initialiser of
// another file started Core first; once made, it stays the one mutex.
TEST_F(MemoryMutex, CoreStartupMakesItWithTheProcessThreadManager) {
    ASSERT_NE(Core::GetMemoryMutexInterface(), nullptr);
    EXPECT_TRUE(Core::HasMemoryMutex());
    EXPECT_EQ(GetProcessThreadManager().GetMutexCount(), m_mutexesBefore + 1);
    CoreShutdown(m_guard);
    EXPECT_FALSE(Core::HasMemoryMutex());
    EXPECT_EQ(GetProcessThreadManager().GetMutexCount(), m_mutexesBefore);
    delete new int(5);  // allocation goes on without a mutex

    Core::SetMemoryMutexInterface(nullptr);
    CoreStartup(m_guard);
    EXPECT_FALSE(Core::HasMemoryMutex());
    InstallMemoryMutex();
    EXPECT_TRUE(Core::HasMemoryMutex());
    InstallMemoryMutex();
    EXPECT_EQ(GetProcessThreadManager().GetMutexCount(), m_mutexesBefore + 1);
}

namespace {

// The allocation hooks run under the memory mutex: the plain counters only
// stay right, and no two threads are ever inside at once, if it excludes.
std::atomic<int> g_inside{0};
std::atomic<bool> g_overlap{false};
std::size_t g_allocations = 0;
std::size_t g_releases = 0;

void Enter() {
    if (g_inside.fetch_add(1, std::memory_order_relaxed) != 0) {
        g_overlap.store(true, std::memory_order_relaxed);
    }
}
void Leave() { g_inside.fetch_sub(1, std::memory_order_relaxed); }

void OnAllocated(void*, Core::AllocationKind, std::size_t, const char*, int) {
    Enter();
    ++g_allocations;
    Leave();
}
void OnReleased(void*, Core::AllocationKind) {
    Enter();
    ++g_releases;
    Leave();
}
const Core::AllocationHooks kCountingHooks{&OnAllocated, &OnReleased};

// Pool sizes of 1024 bytes and more skip the per-thread caches, so their
// buckets can be checked once the threads are gone; nothing else here
// allocates these sizes.
constexpr std::size_t kSizes[] = {24, 100, 1100, 2900, 5000};
constexpr int kHeld = 16;

struct Worker {
    double until = 0.0;
    std::atomic<bool> corrupted{false};
    std::atomic<long> rounds{0};
};

// For the given time: tracked blocks filled with the thread's own byte and
// checked before they go back, and vectors that grow through the global operators.
std::uint32_t Churn(ManagedThread* thread) {
    Worker& worker = *static_cast<Worker*>(thread->GetArgument());
    const auto mark = static_cast<unsigned char>(reinterpret_cast<std::uintptr_t>(thread) >> 4);
    void* blocks[kHeld] = {};
    while (SteadyMilliseconds() < worker.until) {
        for (int i = 0; i < kHeld; ++i) {
            const std::size_t size = kSizes[i % 5];
            blocks[i] = TrackedNew(size, __FILE__, __LINE__);
            std::memset(blocks[i], mark, size);
        }
        std::vector<std::uint32_t> grown;
        for (std::uint32_t k = 0; k < 3000; ++k) {
            grown.push_back(k);
        }
        if (grown[2999] != 2999) {
            worker.corrupted = true;
        }
        for (int i = kHeld - 1; i >= 0; --i) {
            const std::size_t size = kSizes[i % 5];
            const auto* bytes = static_cast<const unsigned char*>(blocks[i]);
            if (bytes[0] != mark || bytes[size - 1] != mark) {
                worker.corrupted = true;
            }
            TrackedDelete(blocks[i], size);
        }
        ++worker.rounds;
    }
    return 0;
}

}  // namespace

TEST_F(MemoryMutex, EightThreadsAllocatingForASecondKeepThePoolConsistent) {
    constexpr int kThreads = 8;
    ThreadManager manager;
    g_allocations = 0;
    g_releases = 0;
    Core::SetAllocationHooks(&kCountingHooks);

    Worker worker;
    worker.until = SteadyMilliseconds() + 1000.0;
    int started = 0;
    for (int i = 0; i < kThreads; ++i) {
        started += manager.CreateThread(nullptr, &Churn, &worker, ThreadPriorityNormal(), false) != nullptr;
    }
    // Meanwhile the lists of the process-wide manager grow and shrink under
    // the registry lock, which is taken before the memory mutex.
    ThreadManager& process = GetProcessThreadManager();
    while (manager.GetThreadCount() != 0 && SteadyMilliseconds() < worker.until + 10000.0) {
        process.DestroyCondition(process.CreateCondition());
        os::Sleep(1);
    }

    Core::SetAllocationHooks(nullptr);
    EXPECT_EQ(started, kThreads);
    EXPECT_EQ(manager.GetThreadCount(), 0u);
    EXPECT_GE(worker.rounds, kThreads);
    EXPECT_FALSE(worker.corrupted);
    EXPECT_FALSE(g_overlap);
    EXPECT_EQ(g_allocations, g_releases);
#if !defined(TUNDRA_POOL_PASSTHROUGH)
    for (std::size_t size : {std::size_t{1100}, std::size_t{2900}}) {
        const Core::MemoryPool::BucketStats stats = Core::MemoryPool::GetInstance().GetBucketStats(size);
        EXPECT_GT(stats.chunks, 0u) << size;
        EXPECT_EQ(stats.freeBlocks, stats.chunks * Core::MemoryPool::kBlocksPerChunk) << size;
    }
#endif
}
