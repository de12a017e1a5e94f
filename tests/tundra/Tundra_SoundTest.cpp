#include "Tundra_SaveLoadTest.h"
#include "Tundra_ScriptChunk.h"

#include "core/Core_ErrorLogTestHooks.h"
#include "core/Core_MemoryFile.h"
#include "sound/Sound_SoundEngine.h"
#include "sound/Sound_SoundEngineTestHooks.h"
#include "support/Sound_TestFiles.h"
#include "tundra/Lua_Host.h"
#include "tundra/Lua_Values.h"
#include "tundra/Tundra_Sound.h"
#include "tundra/Tundra_SoundTestHooks.h"

#include <AL/al.h>
#include <lua.hpp>

#include <chrono>
#include <functional>
#include <thread>

// Sound objects in a running game on OpenAL Soft's null device.
namespace {

using Tundra::Sound;
using Tundra::SoundTestAccess;
using tundratest::SaveLoadTest;

constexpr int kRate = 22050;

class NullAudioSoundTest : public SaveLoadTest {
protected:
    void SetUp() override {
        SaveLoadTest::SetUp();
        StartGame();
        ASSERT_TRUE(Engine().IsInitialized());
    }

    // A mono tone under "\Resources\Sounds\", by its engine path.
    Core::String Tone(const std::string& name, double seconds) const {
        const std::string samples = testsupport::SampleBytes(testsupport::SineTone(440.0, seconds, 1, kRate));
        m_folder.WriteFile("Resources/Sounds/" + name, testsupport::PcmWav({.sampleRate = kRate}, samples));
        return Tundra::Game::GetDirectory() + Core::String("\\Resources\\Sounds\\" + name);
    }

    // An effect as the game makes them, in the layer, updated from the next frame.
    Sound& Add(const Core::String& path, std::uint32_t positioning = Sound::kRelative, bool looping = false,
               std::uint32_t layer = 0) {
        auto* sound = TUN_NEW(Sound, path, positioning, 10.0f, looping, 0.0f, false);
        LayerAt(layer).AddGameObject(sound);
        return *sound;
    }

    SoundEngine& Engine() { return *m_game->GetSoundEngine(); }
    std::size_t Sources() { return SoundEngineTestAccess::SourceCount(Engine()); }

    ALint SourceInt(const Sound& sound, ALenum what) {
        ALint value = -1;
        alGetSourcei(SoundEngineTestAccess::SourceName(Engine(), SoundTestAccess::GetSource(sound)), what, &value);
        return value;
    }

    // Frames with the real time passing until done() holds; whether it did.
    bool StepUntil(const std::function<bool()>& done, double seconds = 3.0) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            Step(1);
        }
        return true;
    }
};

TEST_F(NullAudioSoundTest, PlayStartsOnceRestartsOnRequestAndIgnoresBadVolumeAndPitch) {
    Sound& sound = Add(Tone("beep.wav", 2.0));
    EXPECT_TRUE(sound.Play(false));
    ASSERT_TRUE(StepUntil([&] { return SourceInt(sound, AL_SAMPLE_OFFSET) > kRate / 10; }));
    const ALint before = SourceInt(sound, AL_SAMPLE_OFFSET);
    EXPECT_FALSE(sound.Play(false));
    EXPECT_GE(SourceInt(sound, AL_SAMPLE_OFFSET), before);
    EXPECT_TRUE(sound.Play(true));
    EXPECT_LT(SourceInt(sound, AL_SAMPLE_OFFSET), before);
    EXPECT_TRUE(sound.IsPlaying());

    sound.SetVolume(0.5f);
    sound.SetPitch(1.5f);
    sound.SetVolume(-1.0f);
    sound.SetPitch(0.0f);
    EXPECT_TRUE(sound.GetVolume() == 0.5f && sound.GetPitch() == 1.5f);
    EXPECT_EQ(Engine().GetSourcePitch(SoundTestAccess::GetSource(sound)), 1.5f);
}

