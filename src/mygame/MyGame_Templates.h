#pragma once

#include <cstdint>

// The objects the game clones at run time, captured by name when the menu
// or a stage starts; the index is the template's slot.
enum TemplateSlot : std::uint32_t {
    kBulletTemplate = 0,
    kProjectileTemplate = 1,
    kFlyingRangedEnemyTemplate = 2,
    kWalkingRangedEnemyTemplate = 3,
    kRollingSpikeTemplate = 4,
    kHpBarTemplate = 5,
    kCloudTemplate = 6,
    kBossProjTemplate = 7,
    kFireDebuffTemplate = 8,
    kButtonTemplate = 9,
    kCenteredTextTemplate = 10,
    kScoreTextTemplate = 11,
    kEnemyDropTemplate = 12,
    kFrameBGTemplate = 13,
    kFramePipeTemplate = 14,
    kFrameCornerTemplate = 15,
    kFadingTextTemplate = 16,
    kTemplateCount = 17,
};

// The level content's object name of each slot.
extern const char* const kTemplateNames[kTemplateCount];
