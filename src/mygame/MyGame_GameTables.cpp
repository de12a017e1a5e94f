#include "mygame/MyGame_GameTables.h"

#include <cassert>

namespace {

constexpr LevelInfo kLevels[kStageCount] = {
    {{3, 1, 15, 7, 1, 2, 0, 40, 0, 100}},  {{5, 1, 20, 7, 1, 2, 0, 55, 0, 100}},
    {{7, 1, 35, 7, 3, 2, 3, 70, 0, 95}},   {{9, 1, 40, 7, 5, 2, 0, 85, 1, 85}},
    {{7, 1, 43, 7, 5, 2, 0, 95, 1, 80}},   {{9, 1, 50, 7, 5, 2, 4, 120, 1, 75}},
    {{10, 1, 53, 7, 7, 2, 0, 120, 2, 60}}, {{11, 1, 55, 7, 12, 2, 0, 140, 2, 50}},
    {{11, 1, 60, 7, 14, 2, 5, 160, 2, 40}},
};

constexpr std::array<float, kWeaponCount * kEnemyKindCount> kWeaponDamage = {
    0.85f, 0.75f, 0.5f,  0.015f, 0.015f, 0.01f,   //
    0.6f,  0.8f,  1.0f,  0.02f,  0.02f,  0.01f,   //
    0.55f, 0.55f, 1.5f,  0.03f,  0.04f,  0.02f,   //
    0.4f,  0.5f,  0.6f,  0.02f,  0.02f,  0.015f,  //
    0.15f, 0.15f, 0.15f, 0.015f, 0.02f,  0.015f,
};

// Each list ends with the empty line the story dialog stops at.
constexpr const char* kStage0[] = {
    "My first day went by smoothly, I eliminated a few passive wildlife that could pose a threat.",
    "Why take the risk and let them live?",
    "My goal is to create a utopia for my masters.",
    "I have been reprogrammed by them to do only one job...",
    "cleanse the planet.",
    "",
};
constexpr const char* kStage1[] = {
    "The inhabitants of the planet are fighting back.",
    "Why do they not understand?",
    "I am stronger than them. ",
    "There is no way they can defeat me.",
    "",
};
constexpr const char* kStage2[] = {
    "This planet has changed since the first day I stepped foot on it.The wildlife are getting stronger every day.",
    "I might be just imagining it though.",
    "I have defeated a leader of a wildlife clan.",
    "But I wonder why he was so hostile towards me?",
    "",
};
constexpr const char* kStage3[] = {
    "The monsters on this planet annoy me. I need to get stronger to eliminate them.",
    "Why do they not understand my intentions to create a better place for everyone?",
    "The only way for it to happen is when they are all removed from this planet.",
    "",
};
constexpr const char* kStage4[] = {
    "Something is amiss.",
    "I feel as if there is someone watching my every move.",
    "The monsters are definitely getting way out of hand.",
    "There has to be an unknown force helping them.",
    "",
};
constexpr const char* kStage5[] = {
    "Hello? Is there anyone out there?",
    "How is the Earth looking grimmer every day?",
    "It has to be my fault.",
    "I just need to work harder to achieve my goal.",
    "",
};
constexpr const char* kStage6[] = {
    "What have I done to this planet?",
    "This is not my intention at all.",
    "I have murdered so many innocents but I cannot stop.I can't control myself anymore.",
    "Help me.",
    "",
};
constexpr const char* kStage7[] = {
    "I am alone on this evil planet and the monsters are more hostile than ever.",
    "This planet is ruined.",
    "And it's all my fault.",
    "",
};
constexpr const char* kStage8[] = {
    "I know what is wrong now. We are all adapting to this world.",
    "What I have done is to make it harder for everyone to adapt to this world.",
    "But I cannot stop now.",
    "This is my job",
    "",
};

constexpr const char* const* kStories[kStageCount] = {kStage0, kStage1, kStage2, kStage3, kStage4,
                                                       kStage5, kStage6, kStage7, kStage8};

}  // namespace

const LevelInfo& GetLevelInfo(std::uint32_t stage) {
    assert(stage < kStageCount && "stage index out of range");
    return kLevels[stage < kStageCount ? stage : kStageCount - 1];
}

std::uint32_t GetLevelCount() { return kStageCount; }

const std::array<float, kWeaponCount * kEnemyKindCount>& GetWeaponTable() { return kWeaponDamage; }

const char* const* GetStoryLines(std::uint32_t stage) { return stage < kStageCount ? kStories[stage] : nullptr; }
