#pragma once

#include "core/Core_RefPtr.h"
#include "input/Input_KeyState.h"
#include "input/Input_Keyboard.h"

#include <array>

namespace Input {

class KeyboardImp : public Keyboard {
public:
    explicit KeyboardImp(bool remote = false);
    ~KeyboardImp() override;

    // Not registered by name, and neither Clone nor GetType is overridden:
    // a clone is a plain Core::Object and GetType reports "Object".
    std::uint32_t GetSize() const override { return sizeof(KeyboardImp); }

    // The script class whose methods scripts call on it.
    static constexpr const char* kScriptName = "KeyboardImp";
    void PushToLua(lua_State* state) const override { PushToLuaAs(state, kScriptName); }

    // The local keyboard, also kept as the process-wide one.
    static Core::RefPtr<KeyboardImp> CreateInstance();
    // A keyboard fed by a peer; not kept anywhere.
    static Core::RefPtr<KeyboardImp> CreateRemote();
    // The process-wide keyboard (it owns nothing); null when there is none.
    static KeyboardImp* GetInstance();

    // Polls a key held since the last Reset may hold back before it counts anyway.
    static constexpr std::uint32_t kMaxWaitPolls = 120;

    void Update() override;
    bool IsPressed(int keyId) const override;
    bool IsTriggered(int keyId) const override;
    bool IsDown(int keyId) const override;
    bool IsUp(int keyId) const override;
    bool AnyKey() const override;
    bool GetPressed(int* keyId) const override;
    bool GetTriggered(int* keyId) const override;
    char GetKeyAsChar(int keyId) const override;
    void Reset() override;
    void EndWaitForRelease() override;
    void ReadSnapshot(std::span<const std::uint8_t> records) override;
    std::span<const std::uint8_t> WriteSnapshot() override;
    bool GetEvents(std::vector<std::uint8_t>& codes, std::vector<std::uint8_t>& states) const override;
    bool ApplyEvents(std::span<const std::uint8_t> codes, std::span<const std::uint8_t> states) override;
    void SetUserValue(std::int32_t value) override { m_userValue = value; }
    std::int32_t GetUserValue() const override { return m_userValue; }

private:
    // The state of the key id's key, or null for an id outside the table.
    const KeyState* KeyOfId(int keyId) const;
    // The first key id from 6 up whose state passes the test.
    bool FindKeyId(int* keyId, std::uint8_t KeyState::*field) const;

    std::array<KeyState, 256> m_keys{};
    std::uint8_t m_remote = 0;
    std::vector<std::uint8_t> m_eventCodes;
    std::vector<KeyState> m_eventStates;
    std::int32_t m_userValue = 22;
    std::uint32_t m_waitCounter = 0;
    std::uint8_t m_wait = 1;
};

}  // namespace Input
