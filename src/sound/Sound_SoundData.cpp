#include "sound/Sound_SoundData.h"

#include "sound/Sound_Decoder.h"

SoundData::~SoundData() { CloseDecoder(*this); }

void ResetFormatBlock(SoundData& data) {
    data.format = SoundFormat{};
    data.pcm = {};
    data.dataSize = 0;
    data.duration = 0.0;
    data.file.reset();
    data.dataOffset = 0;
}

void ReleaseSoundData(SoundData& data) {
    DeleteSoundBuffers(data);
    data.path.clear();
    CloseDecoder(data);
    ResetFormatBlock(data);
}

void DeleteSoundBuffers(SoundData& data) {
    if (!data.buffers.empty()) {
        alDeleteBuffers(static_cast<ALsizei>(data.buffers.size()), data.buffers.data());
        data.buffers.clear();
    }
}
