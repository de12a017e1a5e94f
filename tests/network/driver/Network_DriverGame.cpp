#include "Network_DriverGame.h"

#include "Network_DriverScript.h"

#include "core/Core_TrackedMemory.h"
#include "mygame/MyGame_CreateGame.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "network/Network_TunPlayer.h"
#include "tundra/Tundra_Sprite.h"

#include <string>

namespace netdriver {
namespace {

std::string Describe(const Tundra::TunPlayer* player) {
    if (player == nullptr) {
        return "none";
    }
    return "id=" + std::to_string(player->GetID()) + " name=" + std::string(player->GetName()) +
           " host=" + (player->IsHost() ? "1" : "0") + " local=" + (player->IsLocal() ? "1" : "0");
}

void PrintEvent(int kind, const std::string& details = {}) {
    PrintLine("event " + std::to_string(kind) + (details.empty() ? "" : " " + details));
}

}  // namespace

void DriverContent::BuildLayer(MyLevelFactory& factory, std::uint32_t level, std::uint32_t layer) {
    m_game->BuildLayer(factory, level, layer);
    if (layer != 0) {
        return;
    }
    const Core::RefPtr<Tundra::Sprite> dot = TUN_NEW(Tundra::Sprite);
    dot->SetName("dot");
    SetScriptGlobal("DriverTemplate", dot.Get());
    std::string results;
    const bool ran = RunScript(
        std::string("local t = DriverTemplate DriverTemplate = nil return Game:GetNetworkEngine():AddBaseNetObject(t, '") +
            kTemplateName + "')",
        results);
    PrintLine("template level=" + std::to_string(level) + (ran ? " ok " : " error ") + results);
}

bool DriverGame::OnPlayerJoinRequest(Tundra::TunPlayer* player) {
    PrintEvent(2, Describe(player));
    return MyGame::OnPlayerJoinRequest(player);
}

void DriverGame::OnJoinAnswer(int answer) {
    PrintEvent(3, "value=" + std::to_string(answer));
    MyGame::OnJoinAnswer(answer);
}

void DriverGame::OnJoinedSession() {
    PrintEvent(1);
    MyGame::OnJoinedSession();
}

void DriverGame::OnSessionHosted() {
    PrintEvent(0);
    MyGame::OnSessionHosted();
}

void DriverGame::OnSessionEnded() {
    PrintEvent(8);
    MyGame::OnSessionEnded();
}

void DriverGame::OnNetworkEventKind4(Tundra::TunPlayer* player) {
    PrintEvent(4, Describe(player));
    MyGame::OnNetworkEventKind4(player);
}

void DriverGame::OnNetworkEventKind5(Tundra::TunPlayer* player) {
    PrintEvent(5, Describe(player));
    MyGame::OnNetworkEventKind5(player);
}

void DriverGame::OnTextMessage(Tundra::TunPlayer* sender, const Core::String& text) {
    PrintEvent(6, "from=" + std::to_string(sender != nullptr ? sender->GetID() : 0) + " text=" + std::string(text));
    MyGame::OnTextMessage(sender, text);
}

void DriverGame::OnDataMessage(Tundra::TunPlayer* sender, std::uint32_t code, std::uint32_t size, const void* data) {
    PrintEvent(7, "from=" + std::to_string(sender != nullptr ? sender->GetID() : 0) + " code=" + std::to_string(code) +
                      " size=" + std::to_string(size));
    MyGame::OnDataMessage(sender, code, size, data);
}

Core::RefPtr<DriverGame> MakeDriverGame() {
    try {
        const Core::RefPtr<MyLevelFactory> factory =
            TUN_NEW(MyLevelFactory, std::make_unique<DriverContent>(MakeGameContent()));
        return TUN_NEW(DriverGame, factory.Get(), MakeStartupSettings(), MyLevelFactory::kIntroLevel);
    } catch (const BadAllocation&) {
        return nullptr;
    }
}

}  // namespace netdriver
