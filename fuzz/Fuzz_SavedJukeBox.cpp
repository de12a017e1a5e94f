#include "Fuzz_Harness.h"
#include "Fuzz_NullAudioEngine.h"

#include "core/Core_MemoryFile.h"
#include "os/OS_Path.h"
#include "pal/PAL_ExecutablePath.h"
#include "sound/Sound_JukeBox.h"
#include "sound/Sound_JukeBoxTestHooks.h"
#include "sound/Sound_SoundEngine.h"
#include "support/Sound_TestFiles.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// A saved jukebox read as a save's reader reads it, on OpenAL Soft's null
// backend: its music loaded again from the game's folder, whose
// "\Resources\Sounds\" and "\Resources\Music\" hold a short track each (a
// third lies beside the folder, where a stored path must not reach), then
// played through a few frame steps, stepped between tracks and stopped.
// Input: the saved bytes.
namespace {

// Made once, removed when the process ends.
struct GameFolder {
    GameFolder() {
        const std::string wav =
            testsupport::PcmWav({}, testsupport::SampleBytes(testsupport::SineTone(440.0, 0.1, 1, 22050)));
        for (const std::string& file : {path + "/Resources/Sounds/a.wav", path + "/Resources/Music/b.wav",
                                        path + "2/Resources/Sounds/a.wav"}) {
            std::filesystem::create_directories(std::filesystem::path(file).parent_path());
            std::ofstream(file, std::ios::binary) << wav;
        }
        os::SetExecutablePathForTesting(path + "/Emberline");
    }
    ~GameFolder() {
        std::filesystem::remove_all(path);
        std::filesystem::remove_all(path + "2");
    }

    const std::string path = "/tmp/tundra-fuzz-jukebox-" + std::to_string(::getpid());
};

const std::string& Folder() {
    static const GameFolder folder;
    return folder.path;
}

// The jukebox plays on the harness's engine.
SoundEngine& Engine() {
    static const bool bound = (Tundra::SetJukeBoxEngineForTesting(&fuzz::NullAudioEngine()), true);
    (void)bound;
    return fuzz::NullAudioEngine();
}

// A track of the game's folder by its path from there.
Core::String Track(const char* path) { return Core::String((Folder() + path).c_str()); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Folder();
    SoundEngine& engine = Engine();
    {
        Core::MemoryFile file(data, static_cast<std::uint32_t>(size));
        if (const Core::RefPtr<Tundra::JukeBox> jukebox =
                file.ReadObjectAs<Tundra::JukeBox>(Core::File::Reference::Owning)) {
            for (int frame = 0; frame < 3; ++frame) {
                jukebox->Update(0.05f);
            }
            jukebox->NextTrack();
            jukebox->PreviousTrack();
            jukebox->StopMusic();
            jukebox->Update(0.05f);
        }
    }
    engine.StopAll();
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    Folder();
    Engine();
    const auto save = [&seeds](const char* name, const Tundra::JukeBox& jukebox) {
        Core::MemoryFile file;
        file << &jukebox;
        seeds.Add(name, fuzz::Bytes(file.GetData(), file.GetData() + file.GetSize()));
    };
    const std::vector<Core::String> tracks = {Track("\\Resources\\Sounds\\a.wav"), Track("\\Resources\\Music\\b.wav")};
    const Core::RefPtr<Tundra::JukeBox> jukebox = TUN_NEW(Tundra::JukeBox, tracks);
    save("stopped", *jukebox);
    jukebox->GetPlaylist(0)->GetTrack(0).repeats = 2;
    jukebox->SetRepeat(true);
    jukebox->SetShuffle(true);
    jukebox->SetFadeTime(0.5f);
    jukebox->PlayMusic(1);
    save("playing", *jukebox);
}
