#include "core/Core_MemoryFile.h"
#include "core/Core_TrackedMemory.h"
#include "mygame/MyGame_ShopUI.h"
#include "mygame/MyGame_VendingMachine.h"
#include "mygame/MyGame_WidgetStreamChecks.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string_view>

// Links that the game keeps in counted references, read from streams that
// make them name the object being read or one reading it: none of these
// reads may leave anything allocated, whether it fails or succeeds.
namespace mygametest {
namespace {

// Counts the blocks allocated while it stands that are not yet released.
// The hooks run under the memory mutex and must not allocate: the blocks go
// into a fixed table.
class LiveBlocks {
public:
    LiveBlocks() {
        s_count = 0;
        s_overflow = false;
        Core::SetAllocationHooks(&kHooks);
    }
    ~LiveBlocks() { Core::SetAllocationHooks(nullptr); }
    LiveBlocks(const LiveBlocks&) = delete;
    LiveBlocks& operator=(const LiveBlocks&) = delete;

    std::size_t Count() const { return s_count; }
    bool Overflowed() const { return s_overflow; }

private:
    static void Allocated(void* block, Core::AllocationKind, std::size_t, const char*, int) {
        if (s_count == s_blocks.size()) {
            s_overflow = true;
            return;
        }
        s_blocks[s_count++] = block;
    }
    static void Released(void* block, Core::AllocationKind) {
        for (std::size_t i = s_count; i > 0; --i) {
            if (s_blocks[i - 1] == block) {
                s_blocks[i - 1] = s_blocks[--s_count];
                return;
            }
        }
    }

    static constexpr Core::AllocationHooks kHooks{&Allocated, &Released};
    static inline std::array<void*, 1 << 16> s_blocks{};
    static inline std::size_t s_count = 0;
    static inline bool s_overflow = false;
};

// Reads records as a game reads a save, until the stream fails or ends, and
// lets go of them with the stream. Whether the first record was refused.
bool ReadRecords(const StreamBytes& bytes) {
    Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    std::vector<Core::RefPtr<Core::Object>> records{file.ReadObject()};
    const bool refused = file.HasFailed();
    while (!file.HasFailed() && records.size() < bytes.size()) {
        records.emplace_back(file.ReadObject());
    }
    return refused;
}

// The blocks a read leaves allocated. The bytes are read once before, so
// that what the engine makes at its first use and keeps is made by then.
std::size_t BlocksLeftByReading(const StreamBytes& bytes) {
    ReadRecords(bytes);
    const LiveBlocks live;
    ReadRecords(bytes);
    EXPECT_FALSE(live.Overflowed());
    return live.Count();
}

// A reference to the object of that class and id, as the stream writes one
// met before.
StreamBytes Reference(std::string_view type, std::uint32_t id) {
    Core::MemoryFile file;
    file.WriteU8(1);
    file.WriteString(type);
    file.WriteU32(id);
    return {file.GetData(), file.GetData() + file.GetSize()};
}

// A fresh machine of the class, written first in its stream (id 1) or as
// the object of another id.
template <class T>
StreamBytes Fresh(std::uint32_t id = 1) {
    const Core::RefPtr<T> machine = TUN_NEW(T);
    StreamBytes bytes = SavedBytes(*machine);
    const std::size_t idAt = 1 + 4 + std::strlen(machine->GetType());
    std::memcpy(bytes.data() + idAt, &id, sizeof id);
    return bytes;
}

// The bytes with the null reference `fromEnd` bytes before the end replaced
// by the link.
StreamBytes Linked(StreamBytes bytes, std::size_t fromEnd, const StreamBytes& link) {
    const auto at = bytes.end() - static_cast<std::ptrdiff_t>(fromEnd);
    bytes.insert(bytes.erase(at), link.begin(), link.end());
    return bytes;
}

StreamBytes Cut(StreamBytes bytes) {
    bytes.pop_back();
    return bytes;
}

// Where the machine's prompt link is, counted from the end of a machine and
// of a shop (whose own 47 bytes follow the machine's); where the shop's
// capsule count is.
constexpr std::size_t kMachinePrompt = 3;
constexpr std::size_t kShopPrompt = 47 + kMachinePrompt;
constexpr std::size_t kShopCapsules = 24;

// The bytes the object-stream fuzzer found first: a shop whose widget lists
// name the shop itself.
constexpr std::string_view kFuzzerShop =
    "013100000053686f70554900000000000000000000000000000000010000b20000000000fdffffffffffff0f310000005368"
    "6f0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000006f"
    "3b00006060000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
    "00000000000000000000000000000000000053566f00000000010a00000053686f7055490022000000000000000000013100"
    "0000000000000000000000000000000000000053566f00000000010a00000053686f705549002200000000000000000000";

StreamBytes FromHex(std::string_view hex) {
    StreamBytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return bytes;
}

StreamBytes ShopListingItself() {
    StreamBytes bytes = WithFieldFromEnd<std::uint32_t>(Fresh<ShopUI>(), kShopCapsules, 1);
    const StreamBytes self = Reference("ShopUI", 1);
    bytes.insert(bytes.end() - static_cast<std::ptrdiff_t>(kShopCapsules - 4), self.begin(), self.end());
    return bytes;
}

// The first object's prompt is the second, written inside it, whose prompt
// is the first.
template <class T>
StreamBytes NamingEachOther(std::string_view type, std::size_t promptFromEnd) {
    const StreamBytes second = Linked(Fresh<T>(2), promptFromEnd, Reference(type, 1));
    return Linked(Fresh<T>(), promptFromEnd, second);
}

TEST(StreamLinkCycleTest, LinksNamingAnObjectBeingReadAreRefusedAndLeakNothing) {
    struct Case {
        const char* what;
        StreamBytes bytes;
        // Whether the links alone make the first record fail.
        bool refused;
    };
    const Case cases[] = {
        {"the fuzzer's shop", FromHex(kFuzzerShop), true},
        {"a machine whose prompt is itself", Linked(Fresh<VendingMachine>(), kMachinePrompt, Reference("VendingMachine", 1)),
         true},
        {"a shop whose prompt is itself", Linked(Fresh<ShopUI>(), kShopPrompt, Reference("ShopUI", 1)), true},
        // The machine's part took the link before the shop's own fields failed.
        {"a shop whose prompt is itself, cut", Cut(Linked(Fresh<ShopUI>(), kShopPrompt, Reference("ShopUI", 1))),
         true},
        {"a shop listing itself among its capsules", ShopListingItself(), true},
        {"two machines naming each other", NamingEachOther<VendingMachine>("VendingMachine", kMachinePrompt), true},
        {"two shops naming each other, cut", Cut(NamingEachOther<ShopUI>("ShopUI", kShopPrompt)), true},
        {"a fresh machine", Fresh<VendingMachine>(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReadRecords(c.bytes), c.refused);
        EXPECT_EQ(BlocksLeftByReading(c.bytes), 0u);
    }
}

}  // namespace
}  // namespace mygametest
