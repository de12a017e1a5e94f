#include "Tundra_HostileRead.h"
#include "Tundra_SaveLoadTest.h"

#include "core/Core_ErrorLogTestHooks.h"
#include "core/Core_MemoryFile.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// A script's managed objects go into a save only where the reader takes them
// back: a scripted object, level and particle emitter, each keeping one from
// its "Constructor", beside a plain witness, in a saved game loaded straight
// back and in a running game a refused load restores.
using namespace tundratest;

namespace {

// Keeps a clone of its owner, which runs another script, under "twin".
constexpr const char* kKeeperScript = R"(
function Constructor()
  local twin = self:Clone()
  twin:SetScript("glow.lua")
  self:AddManagedObject(twin, "twin")
end
)";

// The level keeps a clone of the label, found again when it is read back.
constexpr const char* kLevelScript = R"(
function Constructor()
  local found = self:GetGameObjectsByName("label")
  if found[1] ~= nil then self:AddManagedObject(found[1]:Clone(), "copy") end
end
)";

// Its own hooks: a twin keeps the globals of the script it was cloned with.
constexpr const char* kGlowScript = "function Constructor() end\nfunction Update(dt) end\n";

// Beside the witness and a plain label, the scripted parts of the scene
// (null where there is none) and what each script name becomes after it ran.
struct ManagedScene {
    const char* objectName = nullptr;
    const char* levelName = nullptr;
    const char* emitterName = nullptr;
    bool restoreEmitter = false;
};

class SaveManagedObjectsTest : public SaveLoadTest {
protected:
    void SetUp() override {
        SaveLoadTest::SetUp();
        WriteScript("keeper.lua", kKeeperScript);
        WriteScript("level.lua", kLevelScript);
        WriteScript("glow.lua", kGlowScript);
    }

    void WriteScript(const std::string& name, const std::string& text) const {
        const std::filesystem::path folder = std::filesystem::path(m_folder.Path()) / "Resources" / "Scripts";
        std::filesystem::create_directories(folder);
        std::ofstream(folder / name, std::ios::binary) << text;
    }

    // The running game with the witness, the label and the parts the scene asks for,
    // each running its script (then renamed as the scene says).
    SavingGame& StartManaged(const ManagedScene& scene) {
        SavingGame& game = StartGame();
        Tundra::Level& level = *game.GetCurrentLevel();
        auto* witness = TUN_NEW(Tundra::GameObject);
        witness->SetName("witness");
        LayerAt(0).AddGameObject(witness);
        auto* label = TUN_NEW(Tundra::Text, "label", "");
        label->SetName("label");
        LayerAt(0).AddGameObject(label);
        Step(1);
        if (scene.objectName != nullptr) {
            auto* hero = TUN_NEW(Tundra::Text, "hero", "");
            hero->SetName("hero");
            LayerAt(0).AddGameObject(hero);
            hero->SetScript("keeper.lua");
            hero->RunScript(false);
            hero->SetScript(scene.objectName);
        }
        if (scene.levelName != nullptr) {
            level.SetScriptName("level.lua");
            level.RunScript();
            level.SetScriptName(scene.levelName);
        }
        if (scene.emitterName != nullptr) {
            auto* emitter = TUN_NEW(Tundra::PointEmitter, 0.0f, 90.0f, Vector2D(1.0f, 1.0f));
            emitter->SetRestoreOnLoad(scene.restoreEmitter);
            emitter->SetScript("keeper.lua");
            emitter->RunScript();
            emitter->SetScript(scene.emitterName);
            auto* system = TUN_NEW(Tundra::ParticleSystem, Tundra::Game::GetDirectory() + "\\Resources\\spark.png", 8,
                                   32.0f, Vector2D(0.0f, -1.0f));
            system->SetName("sparks");
            system->SetEmitter(emitter);
            system->SetEmissionRate(40.0f, 60.0f);
            system->SetParticleLifeTime(0.2f, 0.5f);
            LayerAt(1).AddGameObject(system);
        }
        Step(3);
        return game;
    }

