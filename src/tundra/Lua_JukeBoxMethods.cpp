#include "tundra/Lua_Accessors.h"
#include "tundra/Lua_MethodTable.h"
#include "sound/Sound_JukeBox.h"

// The "JukeBox" table.
namespace Lua {
namespace {

using Tundra::JukeBox;

// "PlayMusic"(index or none): none picks as an index outside the playlist does.
int PlayMusic(JukeBox& jukebox, lua_State* state) {
    jukebox.PlayMusic(ArgumentCount(state) >= 1 ? GetInt(state, 1) : -1);
    return 0;
}

int SetCurrentPlaylist(JukeBox& jukebox, lua_State* state) {
    const char* name = GetString(state, 1);
    if (name == nullptr) {
        return 0;
    }
    PushBool(state, jukebox.SetCurrentPlaylist(name));
    return 1;
}

// "SetMusicVolume"(volume, fade seconds or none for at once).
int SetMusicVolume(JukeBox& jukebox, lua_State* state) {
    const int count = ArgumentCount(state);
    if (count < 1) {
        return 0;
    }
    jukebox.SetMusicVolume(GetFloat(state, 1), count >= 2 ? GetFloat(state, 2) : 0.0f);
    return 0;
}

const MethodTable& JukeBoxMethods() {
    static const MethodTable table{
        "JukeBox",
        {
            Bind<JukeBox, &PlayMusic>("PlayMusic"),
            Bind<JukeBox, &SetCurrentPlaylist>("SetCurrentPlaylist"),
            BindOperation<JukeBox, &JukeBox::StopMusic>("StopMusic"),
            BindOperation<JukeBox, &JukeBox::PauseMusic>("PauseMusic"),
            BindOperation<JukeBox, &JukeBox::RewindMusic>("RewindMusic"),
            BindGetter<JukeBox, &JukeBox::IsPlaying>("IsPlaying"),
            Bind<JukeBox, &SetMusicVolume>("SetMusicVolume"),
            BindGetter<JukeBox, &JukeBox::GetMusicVolume>("GetMusicVolume"),
            BindSetter<JukeBox, &JukeBox::SetRepeat>("SetRepeat"),
            BindGetter<JukeBox, &JukeBox::GetRepeat>("GetRepeat"),
            BindSetter<JukeBox, &JukeBox::SetShuffle>("SetShuffle"),
            BindGetter<JukeBox, &JukeBox::GetShuffle>("GetShuffle"),
            BindSetter<JukeBox, &JukeBox::SetFadeTime>("SetFadeTime"),
            BindGetter<JukeBox, &JukeBox::GetFadeTime>("GetFadeTime"),
            BindGetter<JukeBox, &JukeBox::GetCurrentTrack>("GetCurrentTrack"),
            BindOperation<JukeBox, &JukeBox::NextTrack>("NextTrack"),
            BindOperation<JukeBox, &JukeBox::PreviousTrack>("PreviousTrack"),
        },
    };
    return table;
}

const TableRegistration s_jukeBoxMethodsRegistration{&JukeBoxMethods};

}  // namespace
}  // namespace Lua
