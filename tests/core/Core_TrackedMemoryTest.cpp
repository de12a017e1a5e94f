#include "core/Core_GlobalOperators.h"
#include "core/Core_MemoryPoolTestHooks.h"
#include "core/Core_String.h"
#include "core/Core_TrackedMemory.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {

// Keeps the compiler from eliding a new/delete pair.
void Escape(void* pointer) { asm volatile("" : : "g"(pointer) : "memory"); }

// What the hooks saw last. They run under the memory mutex: no allocation here.
struct HookLog {
    int allocations = 0, releases = 0;
    Core::AllocationKind kind = Core::AllocationKind::Object;
    std::size_t size = 0;
    const char* file = "";
    int line = 0;
    void* fromThisFile = nullptr;  // the exception machinery allocates too
    bool fromThisFileReleased = false;
} g_log;

void Allocated(void* block, Core::AllocationKind kind, std::size_t size, const char* file, int line) {
    const bool here = std::strcmp(file, __FILE__) == 0;
    g_log = {g_log.allocations + 1, g_log.releases, kind,  size, file, line, here ? block : g_log.fromThisFile,
             g_log.fromThisFileReleased};
}
void Released(void* block, Core::AllocationKind kind) {
    ++g_log.releases;
    g_log.kind = kind;
    g_log.fromThisFileReleased |= block == g_log.fromThisFile;
}
const Core::AllocationHooks kHooks{&Allocated, &Released};

class TrackedMemory : public testing::Test {
protected:
    void SetUp() override {
        g_log = {};
        Core::SetAllocationHooks(&kHooks);
    }
    void TearDown() override {
        Core::SetAllocationHooks(nullptr);
        Core::testhooks::SetSystemAllocator(nullptr);
    }
};

struct ThrowsOnConstruction {
    char payload[40];
    ThrowsOnConstruction() { throw std::runtime_error("constructor failed"); }
};

}  // namespace

// A constructor that throws gives its block back; the exception machinery
// allocates too, so only the block allocated from this file is followed.
TEST_F(TrackedMemory, TrackedNewPassesTheSourcePositionToTheHook) {
    TrackedDelete(TrackedNew(48, "Core_Test", 12), 48);
    EXPECT_TRUE(g_log.size == 48 && std::strcmp(g_log.file, "Core_Test") == 0 && g_log.line == 12);
    TrackedDelete(TrackedNewUnknownSource(8), 8);
    EXPECT_TRUE(std::strcmp(g_log.file, "unknown") == 0 && g_log.line == -1);
    TrackedDelete(nullptr, 16);
    EXPECT_EQ(g_log.releases, 2);

    EXPECT_THROW(TUN_NEW(ThrowsOnConstruction), std::runtime_error);
    EXPECT_TRUE(g_log.fromThisFile != nullptr && g_log.fromThisFileReleased);
    g_log = {};
    EXPECT_THROW(new (__FILE__, __LINE__) ThrowsOnConstruction, std::runtime_error);
    EXPECT_TRUE(g_log.fromThisFile != nullptr && g_log.fromThisFileReleased);
}

// Blocks other tests left free in a bucket are handed out first (the whole
// program runs in one process in the release build); once they are gone the
// refill fails. Large blocks go straight to the failing heap.
TEST_F(TrackedMemory, ExhaustedHeapThrowsBadAllocation) {
    Core::testhooks::SetSystemAllocator([](std::size_t) -> void* { return nullptr; });
    std::array<void*, 64> taken{};  // no allocation of its own while the heap fails
    std::size_t count = 0;
    bool threw = false;
    while (!threw && count < taken.size()) {
        try {
            taken[count] = TrackedNew(3333, __FILE__, __LINE__);
            ++count;
        } catch (const BadAllocation&) {
            threw = true;
        }
    }
    EXPECT_TRUE(threw);
    EXPECT_THROW(TrackedNew(std::size_t{1} << 20, __FILE__, __LINE__), BadAllocation);
    EXPECT_STREQ(BadAllocation().what(), "bad allocation");
    EXPECT_EQ(g_log.allocations, static_cast<int>(count));
    for (std::size_t i = 0; i < count; ++i) {
        TrackedDelete(taken[i], 3333);
    }
}

TEST_F(TrackedMemory, EveryFormOfTheGlobalOperatorsIsTracked) {
    int* array = new int[5];
    Escape(array);
    EXPECT_TRUE(g_log.kind == Core::AllocationKind::Array && g_log.size == 5 * sizeof(int));
    delete[] array;
    EXPECT_EQ(g_log.kind, Core::AllocationKind::Array);
    int* positioned = new ("Core_Here", 99) int(3);
    Escape(positioned);
    EXPECT_TRUE(g_log.kind == Core::AllocationKind::Object && std::strcmp(g_log.file, "Core_Here") == 0);
    delete positioned;
    EXPECT_EQ(g_log.kind, Core::AllocationKind::Object);

    struct alignas(64) Wide {
        char bytes[64];
    };
    Wide* wide = new Wide;
    Escape(wide);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(wide) % 64, 0u);
    delete wide;
    char* quiet = new (std::nothrow) char[3];
    Escape(quiet);
    EXPECT_EQ(g_log.size, 3u);
    delete[] quiet;
    EXPECT_EQ(g_log.allocations, g_log.releases);
}

TEST(TrackedMemoryExit, StaticObjectsHoldingPoolMemorySurviveProcessExit) {
    EXPECT_EXIT(
        {
            static Core::String longLived(200, 'x');
            static Core::StringVector names(2, Core::String("a fairly long name that needs a pool block"));
            std::exit(longLived.size() == 200 && names.size() == 2 ? 0 : 3);
        },
        testing::ExitedWithCode(0), "");
}
