#include "support/Tundra_TestGame.h"
#include "support/Lua_TestScripts.h"

#include "core/Core_ErrorLogTestHooks.h"
#include "core/Core_MemoryFile.h"
#include "tundra/Lua_Host.h"
#include "tundra/Tundra_Layer.h"

#include <lua.hpp>

namespace {

using tundratest::GameTest;

using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(const Core::MemoryFile& file) { return Bytes(file.GetData(), file.GetData() + file.GetSize()); }

class GameObjectNetworkTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        m_scripts.Write("net.lua", "local function trace(t) _G.trace = (_G.trace or '') .. t .. ' ' end\n"
                                   "function Constructor() trace('Constructor') end\n"
                                   "function NetworkSave() trace('NetworkSave') end\n"
                                   "function NetworkLoad() trace('NetworkLoad') end\n"
                                   "function NetworkSyncSend() trace('NetworkSyncSend') end\n"
                                   "function NetworkSyncReceive() trace('NetworkSyncReceive') end\n");
        Start();
    }

    Tundra::GameObject& Add(const char* name) {
        auto* object = TUN_NEW(Tundra::GameObject);
        object->SetName(name);
        LayerAt(0).AddGameObject(object);
        return *object;
    }

    static std::string Trace() { return testsupport::TakeGlobalText(Lua::Host::GetMainState(), "trace"); }

    testsupport::ScriptDirectory m_scripts;
};

TEST_F(GameObjectNetworkTest, AnAnnouncedObjectComesBackWithItsStateAndScript) {
    Tundra::GameObject& source = Add("source");
    source.SetPosition({10.0f, 20.0f});
    source.SetRotationAngle(30.0f);
    source.SetModulationColor({0.5f, 0.25f, 1.0f, 0.75f});
    source.SetScript("net.lua");
    source.RunScript(false);
    Core::MemoryFile announced;
    source.NetworkSave(announced);
    EXPECT_EQ(Trace(), "Constructor NetworkSave ");

    Tundra::GameObject& replica = Add("replica");
    Core::MemoryFile read(announced.GetData(), announced.GetSize());
    replica.NetworkLoad(read);
    EXPECT_EQ(Trace(), "Constructor NetworkLoad ");
    ASSERT_FALSE(read.HasFailed());
    EXPECT_EQ(replica.GetPosition(), Vector2D(10.0f, 20.0f));
    std::vector<Tundra::GameObject*> named;
    LayerAt(0).GetGameObjectsByName("source", named);
    EXPECT_EQ(named.size(), 2u);  // the layer's name index knows the new name
    Core::MemoryFile again;
    replica.NetworkSave(again);
    EXPECT_EQ(BytesOf(again), BytesOf(announced));

    // A message that ends early changes nothing.
    Tundra::GameObject& other = Add("other");
    Core::MemoryFile cut(announced.GetData(), announced.GetSize() - 1);
    other.NetworkLoad(cut);
    EXPECT_EQ(other.GetName(), "other");
    EXPECT_EQ(other.GetScript(), nullptr);
}

TEST_F(GameObjectNetworkTest, TheFirstTickPlacesAReplicaAndAnInactiveScriptReadsNoName) {
    Tundra::GameObject& replica = Add("replica");
    Core::MemoryFile announce;
    Add("host").NetworkSave(announce);
    replica.NetworkLoad(announce);
    Tundra::GameObject& rider = Add("rider");
    rider.SetPosition({1.0f, 1.0f});
    replica.Mount(&rider);

    Tundra::GameObject& host = Add("host2");
    host.SetPosition({5.0f, 6.0f});
    Core::MemoryFile tick;
    host.NetworkSyncSend(tick);
    replica.NetworkSyncReceive(tick);
    EXPECT_EQ(replica.GetPosition(), Vector2D(5.0f, 6.0f));
    EXPECT_EQ(rider.GetPosition(), Vector2D(1.0f, 1.0f));

    // Script not active but started at the sender: no name follows.
    Core::MemoryFile inactive;
    host.NetworkSyncSend(inactive);
    Bytes bytes = BytesOf(inactive);
    bytes[bytes.size() - 1] = 1;
    bytes.push_back(0xAB);
    Core::MemoryFile message(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    replica.NetworkSyncReceive(message);
    std::uint8_t next = 0;
    message.ReadU8(next);
    EXPECT_EQ(next, 0xAB);
    EXPECT_EQ(replica.GetScript(), nullptr);
}

TEST_F(GameObjectNetworkTest, AScriptNameFromAMessageMustBeAPlainFileName) {
    Tundra::GameObject& source = Add("source");
    source.SetScript("..\\net.lua");
    Core::MemoryFile announced;
    source.NetworkSave(announced);
    Bytes bytes = BytesOf(announced);
    // Script active and started.
    bytes[bytes.size() - 1] = 1;
    bytes[bytes.size() - 2 - 4 - 10 - 1] = 1;
    Core::MemoryFile message(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    Tundra::GameObject& replica = Add("replica");
    Core::testhooks::StartCapturingErrors();
    replica.NetworkLoad(message);
    EXPECT_EQ(Core::testhooks::StopCapturingErrors().size(), 1u);
    EXPECT_FALSE(message.HasFailed());
    EXPECT_EQ(replica.GetScript(), nullptr);
    EXPECT_EQ(Trace(), "");
}

}  // namespace
