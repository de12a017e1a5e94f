#pragma once

#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_GameObject.h"
#include "tundra/Tundra_Level.h"

// Objects whose state follows every kind of input a replay carries, for the
// replay tests and the replay fuzz harness.
namespace tundratest {

// Steers by the arrow keys, jumps on Up, is kicked at random by a click and
// keeps score of the mouse, both generators and its collisions, so that any
// difference in input, draws or contacts shows in the saved state.
struct ReplayProbe : Tundra::GameObject {
    TUN_DECLARE_CLASS(ReplayProbe);

    void Update(float dt) override;
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    float score = 0.0f;
};

// Six probes with circles and bodies, set moving, and a static circle, in
// the level's first layer.
void AddReplayProbes(Tundra::Level& level, Tundra::Game& game);

}  // namespace tundratest