TEST_F(NullAudioSoundTest, AnEffectThatEndedGivesItsSourceBackAndTheNextPlayTakesAnother) {
    const std::size_t idle = Sources();
    Sound& sound = Add(Tone("short.wav", 0.1));
    ASSERT_TRUE(sound.Play(false));
    EXPECT_EQ(Sources(), idle + 1);
    EXPECT_TRUE(StepUntil([&] { return !SoundTestAccess::GetSource(sound); }));
    EXPECT_FALSE(sound.IsPlaying());
    EXPECT_EQ(Sources(), idle);
    EXPECT_TRUE(sound.Play(false));
}

TEST_F(NullAudioSoundTest, ShortSoundsAreSharedAndLongOnesStreamOnePerObject) {
    const Core::String shortPath = Tone("short.wav", 0.2);
    // 6 s of 16-bit mono at 22050 Hz is past 262144 PCM bytes.
    const Core::String longPath = Tone("long.wav", 6.0);
    const SoundData* a = SoundTestAccess::GetSound(Add(shortPath));
    const SoundData* b = SoundTestAccess::GetSound(Add(shortPath));
    const SoundData* c = SoundTestAccess::GetSound(Add(longPath));
    const SoundData* d = SoundTestAccess::GetSound(Add(longPath));
    EXPECT_TRUE(a != nullptr && a == b);
    EXPECT_TRUE(c != nullptr && d != nullptr && c != d);
    EXPECT_EQ(SoundEngineTestAccess::LoadedSoundCount(Engine()), 3u);
}

TEST_F(NullAudioSoundTest, PositioningDecidesWhetherAndWhereTheSourceIsPlaced) {
    const Core::String path = Tone("hum.wav", 1.0);
    LayerAt(0).SetZOrder(2.0f);
    LayerAt(1).SetZOrder(7.0f);
    auto* listener = TUN_NEW(Tundra::Camera);
    listener->MakeActiveListener();
    LayerAt(0).AddGameObject(listener);
    const struct {
        std::uint32_t positioning;
        ALint relative;
        Vector3D position;
    } cases[] = {{Sound::kRelative, AL_TRUE, {0.0f, 0.0f, 0.0f}},
                 {Sound::kAtListenerDepth, AL_FALSE, {5.0f, 6.0f, 2.0f}},
                 {Sound::kAtOwnDepth, AL_FALSE, {5.0f, 6.0f, 7.0f}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.positioning);
        Sound& sound = Add(path, c.positioning, true, 1);
        sound.SetPosition({5.0f, 6.0f});
        ASSERT_TRUE(sound.Play(false));
        Step(2);
        const SoundSourceHandle source = SoundTestAccess::GetSource(sound);
        EXPECT_EQ(SourceInt(sound, AL_SOURCE_RELATIVE), c.relative);
        const Vector3D at = Engine().GetSourcePosition(source);
        EXPECT_TRUE(at.x == c.position.x && at.y == c.position.y && at.z == c.position.z);
        EXPECT_EQ(Engine().GetSourceReferenceDistance(source), 10.0f);
    }
}

TEST_F(NullAudioSoundTest, DestroyStopsTheSoundAndCleanUpOrTheLastReferenceGivesTheSourceBack) {
    const Core::String path = Tone("hum.wav", 1.0);
    const std::size_t idle = Sources();
    Sound& destroyed = Add(path, Sound::kRelative, true);
    Step(1);
    ASSERT_TRUE(destroyed.Play(false));
    destroyed.Destroy();
    EXPECT_FALSE(destroyed.IsPlaying());
    Step(1);
    EXPECT_EQ(Sources(), idle);

    const auto playing = [&path] {
        Core::RefPtr<Sound> sound = TUN_NEW(Sound, path, Sound::kRelative, 10.0f, true, 0.0f, false);
        EXPECT_TRUE(sound->Play(false));
        return sound;
    };
    const std::function<void(Core::RefPtr<Sound>&)> ends[] = {
        [](Core::RefPtr<Sound>& sound) { sound->Cleanup(); },
        [](Core::RefPtr<Sound>& sound) { sound = nullptr; },
    };
    for (const auto& end : ends) {
        Core::RefPtr<Sound> sound = playing();
        end(sound);
        EXPECT_EQ(Sources(), idle);
    }

    // A source the engine let go of is no longer the object's to free, even
    // when a new source took its place.
    Core::RefPtr<Sound> stale = playing();
    Engine().StopAll();
    const Core::RefPtr<Sound> fresh = playing();
    stale = nullptr;
    EXPECT_TRUE(fresh->IsPlaying());
}

