#include "mygame/MyGame.h"

#include "core/Core_Random.h"
#include "mygame/MyGame_GameTables.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_Player.h"
#include "physics/Physics_PhysicsEngine.h"
#include "sound/Sound_JukeBox.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"
#include "tundra/Tundra_Sound.h"

#include <ctime>

namespace {

constexpr float kMusicFadeSeconds = 2.0f;
constexpr std::uint32_t kPlaylistTracks = 9;

Core::String SoundPath(const Core::String& fileName) {
    return Tundra::Game::GetDirectory() + "\\Resources\\Sounds\\" + fileName;
}

// The Emberline game alive now; GetGame answers it without a dynamic_cast
// on every call.
MyGame* g_running = nullptr;

// "0".."9": the tracks and themes are numbered by one character.
Core::String Digit(std::uint32_t value) { return Core::String(1, static_cast<char>('0' + value)); }

}  // namespace

MyGame::MyGame(MyLevelFactory* factory, const Engine::StartupSettings& settings, std::uint32_t startingLevel)
    : Tundra::Game(factory, settings, startingLevel) {
    g_running = this;
    SetDesiredFrameRate(60.0);
    LockFrameRate(true);
    SetMasterVolume(1.0f);
    GetPhysicsEngine()->SetScale(15.0f);
    GetPhysicsEngine()->SetAccuracy(150);
    // Named before anything can stand over the window (a box about the data folder).
    SetTitle("Emberline");
    SetIcon(GetDirectory() + "\\Resources\\GameIcon\\GameIcon.ico");
    if (!LoadSettings()) {
        GameGlobals& globals = Globals();
        globals.leftKeyId = 53;
        globals.rightKeyId = 56;
        globals.jumpKeyId = 75;
        m_volume = 0.8f;
        m_muted = 0;
        SaveSettings();
    }
    // The game's own generator was seeded with the time at program start.
    SeedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
    if (!LoadProfile()) {
        NewProfile();
    }
    UpdateMoveSpeed();
}

MyGame::~MyGame() {
    if (g_running == this) {
        g_running = nullptr;
    }
}

MyGame* GetGame() { return Tundra::Game::GetInstance() == g_running ? g_running : nullptr; }

Tundra::Layer* MyGame::GetWorldLayer() const {
    const Tundra::Level* level = GetCurrentLevel();
    return level != nullptr ? level->GetLayer(MyLevelFactory::kWorldLayer) : nullptr;
}

Tundra::Layer* MyGame::GetHudLayer() const {
    const Tundra::Level* level = GetCurrentLevel();
    return level != nullptr ? level->GetLayer(MyLevelFactory::kHudLayer) : nullptr;
}

Tundra::GameObject* MyGame::GetTemplate(std::uint32_t index) const {
    return index < kTemplateCount ? m_templates[index].Get() : nullptr;
}

Tundra::GameObject* MyGame::CloneTemplate(std::uint32_t index) const {
    const Tundra::GameObject* original = GetTemplate(index);
    return original != nullptr ? static_cast<Tundra::GameObject*>(original->Clone()) : nullptr;
}

void MyGame::CaptureTemplates() {
    for (std::uint32_t i = 0; i < kTemplateCount; ++i) {
        Tundra::GameObject* found = Tundra::FindObject<Tundra::GameObject>(kTemplateNames[i]);
        m_templates[i] = found != nullptr ? static_cast<Tundra::GameObject*>(found->Clone()) : nullptr;
        if (found != nullptr) {
            // Unindexed at once: the level keeps no object of a template's name.
            found->Destroy();
        }
    }
    Globals().player = Tundra::FindObject<Player>("Player");
}

void MyGame::HandTemplatesToLevel() {
    Tundra::Layer* layer = GetWorldLayer();
    if (layer == nullptr) {
        return;
    }
    // The layer takes its own reference and frees the template with the
    // level; a second hand-over finds each already given and changes nothing.
    for (const Core::RefPtr<Tundra::GameObject>& held : m_templates) {
        if (held) {
            layer->AddGameObject(held.Get());
            held->Destroy();
        }
    }
}

void MyGame::ChangeLevel(std::uint32_t index) {
    // The framework ignores a level it does not have: the templates stay.
    if (index >= GetLevelsCount()) {
        return;
    }
    SaveProfile();
    HandTemplatesToLevel();
    GoToLevel(index);
}

