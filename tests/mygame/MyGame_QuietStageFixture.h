#pragma once

#include "core/Core_RefPtr.h"
#include "mygame/MyGame_Enemy.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Projectile.h"
#include "support/MyGame_StageFixture.h"

#include <algorithm>
#include <vector>

namespace mygametest {

// A stage in which only the test's own enemies live: whatever its waves
// send is ended in the frame it comes, before it could act.
class QuietStageFixture : public StageFixture {
protected:
    GameLevel& EnterQuietStage(std::uint32_t stage = 0) {
        m_kept.clear();
        EXPECT_TRUE(EnterStage(stage));
        DismissWaveEnemies();
        return *Stage();
    }

    void Run(int frames = 1) {
        for (int frame = 0; frame < frames; ++frame) {
            Step();
            DismissWaveEnemies();
        }
    }

    // One of the test's own from now on, among the stage's live enemies as
    // a spawn of the stage would be; null for none or another class.
    template <class T>
    T* Keep(Enemy* enemy) {
        auto* kept = dynamic_cast<T*>(enemy);
        if (kept != nullptr) {
            m_kept.emplace_back(kept);
            Stage()->AddLiveEnemy(kept);
        }
        return kept;
    }

    // Shots in the world layer, those queued to start included, that are
    // not on their way out.
    std::vector<Projectile*> Shots() const {
        std::vector<Tundra::GameObject*> held;
        m_game->GetWorldLayer()->GetHeldGameObjects(held);
        std::vector<Projectile*> shots;
        for (Tundra::GameObject* object : held) {
            auto* shot = dynamic_cast<Projectile*>(object);
            if (shot != nullptr && !shot->IsDestroyRequested() && !shot->IsDestroyed() &&
                std::find(shots.begin(), shots.end(), shot) == shots.end()) {
                shots.push_back(shot);
            }
        }
        return shots;
    }

private:
    void DismissWaveEnemies() {
        GameLevel* stage = Stage();
        for (std::size_t i = 0; stage != nullptr && i < stage->GetLiveEnemyCount();) {
            Enemy* enemy = stage->GetLiveEnemy(i);
            const bool kept = std::any_of(m_kept.begin(), m_kept.end(),
                                          [enemy](const Core::RefPtr<Enemy>& own) { return own.Get() == enemy; });
            if (kept) {
                ++i;
            } else {
                // Leaves the live list.
                enemy->Destroy();
            }
        }
    }

    std::vector<Core::RefPtr<Enemy>> m_kept;
};

}  // namespace mygametest
