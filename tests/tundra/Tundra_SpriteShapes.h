#pragma once

#include "collision/Collision_CollisionActor.h"
#include "core/Core_String.h"
#include "tundra/Tundra_SpriteAnimation.h"

#include <utility>
#include <vector>

namespace tundratest {

// Animation "a" has three frames, "b" two, on sheets named folder + "a.png"
// and "b.png"; without a renderer they have no texture, which the node
// plays all the same.
inline std::vector<Core::RefPtr<Tundra::SpriteAnimation>> SpriteAnimations(const Core::String& folder = "") {
    std::vector<Core::RefPtr<Tundra::SpriteAnimation>> list;
    for (const auto& [name, frames] : {std::pair("a", 3), std::pair("b", 2)}) {
        list.push_back(TUN_NEW(Tundra::SpriteAnimation, folder + name + ".png", 4, 1,
                               std::vector<float>(static_cast<std::size_t>(frames), 0.1f)));
        list.back()->SetName(name);
    }
    return list;
}

// Frame 0: rectangle (top 4, left -2, right 2, bottom -4), two segments and
// one circle; frame 1: no segment, two circles. Animation 1 repeats them.
inline Collision2D::CollisionActor* SpriteShapesActor() {
    auto* actor = new Collision2D::CollisionActor;
    for (int animation = 0; animation < 2; ++animation) {
        auto* frames = new Collision2D::CollisionAnimation;
        auto* first = new Collision2D::CollisionFrame;
        first->SetBoundingRectangle({4.0f, -2.0f, 2.0f, -4.0f}, true);
        first->AddLineSegment({-2.0f, 0.0f}, {2.0f, 0.0f}, 1, true);
        first->AddLineSegment({1.0f, -4.0f}, {1.0f, 4.0f}, 2, true);
        first->AddCircle({0.0f, 1.0f}, 1.0f, 3, true);
        auto* second = new Collision2D::CollisionFrame;
        second->SetBoundingRectangle({3.0f, -1.0f, 1.0f, -3.0f}, true);
        second->AddCircle({0.0f, 0.0f}, 2.0f, 4, true);
        second->AddCircle({1.0f, 0.0f}, 0.5f, 5, true);
        frames->AddCollisionFrame(first);
        frames->AddCollisionFrame(second);
        actor->AddCollisionAnimation(frames);
    }
    return actor;
}

}  // namespace tundratest