    std::size_t Named(const char* name) const {
        if (m_game->GetCurrentLevel() == nullptr) {
            return 0;
        }
        std::vector<Tundra::GameObject*> found;
        const Core::String wanted(name);
        m_game->GetCurrentLevel()->GetGameObjects(&wanted, found);
        return found.size();
    }

    // The script name of the emitter of the "sparks" system; "(none)" without one.
    std::string EmitterScript() const {
        if (m_game->GetCurrentLevel() == nullptr) {
            return "(no level)";
        }
        std::vector<Tundra::GameObject*> found;
        const Core::String wanted("sparks");
        m_game->GetCurrentLevel()->GetGameObjects(&wanted, found);
        const auto* system = found.size() == 1 ? dynamic_cast<Tundra::ParticleSystem*>(found[0]) : nullptr;
        if (system == nullptr || system->GetEmitter() == nullptr) {
            return "(none)";
        }
        return std::string(system->GetEmitter()->GetScriptName());
    }
};

struct LoadCase {
    const char* what;
    ManagedScene scene;
    // Whether the state read back is the one saved: a level whose script
    // name its reader refuses comes back without script and name.
    bool sameState = true;
};

// Every way a managed object is kept and the reader may not run its owner's
// script: the save loads straight back, whole, and saves the same again.
const LoadCase kLoadCases[] = {
    {"object, level and emitter each keep one", {"keeper.lua", "level.lua", "keeper.lua", false}},
    {"an emitter without the restore flag", {nullptr, nullptr, "keeper.lua", false}},
    {"an emitter with the restore flag", {nullptr, nullptr, "keeper.lua", true}},
    {"an emitter whose script name was emptied", {nullptr, nullptr, "", true}},
    {"an emitter whose script name is not a file name", {nullptr, nullptr, "sub/fx.lua", true}},
    {"an object whose script name was emptied", {"", nullptr, nullptr, false}},
    {"an object whose script name is not a file name", {"sub/fx.lua", nullptr, nullptr, false}},
    {"a level whose script name was emptied", {nullptr, "", nullptr, false}},
    {"a level whose script name is not a file name", {nullptr, "sub/fx.lua", nullptr, false}, false},
    {"all of them emptied", {"", "", "", true}},
};

}  // namespace

TEST_F(SaveManagedObjectsTest, ASaveOfScriptsKeepingManagedObjectsLoadsStraightBackWhole) {
    for (const LoadCase& c : kLoadCases) {
        SCOPED_TRACE(c.what);
        SavingGame& game = StartManaged(c.scene);
        const std::uint32_t levelIndex = game.GetCurrentLevelIndex();
        const std::string emitter = EmitterScript();
        const std::uint64_t hash = game.GetStateHash();
        ASSERT_TRUE(game.SaveStateTo(EnginePath("managed")));
        const FileBytes saved = ReadBytes("managed");

        Core::testhooks::StartCapturingErrors();
        const bool loaded = game.LoadStateFrom(EnginePath("managed"));
        const std::vector<std::string> errors = Core::testhooks::StopCapturingErrors();
        EXPECT_TRUE(loaded) << (errors.empty() ? "" : errors.front());
        EXPECT_FALSE(Reported(errors, std::string(EnginePath("managed")), "could not be restored"));
        EXPECT_EQ(game.GetCurrentLevelIndex(), levelIndex);
        EXPECT_EQ(Named("witness"), 1u);
        EXPECT_EQ(EmitterScript(), emitter);
        EXPECT_EQ(Named("hero"), c.scene.objectName != nullptr ? 1u : 0u);
        // Read back as it was, it writes the same file again.
        ASSERT_TRUE(game.SaveStateTo(EnginePath("again")));
        if (c.sameState) {
            EXPECT_EQ(game.GetStateHash(), hash);
            EXPECT_EQ(ReadBytes("again"), saved);
        } else {
            // Once more, it loads whole again.
            EXPECT_TRUE(game.LoadStateFrom(EnginePath("again")));
        }
        Step(2);
        EXPECT_EQ(Named("witness"), 1u);
        EXPECT_EQ(game.GetCurrentLevelIndex(), levelIndex);
        // A game just started takes the save too.
        SavingGame& fresh = StartGame();
        EXPECT_TRUE(fresh.LoadStateFrom(EnginePath("managed")));
        EXPECT_EQ(Named("witness"), 1u);
        EXPECT_EQ(EmitterScript(), emitter);
    }
}

