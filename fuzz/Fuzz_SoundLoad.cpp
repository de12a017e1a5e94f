#include "Fuzz_Harness.h"
#include "Fuzz_NullAudioEngine.h"

#include "sound/Sound_SoundEngine.h"
#include "support/Sound_TestEngine.h"
#include "support/Sound_TestFiles.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

// Sound files through the engine on OpenAL Soft's null backend: a load
// (whole or streamed, as the first byte says), a source that plays it while
// the streaming thread refills and loops it, then StopAll. Input: one byte
// choosing WAV or Ogg and the streaming threshold, then the file.

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const std::uint8_t choice = input.Byte();
    const fuzz::Bytes file = input.Rest();
    const std::string path =
        "/tmp/tundra-fuzz-sound-" + std::to_string(::getpid()) + ((choice & 1) != 0 ? ".ogg" : ".wav");
    if (std::FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(file.data(), 1, file.size(), out);
        std::fclose(out);
    }
    SoundEngine& engine = fuzz::NullAudioEngine();
    const std::uint32_t threshold = (choice & 2) != 0 ? 0u : SoundEngine::kStreamThreshold;
    if (SoundData* sound = engine.LoadSound(Core::String(path.c_str()), threshold)) {
        const SoundSourceHandle source = engine.CreateSource(sound, true, (choice & 4) != 0);
        engine.PlaySource(source);
        engine.SetSourceLooping(source, true);
    }
    engine.StopAll();
    std::remove(path.c_str());
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    using namespace testsupport;
    auto withChoice = [](std::uint8_t choice, const std::string& file) {
        fuzz::Bytes bytes{choice};
        bytes.insert(bytes.end(), file.begin(), file.end());
        return bytes;
    };
    const std::string wav = PcmWav({}, SampleBytes(SineTone(440.0, 0.05, 1, 22050)));
    seeds.Add("static.wav", withChoice(0, wav));
    seeds.Add("streamed.wav", withChoice(6, wav));
    const std::string ogg = OggTone({440.0, 0.2, 2, 22050});
    seeds.Add("static.ogg", withChoice(1, ogg));
    seeds.Add("streamed.ogg", withChoice(7, ogg));
}
