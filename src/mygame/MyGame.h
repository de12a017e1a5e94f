#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "mygame/MyGame_PlayerProfile.h"
#include "mygame/MyGame_Templates.h"
#include "tundra/Tundra_Game.h"

#include <array>
#include <cstdint>
#include <vector>

namespace Tundra {
class GameObject;
class JukeBox;
class Layer;
class Sound;
}  // namespace Tundra
class MyLevelFactory;

// Emberline: the start-up record, the settings and the player's profile,
// the templates the game clones at run time, the effect sounds and the two
// music jukeboxes, the volume and mute, and the collision filter that
// decides how pairs of named objects touch.
class MyGame : public Tundra::Game {
public:
    static constexpr std::uint32_t kWidth = 1024;
    static constexpr std::uint32_t kHeight = 768;

    // Reads the settings and the profile (writing defaults where they are
    // missing or damaged) and starts on the given level.
    MyGame(MyLevelFactory* factory, const Engine::StartupSettings& settings, std::uint32_t startingLevel);
    ~MyGame() override;

    // The framework's game state, then the templates, the effect sounds and
    // jukeboxes (as object references), the paused flag and the tile and
    // health-bar depth counters; Load finds the player again.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // At shut-down: the templates go back to the level to be freed with it,
    // and every link into the level is forgotten.
    void OnLevelEnded() override;
    bool CollisionFilter(Tundra::GameObject* a, Tundra::GameObject* b, float& restitution,
                         float& friction) override;

    // Layer 1 and layer 0 of the current level; null without one.
    Tundra::Layer* GetWorldLayer() const;
    Tundra::Layer* GetHudLayer() const;

    // A clone of the held template, for the caller to add to a layer; null
    // for an empty slot or an index past the table.
    Tundra::GameObject* CloneTemplate(std::uint32_t index) const;
    Tundra::GameObject* GetTemplate(std::uint32_t index) const;
    // Clones the level's templates out of it and finds its player.
    void CaptureTemplates();
    // Saves the profile, hands the templates back to the level, and asks
    // for the switch at the next frame.
    void ChangeLevel(std::uint32_t index);
    // Forgets every link into the level that is ending: the templates (the
    // level frees them), the effect sounds, both jukeboxes and the globals'.
    void ForgetLevelObjects();

    // The move-speed factor from the two selected weapons' move-speed levels.
    void UpdateMoveSpeed();
    float GetMoveSpeedFactor() const { return m_moveSpeedFactor; }

    // Applies the volume to every effect sound and both jukeboxes; the
    // stored volume stays as it was.
    void SetVolume(float volume, float fadeTime);
    float GetVolume() const { return m_volume; }
    void StoreVolume(float volume) { m_volume = volume; }
    bool IsMuted() const { return m_muted != 0; }
    void SetMuted(bool muted) { m_muted = muted ? 1 : 0; }

    // A sound of the file in the world layer, at the game's volume, not
    // playing; null without a world layer.
    Tundra::Sound* CreateSoundEffect(const Core::String& path);
    void LoadSoundEffects();
    void LoadMusicPlaylist();
    void LoadLevelMusic();
    const std::vector<Tundra::Sound*>& GetEffectSounds() const { return m_effectSounds; }
    Tundra::JukeBox* GetLevelMusic() const { return m_levelMusic; }
    Tundra::JukeBox* GetMenuMusic() const { return m_menuMusic; }
    void ClearMusicLinks() {
        m_levelMusic = nullptr;
        m_menuMusic = nullptr;
    }

    // The settings file: the three control keys, the volume and the mute.
    void SaveSettings();
    // False when there is no file to read (or no user folder); a damaged
    // file is kept aside, repaired and written again.
    bool LoadSettings();
    void SaveProfile();
    bool LoadProfile();
    // The new player's profile, written at once.
    void NewProfile();
    PlayerProfile& GetProfile() { return m_profile; }
    const PlayerProfile& GetProfile() const { return m_profile; }

private:
    void HandTemplatesToLevel();
    // A jukebox over the tracks, playing at the game's volume, made the
    // current level's; null without a level.
    Tundra::JukeBox* StartLevelJukeBox(const std::vector<Core::String>& tracks, bool shuffle);

    PlayerProfile m_profile;
    // Clones held outside every layer; the layer a template is handed to
    // takes its own reference.
    std::array<Core::RefPtr<Tundra::GameObject>, kTemplateCount> m_templates;
    // In the world layer; not owned.
    std::vector<Tundra::Sound*> m_effectSounds;
    // The level holds the jukeboxes.
    Tundra::JukeBox* m_levelMusic = nullptr;
    float m_moveSpeedFactor = 1.0f;
    float m_volume = 0.8f;
    std::uint8_t m_muted = 0;
    Tundra::JukeBox* m_menuMusic = nullptr;
};

// The running game; null when none runs or it is not Emberline.
MyGame* GetGame();
