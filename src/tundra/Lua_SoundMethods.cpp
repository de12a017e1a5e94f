#include "tundra/Lua_Accessors.h"
#include "tundra/Lua_GameObjectMethods.h"
#include "tundra/Tundra_Sound.h"

namespace Lua {
namespace {

using Tundra::Sound;

// "Play"([restart]): whether it started; without an argument a playing
// sound is left as it is.
int Play(Sound& sound, lua_State* state) {
    PushBool(state, sound.Play(ArgumentCount(state) >= 1 && GetBool(state, 1)));
    return 1;
}

const MethodTable& SoundMethods() {
    static const MethodTable table = ComposeTable(
        "Sound",
        JoinNames({
            {"ObjectFunction", "AddManagedObject"},
            DerivedObjectNames(),
            {"SetScript", "RunScript", "SaveNetworkData", "LoadNetworkData", "GetFileName", "Play", "Stop", "Pause",
             "Rewind", "IsPlaying", "SetVolume", "GetVolume", "SetPitch", "GetPitch", "SetIntensity", "GetIntensity",
             "SetLooping", "GetLooping", "Clone"},
        }),
        {
            BindGetter<Sound, &Sound::GetFileName>("GetFileName"),
            Bind<Sound, &Play>("Play"),
            BindOperation<Sound, &Sound::Stop>("Stop"),
            BindOperation<Sound, &Sound::Pause>("Pause"),
            BindOperation<Sound, &Sound::Rewind>("Rewind"),
            BindGetter<Sound, &Sound::IsPlaying>("IsPlaying"),
            BindSetter<Sound, &Sound::SetVolume>("SetVolume"),
            BindGetter<Sound, &Sound::GetVolume>("GetVolume"),
            BindSetter<Sound, &Sound::SetPitch>("SetPitch"),
            BindGetter<Sound, &Sound::GetPitch>("GetPitch"),
            BindSetter<Sound, &Sound::SetIntensity>("SetIntensity"),
            BindGetter<Sound, &Sound::GetIntensity>("GetIntensity"),
            BindSetter<Sound, &Sound::SetLooping>("SetLooping"),
            BindGetter<Sound, &Sound::GetLooping>("GetLooping"),
        },
        FrameworkObjectMethods());
    return table;
}

const TableRegistration s_soundMethodsRegistration{&SoundMethods};

}  // namespace
}  // namespace Lua
