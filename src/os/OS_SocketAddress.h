#pragma once

#include <array>
#include <cstdint>
#include <string>

// IPv4 socket addresses in the platform's 16-byte layout: u16 family 2 in the
// machine's order, u16 port and u32 address in network order, 8 zero bytes.
// Records that go on the wire copy these bytes as they are.
namespace os {

using SocketAddress = std::array<std::uint8_t, 16>;

constexpr std::uint16_t kAddressFamilyIPv4 = 2;
constexpr std::uint32_t kAnyIPv4 = 0;               // 0.0.0.0
constexpr std::uint32_t kLoopbackIPv4 = 0x7F000001;  // 127.0.0.1

// Addresses and ports are given in host order; port 0 means any.
SocketAddress MakeSocketAddress(std::uint32_t ipv4, std::uint16_t port);
std::uint32_t SocketAddressIPv4(const SocketAddress& address);
std::uint16_t SocketAddressPort(const SocketAddress& address);

// A dotted address, else a host name looked up as IPv4 (its first address).
// False, and *ipv4 unchanged, when the text is neither.
bool ResolveIPv4(const char* text, std::uint32_t* ipv4);

// "a.b.c.d".
std::string FormatIPv4(std::uint32_t ipv4);

}  // namespace os