// A load the file's state fails after the running game was cleared: the
// running game, emitter and all, comes back as it was.
TEST_F(SaveManagedObjectsTest, ALoadRefusedWhileScriptsKeepManagedObjectsLeavesTheRunningGame) {
    for (const LoadCase& c : kLoadCases) {
        SCOPED_TRACE(c.what);
        SavingGame& game = StartManaged(c.scene);
        ASSERT_TRUE(game.SaveStateTo(EnginePath("good")));
        FileBytes trailing = ReadBytes("good");
        trailing.push_back(0);
        WriteBytes("bad", Reseal(trailing));
        const std::uint32_t levelIndex = game.GetCurrentLevelIndex();
        const std::string emitter = EmitterScript();
        const std::uint64_t hash = game.GetStateHash();

        Core::testhooks::StartCapturingErrors();
        EXPECT_FALSE(game.LoadStateFrom(EnginePath("bad")));
        const std::vector<std::string> errors = Core::testhooks::StopCapturingErrors();
        EXPECT_TRUE(Reported(errors, std::string(EnginePath("bad")), "trailing bytes"))
            << (errors.empty() ? "" : errors.front());
        EXPECT_FALSE(Reported(errors, std::string(EnginePath("bad")), "could not be restored"));
        ASSERT_NE(game.GetCurrentLevel(), nullptr);
        EXPECT_EQ(game.GetCurrentLevelIndex(), levelIndex);
        if (c.sameState) {
            EXPECT_EQ(game.GetStateHash(), hash);
        }
        EXPECT_EQ(Named("witness"), 1u);
        EXPECT_EQ(EmitterScript(), emitter);
        // The next frames go on in that level, not in one built anew.
        Step(2);
        ASSERT_NE(game.GetCurrentLevel(), nullptr);
        EXPECT_EQ(Named("witness"), 1u);
        EXPECT_EQ(EmitterScript(), emitter);
    }
}