void MyGame::OnLevelEnded() {
    HandTemplatesToLevel();
    // The level goes with the shut-down: the templates with it, and nothing
    // is left naming its objects.
    ForgetLevelObjects();
}

void MyGame::ForgetLevelObjects() {
    for (Core::RefPtr<Tundra::GameObject>& held : m_templates) {
        held = nullptr;
    }
    m_effectSounds.clear();
    ClearMusicLinks();
    Globals().ForgetLevelLinks();
}

void MyGame::UpdateMoveSpeed() {
    constexpr float kPerLevel = 0.05f;
    constexpr std::uint32_t kMoveSpeedStat = 3;
    const float left = kPerLevel * GetUpgradeLevel(m_profile, m_profile.LeftWeapon(), kMoveSpeedStat);
    const float right = kPerLevel * GetUpgradeLevel(m_profile, m_profile.RightWeapon(), kMoveSpeedStat);
    m_moveSpeedFactor = 1.0f + left;
    m_moveSpeedFactor += right;
}

void MyGame::SetVolume(float volume, float fadeTime) {
    // Not NaN either: the music would fade towards it.
    if (!(volume >= 0.0f && volume <= 1.0f)) {
        return;
    }
    for (Tundra::Sound* sound : m_effectSounds) {
        sound->SetVolume(volume);
    }
    for (Tundra::JukeBox* jukebox : {m_levelMusic, m_menuMusic}) {
        if (jukebox != nullptr) {
            jukebox->SetMusicVolume(volume, fadeTime);
        }
    }
}

Tundra::Sound* MyGame::CreateSoundEffect(const Core::String& path) {
    Tundra::Layer* layer = GetWorldLayer();
    if (layer == nullptr) {
        return nullptr;
    }
    auto* sound = TUN_NEW(Tundra::Sound, path, Tundra::Sound::kRelative, 10.0f, false, 0.0f, false);
    sound->SetVolume(IsMuted() ? 0.0f : m_volume);
    layer->AddGameObject(sound);
    m_effectSounds.push_back(sound);
    return sound;
}

void MyGame::LoadSoundEffects() {
    m_effectSounds.clear();
    GameGlobals& globals = Globals();
    globals.buttonHoverSound = CreateSoundEffect(SoundPath("buttonHover.ogg"));
    globals.playerHitSound = CreateSoundEffect(SoundPath("playerHit.ogg"));
    globals.playerDeathSound = CreateSoundEffect(SoundPath("playerDeath.ogg"));
    globals.playerCollectSound = CreateSoundEffect(SoundPath("playerCollect.ogg"));
}

Tundra::JukeBox* MyGame::StartLevelJukeBox(const std::vector<Core::String>& tracks, bool shuffle) {
    Tundra::Level* level = GetCurrentLevel();
    if (level == nullptr) {
        return nullptr;
    }
    const Core::RefPtr<Tundra::JukeBox> jukebox = TUN_NEW(Tundra::JukeBox, tracks);
    jukebox->SetFadeTime(kMusicFadeSeconds);
    jukebox->SetRepeat(true);
    jukebox->SetShuffle(shuffle);
    jukebox->PlayMusic(-1);
    jukebox->SetMusicVolume(IsMuted() ? 0.0f : m_volume, 0.0f);
    // The level owns its one jukebox: the one it lets go is no longer ours.
    if (level->GetJukeBox() == m_menuMusic) {
        m_menuMusic = nullptr;
    }
    if (level->GetJukeBox() == m_levelMusic) {
        m_levelMusic = nullptr;
    }
    level->SetJukeBox(jukebox.Get());
    return jukebox.Get();
}

void MyGame::LoadMusicPlaylist() {
    std::vector<Core::String> tracks;
    for (std::uint32_t n = 1; n <= kPlaylistTracks; ++n) {
        tracks.push_back(SoundPath("music (" + Digit(n) + ").ogg"));
    }
    if (Tundra::JukeBox* jukebox = StartLevelJukeBox(tracks, true)) {
        m_menuMusic = jukebox;
    }
}

void MyGame::LoadLevelMusic() {
    const auto theme = static_cast<std::uint32_t>(GetLevelInfo(m_profile.currentStage).Theme());
    if (Tundra::JukeBox* jukebox = StartLevelJukeBox({SoundPath("bgm" + Digit(theme) + ".ogg")}, false)) {
        m_levelMusic = jukebox;
    }
}
