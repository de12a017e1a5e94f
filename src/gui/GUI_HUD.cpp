#include "gui/GUI_HUD.h"

#include "gui/GUI_HUDTestHooks.h"

namespace GUI {
namespace {
HUD* g_instance = nullptr;
HudCalls g_calls;
}  // namespace

HudCalls& GetHudCallsForTesting() { return g_calls; }

HUD::HUD() { g_instance = this; }

HUD::~HUD() {
    if (g_instance == this) {
        g_instance = nullptr;
    }
}

HUD* HUD::GetInstance() { return g_instance; }

void HUD::Render() { ++g_calls.renders; }

void HUD::Clear() { ++g_calls.clears; }

void HUD::WriteInformation(Core::File&) const {}

void HUD::ReadInformation(Core::File&) {}

}  // namespace GUI

void UpdateHud(float) { ++GUI::g_calls.updates; }
