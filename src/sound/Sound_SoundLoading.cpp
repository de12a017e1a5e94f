#include "sound/Sound_AlCall.h"
#include "sound/Sound_Decoder.h"
#include "sound/Sound_SoundEngine.h"

#include <AL/al.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// More would only waste memory: two buffers already hold a second of sound.
constexpr std::uint32_t kMaxStreamBuffers = 64;

struct Piece {
    std::uint32_t offset;
    std::uint32_t size;
};

}  // namespace

SoundData* SoundEngine::LoadSound(const Core::String& path, std::uint32_t threshold) {
    if (!m_initialized) {
        return nullptr;
    }
    std::uint32_t dataSize = 0;
    {
        SoundData probe;
        if (OpenAudioFile(probe, path) != kSoundOk) {
            return nullptr;
        }
        dataSize = probe.dataSize;
    }
    return dataSize >= threshold ? LoadStreamedSound(path, kStreamSecondsPerBuffer, kStreamBufferCount)
                                 : LoadStaticSound(path, 0.0f);
}

SoundData* SoundEngine::LoadStaticSound(const Core::String& path, float introFraction) {
    if (!m_initialized || !std::isfinite(introFraction)) {
        return nullptr;
    }
    auto sound = std::make_unique<SoundData>();
    if (OpenAudioFile(*sound, path) != kSoundOk || ReadWholeSound(*sound) != kSoundOk ||
        sound->dataSize > static_cast<std::uint32_t>(std::numeric_limits<ALsizei>::max())) {
        return nullptr;
    }
    CloseDecoder(*sound);
    // The samples leave with this function, once uploaded.
    const std::vector<std::uint8_t> pcm = std::move(sound->pcm);
    sound->pcm.clear();
    std::vector<Piece> pieces = {{0, sound->dataSize}};
    if (introFraction != 0.0f) {
        sound->introFraction = std::clamp(introFraction, 0.0f, 1.0f);
        const std::uint32_t split = IntroSplitOffset(*sound, sound->introFraction);
        pieces = {{0, split}, {split, sound->dataSize - split}};
    }
    {
        const SourceLock lock(m_sourceLock);
        if (!lock) {
            return nullptr;
        }
        sound->buffers.resize(pieces.size());
        if (!CallAl([&] { alGenBuffers(static_cast<ALsizei>(pieces.size()), sound->buffers.data()); })) {
            sound->buffers.clear();
            return nullptr;
        }
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (!CallAl([&] {
                    alBufferData(sound->buffers[i], sound->alFormat, pcm.data() + pieces[i].offset,
                                 static_cast<ALsizei>(pieces[i].size), static_cast<ALsizei>(sound->format.sampleRate));
                })) {
                ReleaseSoundData(*sound);
                return nullptr;
            }
        }
    }
    m_staticCache.push_back({path, sound->introFraction, sound.get()});
    return m_loadedSounds.emplace_back(std::move(sound)).get();
}

SoundData* SoundEngine::LoadStreamedSound(const Core::String& path, float secondsPerBuffer, std::uint32_t bufferCount) {
    if (!m_initialized || bufferCount > kMaxStreamBuffers) {
        return nullptr;
    }
    auto sound = std::make_unique<SoundData>();
    if (OpenAudioFile(*sound, path) != kSoundOk || PrepareStreamBuffer(*sound, secondsPerBuffer) != kSoundOk) {
        return nullptr;
    }
    const SourceLock lock(m_sourceLock);
    if (!lock) {
        return nullptr;
    }
    sound->buffers.resize(std::max(bufferCount, 2u));
    if (!CallAl([&] { alGenBuffers(static_cast<ALsizei>(sound->buffers.size()), sound->buffers.data()); })) {
        sound->buffers.clear();
        return nullptr;
    }
    for (const ALuint buffer : sound->buffers) {
        std::uint32_t bytes = 0;
        if (ReadBlock(*sound, bytes) != kSoundOk || !CallAl([&] {
                alBufferData(buffer, sound->alFormat, sound->pcm.data(), static_cast<ALsizei>(bytes),
                             static_cast<ALsizei>(sound->format.sampleRate));
            })) {
            ReleaseSoundData(*sound);
            return nullptr;
        }
    }
    return m_loadedSounds.emplace_back(std::move(sound)).get();
}

SoundData* SoundEngine::FindLoadedSound(const Core::String& path, float introFraction) const {
    for (const CachedSound& cached : m_staticCache) {
        if (cached.path == path && cached.introFraction == introFraction) {
            return cached.sound;
        }
    }
    return nullptr;
}