std::vector<std::uint8_t> FileBytes(const Core::MemoryFile& file) {
    return {file.GetData(), file.GetData() + file.GetSize()};
}

// The stream of a sound after its object part.
std::vector<std::uint8_t> SoundPart(std::string_view name, std::uint32_t positioning, std::uint8_t playing) {
    Core::MemoryFile file;
    file << Core::String(name);
    file.WriteU32(positioning);
    file.WriteF32(0.0f);
    file.WriteU8(0);
    for (const float value : {0.25f, 2.0f, 10.0f}) {
        file.WriteF32(value);
    }
    file.WriteU8(1);
    file.WriteU8(playing);
    return FileBytes(file);
}

TEST_F(NullAudioSoundTest, ClonesAndLoadedCopiesShareTheStaticSoundAndTakeTheSettingsAndAPlayingSoundPlaysOn) {
    Sound& sound = Add(Tone("hum.wav", 1.0), Sound::kAtOwnDepth, true);
    sound.SetVolume(0.25f);
    sound.SetPitch(2.0f);
    sound.SetName("hum");
    sound.SetPosition({3.0f, 4.0f});
    ASSERT_TRUE(sound.Play(false));
    Core::MemoryFile saved, objectPart;
    sound.Save(saved);
    sound.GameObject::Save(objectPart);
    std::vector<std::uint8_t> expected = FileBytes(objectPart);
    const std::vector<std::uint8_t> part = SoundPart("hum.wav", Sound::kAtOwnDepth, 1);
    expected.insert(expected.end(), part.begin(), part.end());
    EXPECT_EQ(FileBytes(saved), expected);

    const Core::RefPtr<Sound> clone = static_cast<Sound*>(sound.Clone());
    const Core::RefPtr<Sound> loaded = TUN_NEW(Sound);
    Core::MemoryFile in(saved.GetData(), saved.GetSize());
    loaded->Load(in);
    EXPECT_FALSE(in.HasFailed());
    EXPECT_TRUE(loaded->IsPlaying());
    EXPECT_FALSE(SoundTestAccess::GetSource(*clone));
    for (const Sound* copy : {clone.Get(), loaded.Get()}) {
        EXPECT_EQ(SoundTestAccess::GetSound(*copy), SoundTestAccess::GetSound(sound));
        EXPECT_TRUE(copy->GetFileName() == sound.GetFileName() && copy->GetName() == "hum");
        EXPECT_TRUE(copy->GetPosition().x == 3.0f && copy->GetPosition().y == 4.0f);
        EXPECT_TRUE(copy->GetVolume() == 0.25f && copy->GetPitch() == 2.0f && copy->GetIntensity() == 10.0f);
        EXPECT_TRUE(copy->GetPositioning() == Sound::kAtOwnDepth && copy->GetLooping());
    }
}