namespace {

Bytes BodyOf(const Core::Object& object) {
    Core::MemoryFile file;
    object.Save(file);
    return Bytes(file.GetData(), file.GetData() + file.GetSize());
}

// The emitters' script part as the format lays it out: active, name, owned,
// restore flag.
Bytes ScriptPart(const char* name, bool restore) {
    Core::MemoryFile file;
    file.WriteU8(1);
    file << Core::String(name);
    file.WriteU8(1);
    file.WriteU8(restore ? 1 : 0);
    return Bytes(file.GetData(), file.GetData() + file.GetSize());
}

Bytes Joined(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// A point emitter's shape part: position (3, 4), angles 10 and 20.
const Bytes kPointShape = {0x00, 0x00, 0x40, 0x40, 0x00, 0x00, 0x80, 0x40,
                           0x00, 0x00, 0x20, 0x41, 0x00, 0x00, 0xA0, 0x41};

// Saved games hold these, and read them so: a "keeper.lua" emitter with the
// restore flag, keeping its "glow.lua" twin, and a "glow.lua" one, keeping
// nothing, without the flag.
const Bytes kKeeperRestoring = {
    0x01, 0x0A, 0x00, 0x00, 0x00, 'k',  'e',  'e',  'p',  'e',  'r',  '.',  'l',  'u',  'a',  0x01, 0x01,
    0x01, 0x08, 0x00, 0x00, 0x00, 'g',  'l',  'o',  'w',  '.',  'l',  'u',  'a',  0x01, 0x01,  // the twin
    0x00, 0x00, 0x40, 0x40, 0x00, 0x00, 0x80, 0x40, 0x00, 0x00, 0x20, 0x41, 0x00, 0x00, 0xA0, 0x41,
    0x00, 0x00, 0x40, 0x40, 0x00, 0x00, 0x80, 0x40, 0x00, 0x00, 0x20, 0x41, 0x00, 0x00, 0xA0, 0x41};
const Bytes kGlowPlain = {0x01, 0x08, 0x00, 0x00, 0x00, 'g',  'l',  'o',  'w',  '.',  'l',  'u',
                          'a',  0x01, 0x00, 0x00, 0x00, 0x40, 0x40, 0x00, 0x00, 0x80, 0x40, 0x00,
                          0x00, 0x20, 0x41, 0x00, 0x00, 0xA0, 0x41};

constexpr std::uint32_t kSentinel = 0xC0FFEE11u;

}  // namespace

// An emitter writes its managed objects exactly when its reader takes them
// (restore flag, script running, a name its reader starts): the bytes of
// flagged emitters and of emitters keeping nothing stay, and what is written
// reads back to the last byte.
TEST_F(SaveManagedObjectsTest, AnEmitterWritesItsManagedObjectsExactlyWhenItsReaderReadsThem) {
    StartGame();
    struct Case {
        const char* what;
        bool restore;
        const char* script;   // "keeper.lua" keeps a twin from its "Constructor"
        const char* renamed;  // the script name after it ran, or null
        bool twinWritten;
        const Bytes* golden;  // the bytes the engine wrote before, where they stay
    };
    const Case cases[] = {
        {"restore flag, keeping a twin", true, "keeper.lua", nullptr, true, &kKeeperRestoring},
        {"restore flag, keeping none", true, "glow.lua", nullptr, false, nullptr},
        {"no restore flag, keeping none", false, "glow.lua", nullptr, false, &kGlowPlain},
        {"no restore flag, keeping a twin", false, "keeper.lua", nullptr, false, nullptr},
        {"restore flag, keeping a twin, name emptied", true, "keeper.lua", "", false, nullptr},
        {"restore flag, keeping a twin, name not a file name", true, "keeper.lua", "a/b.lua", false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Core::RefPtr<Tundra::PointEmitter> emitter =
            TUN_NEW(Tundra::PointEmitter, 10.0f, 20.0f, Vector2D(3.0f, 4.0f));
        emitter->SetScript(c.script);
        emitter->SetRestoreOnLoad(c.restore);
        emitter->RunScript();
        if (c.renamed != nullptr) {
            emitter->SetScript(c.renamed);
        }
        const Bytes body = BodyOf(*emitter);
        const Bytes twin = c.twinWritten ? Joined({ScriptPart("glow.lua", c.restore), kPointShape}) : Bytes();
        const char* name = c.renamed != nullptr ? c.renamed : c.script;
        EXPECT_EQ(body, Joined({ScriptPart(name, c.restore), twin, kPointShape}));
        if (c.golden != nullptr) {
            EXPECT_EQ(body, *c.golden);
        }

        // Read back, the emitter takes every byte and writes them again.
        Core::MemoryFile file;
        file << emitter.Get();
        file.WriteU32(kSentinel);
        Core::MemoryFile reading(file.GetData(), file.GetSize());
        Core::testhooks::StartCapturingErrors();
        const Core::RefPtr<Tundra::ParticleEmitter> read =
            reading.ReadObjectAs<Tundra::ParticleEmitter>(Core::File::Reference::Owning);
        Core::testhooks::StopCapturingErrors();
        std::uint32_t sentinel = 0;
        reading.ReadU32(sentinel);
        ASSERT_TRUE(read);
        EXPECT_FALSE(reading.HasFailed());
        EXPECT_EQ(sentinel, kSentinel);
        EXPECT_EQ(BodyOf(*read), body);
    }
}
