#include "core/Core_Startup.h"
#include "core/Core_TrackedMemory.h"
#include "pal/PAL_MemoryMutex.h"
#include "os/OS_Sleep.h"
#include "pal/PAL_ThreadManager.h"
#include "support/SteadyClock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <vector>

namespace {

// Core start-up with the real memory mutex: the process-wide thread manager's.
class MemoryMutex : public testing::Test {
protected:
    void SetUp() override { CoreStartup(m_guard); }
    void TearDown() override { CoreShutdown(m_guard); }

    std::uint8_t m_guard = 0;
};

// The hooks run under the memory mutex: two threads inside at once, or
// counts that do not match, mean that it did not exclude.
std::atomic<int> g_inside{0};
std::atomic<bool> g_overlap{false};
std::size_t g_allocations = 0, g_releases = 0;

void Count(std::size_t& counter) {
    g_overlap = g_overlap || g_inside.fetch_add(1) != 0;
    ++counter;
    g_inside.fetch_sub(1);
}
const Core::AllocationHooks kCountingHooks{
    [](void*, Core::AllocationKind, std::size_t, const char*, int) { Count(g_allocations); },
    [](void*, Core::AllocationKind) { Count(g_releases); }};

constexpr std::size_t kSizes[] = {24, 100, 1100, 2900, 5000};

double g_until = 0.0;
std::atomic<bool> g_corrupted{false};
std::atomic<long> g_rounds{0};

// Tracked blocks filled with the thread's own byte and checked before they
// go back, and vectors that grow through the global operators.
std::uint32_t Churn(ManagedThread* thread) {
    const auto mark = static_cast<unsigned char>(reinterpret_cast<std::uintptr_t>(thread) >> 4);
    void* blocks[5] = {};
    while (testsupport::SteadyMilliseconds() < g_until) {
        for (int i = 0; i < 5; ++i) {
            std::memset(blocks[i] = TrackedNew(kSizes[i], __FILE__, __LINE__), mark, kSizes[i]);
        }
        std::vector<std::uint32_t> grown;
        for (std::uint32_t k = 0; k < 3000; ++k) {
            grown.push_back(k);
        }
        for (int i = 4; i >= 0; --i) {
            const auto* bytes = static_cast<const unsigned char*>(blocks[i]);
            g_corrupted = g_corrupted || bytes[0] != mark || bytes[kSizes[i] - 1] != mark;
            TrackedDelete(blocks[i], kSizes[i]);
        }
        ++g_rounds;
    }
    return 0;
}

}  // namespace

// Meanwhile the main thread shuts the Core down and starts it again (a
// destroyed mutex would be locked by a worker that read its handle before),
// and the process-wide manager's lists change under the registry lock,
// which is taken before the memory mutex. The mutex stays the one made by
// the first start-up, also when installed after Core started (as when a
// static initialiser of another file started Core first).
TEST_F(MemoryMutex, EightThreadsAllocatingAcrossShutdownsKeepThePoolConsistent) {
    ThreadManager& process = GetProcessThreadManager();
    const std::size_t mutexes = process.GetMutexCount();
    ThreadManager manager;
    g_allocations = g_releases = 0;
    Core::SetAllocationHooks(&kCountingHooks);
    g_until = testsupport::SteadyMilliseconds() + 1000.0;
    for (int i = 0; i < 8; ++i) {
        ASSERT_NE(manager.CreateThread(nullptr, &Churn, nullptr, ThreadPriorityNormal(), false, "churn"), nullptr);
    }
    while (manager.GetThreadCount() != 0 && testsupport::SteadyMilliseconds() < g_until + 10000.0) {
        CoreShutdown(m_guard);
        process.DestroyCondition(process.CreateCondition());
        CoreStartup(m_guard);
        InstallMemoryMutex();
        os::Sleep(1);
    }
    Core::SetAllocationHooks(nullptr);
    EXPECT_EQ(manager.GetThreadCount(), 0u);
    EXPECT_GE(g_rounds, 8);
    EXPECT_FALSE(g_corrupted);
    EXPECT_FALSE(g_overlap);
    EXPECT_EQ(g_allocations, g_releases);
    EXPECT_TRUE(Core::HasMemoryMutex());
    EXPECT_EQ(process.GetMutexCount(), mutexes);
}