TEST_F(NullAudioSoundTest, ALoadedNameOutsideTheSoundsFolderLoadsNothingAndIsReported) {
    Tone("hum.wav", 0.2);
    Tone("sub/hum.wav", 0.2);
    Core::MemoryFile objectPart;
    const Core::RefPtr<Sound> blank = TUN_NEW(Sound);
    blank->GameObject::Save(objectPart);
    // (A stored text ends at its first NUL as the stream reads it.) An
    // unknown positioning fails the stream instead.
    const struct {
        const char* name;
        std::uint32_t positioning;
        bool reported;
    } cases[] = {{"..\\hum.wav", Sound::kRelative, true},
                 {"sub/hum.wav", Sound::kRelative, true},
                 {"sub\\hum.wav", Sound::kRelative, true},
                 {"..", Sound::kRelative, true},
                 {"hum.wav", Sound::kAtOwnDepth + 1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> bytes = FileBytes(objectPart);
        const std::vector<std::uint8_t> part = SoundPart(c.name, c.positioning, 1);
        bytes.insert(bytes.end(), part.begin(), part.end());
        Core::MemoryFile in(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        const Core::RefPtr<Sound> loaded = TUN_NEW(Sound);
        Core::testhooks::StartCapturingErrors();
        loaded->Load(in);
        const std::vector<std::string> errors = Core::testhooks::StopCapturingErrors();
        EXPECT_TRUE(SoundTestAccess::GetSound(*loaded) == nullptr && !loaded->IsPlaying());
        EXPECT_EQ(in.HasFailed(), !c.reported);
        ASSERT_EQ(errors.size(), c.reported ? 1u : 0u);
        EXPECT_TRUE(!c.reported || errors[0].find("sound file name refused") != std::string::npos);
    }
}

TEST_F(NullAudioSoundTest, TheNetworkStateCarriesVolumePitchIntensityLoopingAndPlaying) {
    const Core::String path = Tone("hum.wav", 1.0);
    Sound& sender = Add(path);
    Sound& receiver = Add(path);
    sender.SetVolume(0.5f);
    sender.SetPitch(1.5f);
    sender.SetIntensity(4.0f);
    sender.SetLooping(true);
    ASSERT_TRUE(sender.Play(false));
    for (const bool playing : {true, false}) {
        Core::MemoryFile message;
        sender.NetworkSyncSend(message);
        Core::MemoryFile in(message.GetData(), message.GetSize());
        receiver.NetworkSyncReceive(in);
        EXPECT_FALSE(in.HasFailed());
        EXPECT_EQ(receiver.IsPlaying(), playing);
        EXPECT_TRUE(receiver.GetVolume() == 0.5f && receiver.GetPitch() == 1.5f && receiver.GetIntensity() == 4.0f &&
                    receiver.GetLooping());
        sender.Stop();
    }
}

TEST_F(NullAudioSoundTest, TheStateHashLeavesOutWhetherASoundStillPlays) {
    Sound& sound = Add(Tone("hum.wav", 1.0), Sound::kRelative, true);
    Step(1);
    ASSERT_TRUE(sound.Play(false));
    Core::MemoryFile playing, stopped;
    sound.Save(playing);
    const std::uint64_t hash = m_game->GetStateHash();
    sound.Stop();
    sound.Save(stopped);
    EXPECT_NE(FileBytes(playing), FileBytes(stopped));
    EXPECT_EQ(m_game->GetStateHash(), hash);
}

// Two saves of the same game state are the same bytes, however far the
// device got in between: a one-shot is stored as not playing, a looping
// sound by the game's own account, even once the device dropped it.
TEST_F(NullAudioSoundTest, ASaveDoesNotDependOnWhenTheDeviceEndsASound) {
    for (const bool looping : {false, true}) {
        SCOPED_TRACE(looping);
        Sound& sound = Add(Tone("hum.wav", 1.0), Sound::kRelative, looping);
        ASSERT_TRUE(sound.Play(false));
        Core::MemoryFile playing, ended;
        sound.Save(playing);
        ASSERT_TRUE(Engine().StopSource(SoundTestAccess::GetSource(sound)));
        sound.Save(ended);
        EXPECT_EQ(FileBytes(playing), FileBytes(ended));
        EXPECT_EQ(FileBytes(ended).back(), looping ? 1 : 0);
        sound.Stop();
        Core::MemoryFile stopped;
        sound.Save(stopped);
        EXPECT_EQ(FileBytes(stopped).back(), 0);
    }
}

TEST_F(NullAudioSoundTest, AScriptPlaysASoundAndChangesItsVolume) {
    Sound& sound = Add(Tone("hum.wav", 1.0), Sound::kRelative, true);
    Step(1);
    lua_State* state = Lua::Host::GetMainState();
    Lua::PushObject(state, &sound);
    lua_setglobal(state, "sound");
    ASSERT_TRUE(tundratest::RunChunk("local started = sound:Play() sound:SetVolume(0.5) "
                                     "return started, sound:IsPlaying(), sound:GetVolume(), sound:Play()",
                                     4, [](lua_State* s, int first) {
                                         EXPECT_EQ(tundratest::NumberAt(s, first), 1.0);
                                         EXPECT_EQ(tundratest::NumberAt(s, first + 1), 1.0);
                                         EXPECT_EQ(tundratest::NumberAt(s, first + 2), 0.5);
                                         EXPECT_EQ(tundratest::NumberAt(s, first + 3), 0.0);
                                     }));
    EXPECT_TRUE(sound.IsPlaying());
    EXPECT_EQ(Engine().GetSourceGain(SoundTestAccess::GetSource(sound)), 0.5f);
}

}  // namespace
