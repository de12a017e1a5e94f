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

namespace {

// Core start-up with the real memory mutex: the process-wide thread manager's.
class MemoryMutex : public threadtest::MovingClockTest {
protected:
    void SetUp() override {
        CoreStartup(m_guard);
        threadtest::MovingClockTest::SetUp();  // after start-up, which chooses its own clock
    }
    void TearDown() override {
        threadtest::MovingClockTest::TearDown();
        CoreShutdown(m_guard);
    }

    std::uint8_t m_guard = 0;
};

// The hooks run under the memory mutex: two threads inside at once, or
// counts that do not match, mean that it did not exclude.
std::atomic<int> g_inside{0};
std::atomic<bool> g_overlap{false};
std::size_t g_allocations = 0;
std::size_t g_releases = 0;

void Count(std::size_t& counter) {
    g_overlap = g_overlap || g_inside.fetch_add(1) != 0;
    ++counter;
    g_inside.fetch_sub(1);
}
const Core::AllocationHooks kCountingHooks{
    [](void*, Core::AllocationKind, std::size_t, const char*, int) { Count(g_allocations); },
    [](void*, Core::AllocationKind) { Count(g_releases); }};

constexpr std::size_t kSizes[] = {24, 100, 1100, 2900, 5000};

struct Worker {
    double until = 0.0;
    std::atomic<bool> corrupted{false};
    std::atomic<long> rounds{0};
};

// Tracked blocks filled with the thread's own byte and checked before they
// go back, and vectors that grow through the global operators.
std::uint32_t Churn(ManagedThread* thread) {
    Worker& worker = *static_cast<Worker*>(thread->GetArgument());
    const auto mark = static_cast<unsigned char>(reinterpret_cast<std::uintptr_t>(thread) >> 4);
    void* blocks[5] = {};
    while (SteadyMilliseconds() < worker.until) {
        for (int i = 0; i < 5; ++i) {
            std::memset(blocks[i] = TrackedNew(kSizes[i], __FILE__, __LINE__), mark, kSizes[i]);
        }
        std::vector<std::uint32_t> grown(1, 7);
        for (std::uint32_t k = 0; k < 3000; ++k) {
            grown.push_back(k);
        }
        for (int i = 4; i >= 0; --i) {
            const auto* bytes = static_cast<const unsigned char*>(blocks[i]);
            worker.corrupted = worker.corrupted || bytes[0] != mark || bytes[kSizes[i] - 1] != mark;
            TrackedDelete(blocks[i], kSizes[i]);
        }
        ++worker.rounds;
    }
    return 0;
}

}  // namespace

// Once made, it stays the one mutex: also when installed after Core started,
// as when a static initialiser of another file started Core first.
TEST_F(MemoryMutex, TheFirstStartupMakesTheOnlyOne) {
    EXPECT_TRUE(Core::HasMemoryMutex());
    const std::size_t mutexes = GetProcessThreadManager().GetMutexCount();
    CoreShutdown(m_guard);
    EXPECT_TRUE(Core::HasMemoryMutex());
    CoreStartup(m_guard);
    InstallMemoryMutex();
    EXPECT_EQ(GetProcessThreadManager().GetMutexCount(), mutexes);
}

// Meanwhile the main thread shuts the Core down and starts it again (a
// destroyed mutex would be locked by a worker that read its handle before),
// and the process-wide manager's lists change under the registry lock,
// which is taken before the memory mutex.
TEST_F(MemoryMutex, EightThreadsAllocatingAcrossShutdownsKeepThePoolConsistent) {
    ThreadManager manager;
    g_allocations = g_releases = 0;
    Core::SetAllocationHooks(&kCountingHooks);
    Worker worker;
    worker.until = SteadyMilliseconds() + 1000.0;
    for (int i = 0; i < 8; ++i) {
        ASSERT_NE(manager.CreateThread(nullptr, &Churn, &worker, ThreadPriorityNormal(), false, "churn"), nullptr);
    }
    ThreadManager& process = GetProcessThreadManager();
    while (manager.GetThreadCount() != 0 && SteadyMilliseconds() < worker.until + 10000.0) {
        CoreShutdown(m_guard);
        process.DestroyCondition(process.CreateCondition());
        CoreStartup(m_guard);
        os::Sleep(1);
    }
    Core::SetAllocationHooks(nullptr);
    EXPECT_EQ(manager.GetThreadCount(), 0u);
    EXPECT_GE(worker.rounds, 8);
    EXPECT_FALSE(worker.corrupted);
    EXPECT_FALSE(g_overlap);
    EXPECT_EQ(g_allocations, g_releases);
}
