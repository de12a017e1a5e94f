#include "Fuzz_SoundFiles.h"

#include "support/Sound_TestFiles.h"

// Ogg Vorbis files from memory through vorbisfile's open, block decoding
// (holes, the six-channel reorder) and whole reads. Input: the file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::DecodeSoundFile(SoundContainer::Ogg, fuzz::Bytes(data, data + size));
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    using namespace testsupport;
    seeds.Add("mono.ogg", ToBytes(OggTone({440.0, 0.2, 1, 22050})));
    seeds.Add("stereo.ogg", ToBytes(OggTone({660.0, 0.2, 2, 44100})));
    seeds.Add("six.ogg", ToBytes(OggTone({330.0, 0.1, 6, 22050})));
}
