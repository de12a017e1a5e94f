#pragma once

#include <cstdint>

// Test hooks of ResolveLocalHost, kept apart from what the engine includes.
namespace Network {

// From now on ResolveLocalHost answers the given address (host order)
// without asking the machine.
void ForceLocalHost(std::uint32_t address);
// Lets ResolveLocalHost ask the machine again.
void ClearForcedLocalHost();

}  // namespace Network
