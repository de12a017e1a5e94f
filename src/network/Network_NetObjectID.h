#pragma once

#include "core/Core_Object.h"

#include <cstdint>

namespace Tundra {

// The network identity of a replicated object: (owner player id, object
// number) names it on every machine.
class NetObjectID : public Core::Object {
    TUN_DECLARE_CLASS(NetObjectID);
    NetObjectID() = default;
    NetObjectID(std::uint32_t ownerPlayerId, std::uint32_t objectNumber)
        : m_number(objectNumber), m_owner(ownerPlayerId) {}

    std::uint32_t GetOwnerId() const { return m_owner; }
    std::uint32_t GetObjectNumber() const { return m_number; }

    // The next object number of the process (never reused).
    static std::uint32_t NextObjectNumber();

private:
    std::uint32_t m_number = 0;
    std::uint32_t m_owner = 0;
};

}  // namespace Tundra
