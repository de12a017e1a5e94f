#pragma once

#include "core/Core_TrackedMemory.h"
#include "network/Network_StreamState.h"
#include "os/OS_SocketPoll.h"
#include "support/MovingClock.h"
#include "support/Network_WirePeer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <span>
#include <thread>
#include <vector>

// A stream state reading the near end of a loopback connection that the test
// writes at the far end, watching how much memory messages take.
class StreamProbe {
public:
    StreamProbe() {
        s_largest = 0;
        Core::SetAllocationHooks(&kHooks);
    }
    ~StreamProbe() {
        Core::SetAllocationHooks(nullptr);
        for (Network::RawMessage& message : messages) {
            Network::FreeMessage(message);
        }
    }

    // Writes bytes (not empty) and lets the state read once they all arrived.
    Network::StreamState::Outcome Feed(std::span<const std::uint8_t> bytes) {
        const std::int64_t before = os::PendingBytes(pair.near.GetHandle());
        EXPECT_TRUE(pair.far.Write(bytes));
        const std::int64_t wanted = before + static_cast<std::int64_t>(bytes.size());
        // Loopback bytes arrive within microseconds: spin rather than sleep.
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (os::PendingBytes(pair.near.GetHandle()) < wanted && std::chrono::steady_clock::now() < end) {
            std::this_thread::yield();
        }
        return state.Receive(pair.near.GetHandle(), messages);
    }

    // The messages out so far, as bytes; their memory is freed.
    std::vector<testsupport::Bytes> TakeMessages() {
        std::vector<testsupport::Bytes> taken;
        for (Network::RawMessage& message : messages) {
            taken.emplace_back(message.bytes, message.bytes + message.length);
            Network::FreeMessage(message);
        }
        messages.clear();
        return taken;
    }

    // The largest message buffer taken since the probe was made.
    std::size_t LargestMessageAllocation() const { return s_largest; }

    testsupport::WirePair pair = testsupport::ConnectedPair();
    Network::StreamState state;
    std::vector<Network::RawMessage> messages;

private:
    static void Allocated(void*, Core::AllocationKind, std::size_t size, const char* file, int) {
        if (file != nullptr && std::strstr(file, "Network_Message") != nullptr && size > s_largest) {
            s_largest = size;
        }
    }
    static void Released(void*, Core::AllocationKind) {}

    static inline std::atomic<std::size_t> s_largest{0};
    static constexpr Core::AllocationHooks kHooks{&Allocated, &Released};
};
