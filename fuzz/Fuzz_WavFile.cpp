#include "Fuzz_SoundFiles.h"

#include "support/Sound_TestFiles.h"

// WAV files from memory through the chunk walk, the format table and full
// reads. Input: the file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::DecodeSoundFile(SoundContainer::Wav, fuzz::Bytes(data, data + size));
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    using namespace testsupport;
    const std::string samples = SampleBytes(SineTone(440.0, 0.01, 2, 22050));
    WavFormatFields extensible;
    extensible.tag = 0xFFFE;
    extensible.channels = 2;
    extensible.channelMask = 0x3;
    seeds.Add("pcm.wav", ToBytes(PcmWav({}, samples)));
    seeds.Add("extensible.wav", ToBytes(PcmWav(extensible, samples)));
    seeds.Add("list.wav", ToBytes(WavFile(WavChunk("LIST", "odd") + WavChunk("fmt ", WavFormatBody({})) +
                                          WavChunk("data", samples))));
}
