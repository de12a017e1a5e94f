#include "core/Core_MersenneTwister.h"
#include "core/Core_Random.h"
#include "mygame/MyGame_CreateGame.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "os/OS_Path.h"
#include "support/MyGame_StageBot.h"
#include "support/MyGame_StageFixture.h"
#include "support/TempDirectory.h"
#include "tundra/Tundra_GameObject.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

// The game over a Resources tree whose sheets are missing or cut short and
// whose path and static-collision files are missing: each level still
// builds from the game's content and plays.
namespace mygametest {
namespace {

namespace fs = std::filesystem;

enum class SheetDamage { Missing, Truncated };

// The generated tree in a folder of its own, the program made to run beside
// it while it lives: every file as generated but the sheets (missing, or
// cut to half their bytes: the header whole, the pixels cut off) and the
// path and static-collision files (missing).
class DamagedResources {
public:
    // The build's own generated tree; none in builds without the generator.
    static fs::path Generated() { return fs::path(os::ExecutableDirectory()) / "Resources"; }

    explicit DamagedResources(SheetDamage damage) {
        const fs::path generated = Generated();
        const fs::path resources = fs::path(m_folder.Path()) / "Resources";
        fs::create_directories(resources);
        for (const fs::directory_entry& entry : fs::directory_iterator(generated)) {
            const fs::path name = entry.path().filename();
            if (name == "Paths" || name == "Layers Collisions") {
                continue;
            }
            if (name == "Animations") {
                if (damage == SheetDamage::Truncated) {
                    m_truncatedSheets = WriteTruncated(entry.path(), resources / name);
                }
            } else if (entry.is_directory()) {
                fs::create_directory_symlink(entry.path(), resources / name);
            } else {
                fs::create_symlink(entry.path(), resources / name);
            }
        }
        os::SetExecutablePathForTesting(m_folder.Path() + "/game");
    }
    ~DamagedResources() { os::SetExecutablePathForTesting(""); }
    DamagedResources(const DamagedResources&) = delete;
    DamagedResources& operator=(const DamagedResources&) = delete;

    int TruncatedSheets() const { return m_truncatedSheets; }
    const std::string& Root() const { return m_folder.Path(); }

private:
    static int WriteTruncated(const fs::path& from, const fs::path& to) {
        fs::create_directories(to);
        int count = 0;
        for (const fs::directory_entry& sheet : fs::directory_iterator(from)) {
            const fs::path copy = to / sheet.path().filename();
            fs::copy_file(sheet.path(), copy);
            fs::resize_file(copy, fs::file_size(copy) / 2);
            ++count;
        }
        return count;
    }

    testsupport::TempDirectory m_folder;
    int m_truncatedSheets = 0;
};

// A game over the game's own content and the damaged tree, seeded.
template <class Base>
class DamagedGameOf : public Base {
protected:
    void TearDown() override {
        Base::TearDown();
        m_resources.reset();
    }

    // The tree is in place and the game has started its intro.
    void StartOver(SheetDamage damage) {
        this->EndGame();
        // The old tree puts the program's path back as it goes.
        m_resources.reset();
        m_resources = std::make_unique<DamagedResources>(damage);
        Tundra::GameObject::SetIdCounter(0);
        this->m_game = MakeGame(MakeGameContent());
        Core::GameRandomGenerator().Seed(this->kSeed);
        SeedRandom(this->kSeed);
        this->Step();
    }
    // The running game's level is the one asked for and stays.
    void ExpectRunning(std::uint32_t level) {
        ASSERT_TRUE(this->m_game);
        EXPECT_EQ(this->m_game->GetCurrentLevelIndex(), level);
        EXPECT_FALSE(this->m_game->IsLevelChangePending());
    }

