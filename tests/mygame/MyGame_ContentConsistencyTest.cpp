#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/generated/MyGame_CollisionActors.h"
#include "mygame/generated/MyGame_ContentTables.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

// Every level's rows against the collision actors they name: a sprite's
// animations are its actor's, frame for frame, and each fits its sheet.
namespace mygametest {
namespace {

// Per actor, per animation, its frame count.
std::vector<std::vector<std::size_t>> ActorFrameCounts() {
    using namespace CollisionActorShapes;
    const ActorGroup* const groups[] = {&kCollisionActors0, &kCollisionActors1, &kCollisionActors2,
                                        &kCollisionActors3, &kCollisionActors4, &kCollisionActors5,
                                        &kCollisionActors6};
    std::vector<std::vector<std::size_t>> actors;
    for (const ActorGroup* group : groups) {
        for (const Actor& actor : group->actors) {
            std::vector<std::size_t>& frames = actors.emplace_back();
            for (const Animation& animation : actor) {
                std::size_t count = 0;
                for (const FrameRange& range : animation) {
                    count = static_cast<std::size_t>(range.last) + 1;
                }
                frames.push_back(count);
            }
        }
    }
    return actors;
}

bool HasMaker(const ContentRow& row) {
    return std::visit([](const auto& r) { return r.make.GetMaker() != nullptr; }, row);
}

const char* NameOf(const ContentRow& row) {
    return std::visit([](const auto& r) { return r.name; }, row);
}

TEST(ContentConsistency, SpriteRowsMatchTheirActorsAndFitTheirSheets) {
    const std::vector<std::vector<std::size_t>> actors = ActorFrameCounts();
    ASSERT_EQ(actors.size(), kCollisionActorCount);
    int sprites = 0;
    for (std::uint32_t level = 0; level < MyLevelFactory::kLevelCount; ++level) {
        for (const LayerRows& layer : ContentLevelRows(level)) {
            for (const ContentRow& row : layer) {
                SCOPED_TRACE("level " + std::to_string(level) + " " + NameOf(row));
                EXPECT_TRUE(HasMaker(row));
                const auto* sprite = std::get_if<SpriteRow>(&row);
                if (sprite == nullptr) {
                    continue;
                }
                ++sprites;
                ASSERT_GE(sprite->actorIndex, 0);
                ASSERT_LT(static_cast<std::size_t>(sprite->actorIndex), actors.size());
                const std::vector<std::size_t>& frames = actors[static_cast<std::size_t>(sprite->actorIndex)];
                ASSERT_EQ(sprite->animations.size(), frames.size());
                for (std::size_t a = 0; a < frames.size(); ++a) {
                    const SheetAnimation& animation = sprite->animations[a];
                    SCOPED_TRACE(animation.sheet);
                    EXPECT_EQ(animation.delays.size(), frames[a]);
                    EXPECT_GT(animation.columns, 0);
                    EXPECT_GT(animation.rows, 0);
                    EXPECT_LE(animation.delays.size(), static_cast<std::size_t>(animation.columns * animation.rows));
                    for (const float delay : animation.delays) {
                        EXPECT_GT(delay, 0.0f);
                    }
                }
                // The starting frame is one the actor has.
                const auto animation = static_cast<std::size_t>(sprite->animation);
                ASSERT_LT(animation, frames.size());
                EXPECT_LT(static_cast<std::size_t>(sprite->frame), frames[animation]);
                if (sprite->collider) {
                    EXPECT_EQ(sprite->collider->actor.value_or(static_cast<std::uint32_t>(sprite->actorIndex)),
                              static_cast<std::uint32_t>(sprite->actorIndex));
                }
            }
        }
    }
    EXPECT_GT(sprites, 0);
}

}  // namespace
}  // namespace mygametest
