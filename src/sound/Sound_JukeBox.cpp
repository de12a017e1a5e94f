#include "sound/Sound_JukeBox.h"

#include "sound/Sound_JukeBoxTestHooks.h"

namespace Tundra {
namespace {
JukeBoxCalls g_calls;
}

JukeBoxCalls& GetJukeBoxCallsForTesting() { return g_calls; }

void JukeBox::Update(float) { ++g_calls.updates; }

void JukeBox::StopMusic() { ++g_calls.stops; }

}  // namespace Tundra

TUN_DEFINE_CLASS(Tundra::JukeBox)