    std::unique_ptr<DamagedResources> m_resources;
};

struct DamageCase {
    const char* name;
    std::uint32_t level;
    SheetDamage damage;
};

constexpr int kScriptedFrames = 300;

// What the scripted player does in a frame of the title level: walks right
// (as the title asks), then back and forth, jumping now and then, firing
// every other frame with the cursor sweeping the screen.
StageInput TitleInput(int frame) {
    StageInput input;
    input.right = frame < 120 || frame % 80 < 40;
    input.left = !input.right;
    input.jump = frame % 50 == 25;
    input.click = frame % 2 == 0;
    input.cursor = {static_cast<float>(frame * 37 % 1024), static_cast<float>(100 + frame * 13 % 600)};
    return input;
}

// Headless: sprites take the sizes the files' headers give, a missing
// sheet the placeholder's.
class DamagedLevelTest : public DamagedGameOf<StageFixture>, public testing::WithParamInterface<DamageCase> {
protected:
    // The case's frames with its script: the intro untouched (any input
    // ends it), the title level walked and fired in, a stage played by the
    // bot.
    void RunScript() {
        const std::uint32_t level = GetParam().level;
        for (int frame = 0; frame < kScriptedFrames && m_game; ++frame) {
            if (level == MyLevelFactory::kMenuLevel) {
                ApplyStageInput(TitleInput(frame));
            } else if (level == MyLevelFactory::kGameLevel) {
                const GameLevel* stage = Stage();
                ASSERT_NE(stage, nullptr);
                ApplyStageInput(DecideStageInput(LookAtStage(*stage, frame)));
            }
            Step();
        }
    }
};

TEST_P(DamagedLevelTest, TheLevelBuildsAndRunsItsScriptedFrames) {
    if (!fs::exists(DamagedResources::Generated())) {
        GTEST_SKIP() << "no generated Resources tree";
    }
    StartOver(GetParam().damage);
    const std::uint32_t level = GetParam().level;
    ASSERT_TRUE(level == MyLevelFactory::kIntroLevel || GoToLevel(level));
    RunScript();
    ExpectRunning(level);
    // Every sheet was asked for from the damaged tree.
    ASSERT_FALSE(m_textures->Requests().empty());
    for (const testsupport::FakeTextureCache::Request& request : m_textures->Requests()) {
        EXPECT_EQ(request.fileName.rfind(m_resources->Root(), 0), 0u) << request.fileName;
    }
}

const DamageCase kCases[] = {
    {"IntroSheetsMissing", MyLevelFactory::kIntroLevel, SheetDamage::Missing},
    {"TitleSheetsMissing", MyLevelFactory::kMenuLevel, SheetDamage::Missing},
    {"StageSheetsMissing", MyLevelFactory::kGameLevel, SheetDamage::Missing},
    {"IntroSheetsTruncated", MyLevelFactory::kIntroLevel, SheetDamage::Truncated},
    {"TitleSheetsTruncated", MyLevelFactory::kMenuLevel, SheetDamage::Truncated},
    {"StageSheetsTruncated", MyLevelFactory::kGameLevel, SheetDamage::Truncated},
};

std::string CaseName(const testing::TestParamInfo<DamageCase>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(MissingAssets, DamagedLevelTest, testing::ValuesIn(kCases), CaseName);

// On SDL's offscreen driver the renderer decodes the cut files itself. A
// few drawn frames a level: the software rasteriser is slow.
using MissingAssetsOffscreenTest = DamagedGameOf<OffscreenStageFixture>;

TEST_F(MissingAssetsOffscreenTest, EveryLevelBuildsAndDrawsOverTruncatedSheets) {
    constexpr int kDrawnFrames = 3;
    if (!fs::exists(DamagedResources::Generated())) {
        GTEST_SKIP() << "no generated Resources tree";
    }
    StartOver(SheetDamage::Truncated);
    EXPECT_EQ(m_resources->TruncatedSheets(), 115);
    Step(kDrawnFrames);
    ExpectRunning(MyLevelFactory::kIntroLevel);
    for (const std::uint32_t level : {MyLevelFactory::kMenuLevel, MyLevelFactory::kGameLevel}) {
        SCOPED_TRACE(level);
        ASSERT_TRUE(GoToLevel(level));
        Step(kDrawnFrames);
        ExpectRunning(level);
    }
}

}  // namespace
}  // namespace mygametest
