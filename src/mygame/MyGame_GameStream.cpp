#include "core/Core_File.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_Enemy.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_Player.h"
#include "mygame/MyGame_StreamLinks.h"
#include "mygame/MyGame_Terrain.h"
#include "sound/Sound_JukeBox.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Sound.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The globals' effect sounds, in the order LoadSoundEffects fills them.
std::array<Tundra::Sound**, 4> GlobalSounds() {
    GameGlobals& globals = Globals();
    return {&globals.buttonHoverSound, &globals.playerHitSound, &globals.playerDeathSound,
            &globals.playerCollectSound};
}

}  // namespace

void MyGame::Save(Core::File& file) const {
    Tundra::Game::Save(file);
    for (const Core::RefPtr<Tundra::GameObject>& object : m_templates) {
        file << object;
    }
    // The sounds and jukeboxes belong to the level written above: these are
    // references back to them.
    file.WriteU32(static_cast<std::uint32_t>(m_effectSounds.size()));
    for (const Tundra::Sound* sound : m_effectSounds) {
        file << sound;
    }
    for (Tundra::Sound** sound : GlobalSounds()) {
        file << *sound;
    }
    file << m_levelMusic;
    file << m_menuMusic;
    file.WriteU8(Globals().paused);
    file.WriteF32(Terrain::GetTileDepthCounter());
    file.WriteF32(Enemy::GetHealthBarDepthCounter());
}

void MyGame::Load(Core::File& file) {
    Tundra::Game::Load(file);
    if (file.HasFailed()) {
        return;
    }
    // Reading the templates makes objects, which must not move the id
    // counter the framework's part restored.
    const std::uint32_t idCounter = Tundra::GameObject::GetIdCounter();
    std::array<Core::RefPtr<Tundra::GameObject>, kTemplateCount> templates;
    for (Core::RefPtr<Tundra::GameObject>& object : templates) {
        file >> object;
        // Held outside the layers, they take back their engine entries here,
        // so that their clones get collision objects and bodies of their own.
        if (object != nullptr && !RelinkObject(*object)) {
            file.SetFailed();
        }
    }
    Tundra::GameObject::SetIdCounter(idCounter);
    std::uint32_t soundCount = 0;
    file.ReadU32(soundCount);
    std::vector<Tundra::Sound*> sounds;
    // One by one: a hostile count fails when the bytes run out.
    for (std::uint32_t i = 0; i < soundCount && !file.HasFailed(); ++i) {
        Tundra::Sound* sound = nullptr;
        file >> sound;
        // The game lists only sounds it made.
        if (sound == nullptr) {
            file.SetFailed();
        }
        sounds.push_back(sound);
    }
    std::array<Tundra::Sound*, 4> globalSounds{};
    for (Tundra::Sound*& sound : globalSounds) {
        file >> sound;
    }
    Tundra::JukeBox* levelMusic = nullptr;
    Tundra::JukeBox* menuMusic = nullptr;
    file >> levelMusic;
    file >> menuMusic;
    std::uint8_t paused = 0;
    file.ReadU8(paused);
    float depthCounter = 0.0f;
    file.ReadF32(depthCounter);
    float barDepthCounter = 0.0f;
    file.ReadF32(barDepthCounter);
    Player* player = Tundra::FindObject<Player>("Player");
    const bool linksHeld = std::all_of(sounds.begin(), sounds.end(), HeldInItsLayer) &&
                           std::all_of(globalSounds.begin(), globalSounds.end(), HeldInItsLayer) &&
                           HeldBeyondTheStream(levelMusic) && HeldBeyondTheStream(menuMusic) &&
                           HeldInItsLayer(player);
    if (file.HasFailed() || !linksHeld || paused > 1 || !std::isfinite(depthCounter) ||
        !std::isfinite(barDepthCounter) || barDepthCounter > Enemy::kHealthBarDepthStart) {
        file.SetFailed();
        return;
    }
    m_templates = std::move(templates);
    m_effectSounds = std::move(sounds);
    const std::array<Tundra::Sound**, 4> globalLinks = GlobalSounds();
    for (std::size_t i = 0; i < globalSounds.size(); ++i) {
        *globalLinks[i] = globalSounds[i];
    }
    m_levelMusic = levelMusic;
    m_menuMusic = menuMusic;
    Globals().paused = paused;
    Terrain::SetTileDepthCounter(depthCounter);
    Enemy::SetHealthBarDepthCounter(barDepthCounter);
    Globals().player = player;
}
