#include "network/Network_Address.h"

#include <gtest/gtest.h>

namespace {

using Network::Tun_Address;

TEST(NetworkAddress, FillsTheSocketAddressFromTextAndPort) {
    struct Case {
        const char* text;
        std::uint16_t port;
        std::uint32_t ipv4;
    };
    for (const Case c : {Case{"localhost", 3000, 0x7F000001}, Case{"192.168.1.20", 40000, 0xC0A80114},
                         Case{"no-such-host.invalid", 1, 0}, Case{"", 65535, 0}, Case{"10.0.0.1", 0, 0x0A000001}}) {
        const Tun_Address address(c.text, c.port);
        EXPECT_EQ(address.GetIPv4(), c.ipv4) << c.text;
        EXPECT_EQ(address.GetPort(), c.port) << c.text;
        EXPECT_EQ(address.GetHostText(), c.text);
        EXPECT_EQ(address.GetSocketAddress(), os::MakeSocketAddress(c.ipv4, c.port));
    }
    const Tun_Address any;
    EXPECT_EQ(any.GetSocketAddress(), os::MakeSocketAddress(0, 0));
    EXPECT_TRUE(any.GetHostText().empty());
}

TEST(NetworkAddress, WithoutTextIsTheAnyAddressAndKeepsItsText) {
    Tun_Address address("127.0.0.1", 5);
    address.Set(nullptr, 7);
    EXPECT_EQ(address.GetIPv4(), 0u);
    EXPECT_EQ(address.GetPort(), 7);
    EXPECT_EQ(address.GetHostText(), "127.0.0.1");
}

TEST(NetworkAddress, FromASocketCallCarriesTheDottedText) {
    const Tun_Address address = Tun_Address::FromSocketAddress(os::MakeSocketAddress(0xC0A80114, 40000));
    EXPECT_EQ(address.GetHostText(), "192.168.1.20");
    EXPECT_EQ(address.GetPort(), 40000);
}

TEST(NetworkAddress, SameEndpointComparesPortAndAddressNotText) {
    const Tun_Address byName("localhost", 3000);
    const Tun_Address byNumber("127.0.0.1", 3000);
    EXPECT_TRUE(byName.SameEndpoint(byNumber));
    EXPECT_TRUE(byName.SameEndpoint(Tun_Address::FromSocketAddress(byNumber.GetSocketAddress())));
    EXPECT_FALSE(byName.SameEndpoint(Tun_Address("127.0.0.1", 3001)));
    EXPECT_FALSE(byName.SameEndpoint(Tun_Address("127.0.0.2", 3000)));
}

}  // namespace
