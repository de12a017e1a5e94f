#pragma once

#include "core/Core_Object.h"

#include <cstdint>
#include <span>
#include <vector>

namespace Input {

// Snapshot of a keyboard as a peer sees it: one 12-byte little-endian record
// per key whose state bytes are not all 0, in increasing code order:
//   0-4 pressed, triggered, held, down, up; 5-7 zero; 8 virtual-key code (u32)
constexpr std::uint32_t kKeySnapshotRecordBytes = 12;

// The polled keyboard. Keys are named by key id (Input_KeyTable.h); ids
// outside 0-195 answer false. A remote keyboard is never polled: it is fed
// with a peer's snapshots or event lists.
class Keyboard : public Core::Object {
public:
    virtual void Update() = 0;
    virtual bool IsPressed(int keyId) const = 0;
    virtual bool IsTriggered(int keyId) const = 0;
    virtual bool IsDown(int keyId) const = 0;
    virtual bool IsUp(int keyId) const = 0;
    // Any key held, mouse buttons 1 to 5 excepted (codes, not ids, 6-255).
    virtual bool AnyKey() const = 0;
    // The first key id from 6 up that is held (triggered); false when none.
    virtual bool GetPressed(int* keyId) const = 0;
    virtual bool GetTriggered(int* keyId) const = 0;
    // The character the key types (US layout), 0 when none.
    virtual char GetKeyAsChar(int keyId) const = 0;
    // Every key released; reports wait until all keys are let go.
    virtual void Reset() = 0;
    virtual void EndWaitForRelease() = 0;
    virtual void ReadSnapshot(std::span<const std::uint8_t> records) = 0;
    // Empty for a remote keyboard or when no key has a state. The bytes stay
    // valid until the next WriteSnapshot of any keyboard.
    virtual std::span<const std::uint8_t> WriteSnapshot() = 0;
    // The codes the last poll listed with their five state bytes each;
    // false (lists empty) when it listed none.
    virtual bool GetEvents(std::vector<std::uint8_t>& codes, std::vector<std::uint8_t>& states) const = 0;
    // Every key released, then the listed keys' states. Lists whose lengths
    // disagree (five state bytes per code) are refused whole: false.
    virtual bool ApplyEvents(std::span<const std::uint8_t> codes, std::span<const std::uint8_t> states) = 0;
    virtual void SetUserValue(std::int32_t value) = 0;
    virtual std::int32_t GetUserValue() const = 0;
};

}  // namespace Input
