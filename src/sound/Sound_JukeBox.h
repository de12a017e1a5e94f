#pragma once

#include "core/Core_Object.h"

namespace Tundra {

// Plays a level's music playlists. Until the audio subsystem fills it in,
// it plays nothing.
class JukeBox : public Core::Object {
    TUN_DECLARE_CLASS(JukeBox);
    JukeBox() = default;

    void Update(float dt);
    void StopMusic();
};

}  // namespace Tundra
