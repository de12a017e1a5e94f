#include "mygame/MyGame_FireEffectPool.h"

#include "core/Core_File.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_PS_FireDebuff.h"
#include "tundra/Tundra_Layer.h"

#include <vector>

namespace {

// Idle effects in the order they finished; the last is handed out first.
std::vector<Core::RefPtr<PS_FireDebuff>>& Pool() {
    static std::vector<Core::RefPtr<PS_FireDebuff>> pool;
    return pool;
}

bool IsGone(const PS_FireDebuff& effect) { return effect.IsDestroyed() || effect.IsDestroyRequested(); }

// The last idle effect that still lives, re-armed; null once none is left.
PS_FireDebuff* TakeIdleEffect() {
    std::vector<Core::RefPtr<PS_FireDebuff>>& pool = Pool();
    while (!pool.empty()) {
        const Core::RefPtr<PS_FireDebuff> effect = pool.back();
        pool.pop_back();
        if (!IsGone(*effect)) {
            effect->OnStart();
            return effect.Get();
        }
    }
    return nullptr;
}

PS_FireDebuff* CloneFireTemplate() {
    MyGame* game = GetGame();
    Tundra::Layer* world = game != nullptr ? game->GetWorldLayer() : nullptr;
    if (world == nullptr) {
        return nullptr;
    }
    // Held while it is placed: a clone of another class goes again here.
    const Core::RefPtr<Tundra::GameObject> clone(game->CloneTemplate(kFireDebuffTemplate));
    auto* effect = dynamic_cast<PS_FireDebuff*>(clone.Get());
    if (effect != nullptr) {
        world->AddGameObject(effect);
    }
    return effect;
}

}  // namespace

PS_FireDebuff* TakeFireEffectFromPool() {
    PS_FireDebuff* effect = TakeIdleEffect();
    if (effect == nullptr) {
        effect = CloneFireTemplate();
    }
    if (effect != nullptr) {
        effect->SetVisible(true);
    }
    return effect;
}

void ReturnFireEffectToPool(PS_FireDebuff* effect) {
    if (effect != nullptr) {
        Pool().emplace_back(effect);
    }
}

void ClearFireEffectPool() { Pool().clear(); }

std::size_t GetFireEffectPoolSize() { return Pool().size(); }

void SaveFireEffectPool(Core::File& file) {
    const std::vector<Core::RefPtr<PS_FireDebuff>>& pool = Pool();
    file.WriteU32(static_cast<std::uint32_t>(pool.size()));
    for (const Core::RefPtr<PS_FireDebuff>& effect : pool) {
        file << effect;
    }
}

void LoadFireEffectPool(Core::File& file) {
    std::uint32_t count = 0;
    file.ReadU32(count);
    std::vector<Core::RefPtr<PS_FireDebuff>> pool;
    // One by one: a hostile count fails when the bytes run out.
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        Core::RefPtr<PS_FireDebuff> effect;
        file >> effect;
        if (effect == nullptr) {
            file.SetFailed();
        }
        pool.push_back(std::move(effect));
    }
    if (!file.HasFailed()) {
        Pool() = std::move(pool);
    }
}
