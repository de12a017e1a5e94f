#pragma once

#include "mygame/MyGame_ProfileText.h"
#include "support/MyGame_Journey.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

// The game on its own levels, a new profile, the journey of the plan run
// on the fixture's scripted frames.
namespace mygametest {

template <class Base>
class EndToEndFixture : public Base {
protected:
    void SetUp() override {
        Base::SetUp();
        this->UseGameContent();
    }

    // The journey from a new game's first frame to its end; prints the
    // frames and the seconds it took.
    bool RunPlan(const JourneyPlan& plan, std::int64_t frameLimit, Journey::Observer observer = {}) {
        m_journey = std::make_unique<Journey>(plan, std::move(observer));
        this->StartGame();
        const auto start = std::chrono::steady_clock::now();
        const bool done = RunJourney(*m_journey, [this] { this->Step(); }, frameLimit);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const JourneyRecord& record = m_journey->GetRecord();
        this->RecordProperty("frames", std::to_string(record.frames));
        this->RecordProperty("seconds", std::to_string(seconds));
        std::printf("journey: %lld frames (%.1f s of game) in %.1f s\n", static_cast<long long>(record.frames),
                    static_cast<double>(record.frames) / 60.0, seconds);
        for (const JourneyStageRecord& stage : record.stages) {
            std::printf("  stage %u: frames %lld to %lld (warning %lld, boss %lld, cleared %lld, story %lld)%s%s\n",
                        stage.stage + 1, static_cast<long long>(stage.startFrame),
                        static_cast<long long>(stage.resultsFrame), static_cast<long long>(stage.warningFrame),
                        static_cast<long long>(stage.bossFrame), static_cast<long long>(stage.clearedFrame),
                        static_cast<long long>(stage.storyFrame), stage.healthHeld ? ", health held" : "",
                        stage.weaponsUpgraded ? ", weapons upgraded" : "");
        }
        return done;
    }

    const JourneyRecord& Record() const { return m_journey->GetRecord(); }
    std::string Failure() const { return m_journey->GetFailure(); }

    // "profile.sav" as the game last wrote it.
    ReadProfile SavedProfile() const {
        std::ifstream file(this->DataFolder() + "/profile.sav", std::ios::binary);
        return ParseProfile(std::string(std::istreambuf_iterator<char>(file), {}));
    }

    // A boss stage's moments in their order: warning, boss, defeat, story,
    // results.
    static void ExpectTheBossBeaten(const JourneyStageRecord& stage) {
        EXPECT_TRUE(stage.hasBoss) << "stage " << stage.stage + 1;
        EXPECT_GT(stage.warningFrame, stage.startFrame) << "stage " << stage.stage + 1;
        EXPECT_GT(stage.bossFrame, stage.warningFrame) << "stage " << stage.stage + 1;
        EXPECT_GT(stage.clearedFrame, stage.bossFrame) << "stage " << stage.stage + 1;
        EXPECT_GE(stage.storyFrame, stage.clearedFrame) << "stage " << stage.stage + 1;
        EXPECT_GT(stage.resultsFrame, stage.storyFrame) << "stage " << stage.stage + 1;
    }

    std::unique_ptr<Journey> m_journey;
};

}  // namespace mygametest
