#include "sound/Sound_AlFormat.h"

#include "sound/Sound_Decoder.h"

namespace {

const char* OggFormatName(const SoundFormat& format) {
    switch (format.channels) {
        case 1: return "AL_FORMAT_MONO16";
        case 2: return "AL_FORMAT_STEREO16";
        case 4: return "AL_FORMAT_QUAD16";
        case 6: return "AL_FORMAT_51CHN16";
        default: return nullptr;
    }
}

// Only 8 bits selects the 8-bit formats; every other width plays as 16-bit.
const char* PlainPcmFormatName(const SoundFormat& format) {
    const bool eightBit = format.bitsPerSample == 8;
    switch (format.channels) {
        case 1: return eightBit ? "AL_FORMAT_MONO8" : "AL_FORMAT_MONO16";
        case 2: return eightBit ? "AL_FORMAT_STEREO8" : "AL_FORMAT_STEREO16";
        case 4: return format.bitsPerSample == 16 ? "AL_FORMAT_QUAD16" : nullptr;
        default: return nullptr;
    }
}

struct ExtensibleLayout {
    std::uint16_t channels;
    std::uint32_t mask;
    const char* eightBitName;  // null: 16 bits only
    const char* name;
};

constexpr ExtensibleLayout kExtensibleLayouts[] = {
    {1, 0x4, "AL_FORMAT_MONO8", "AL_FORMAT_MONO16"},
    {2, 0x3, "AL_FORMAT_STEREO8", "AL_FORMAT_STEREO16"},
    {2, 0x30, nullptr, "AL_FORMAT_REAR16"},
    {4, 0x33, nullptr, "AL_FORMAT_QUAD16"},
    {6, 0x3F, nullptr, "AL_FORMAT_51CHN16"},
    {7, 0x13F, nullptr, "AL_FORMAT_61CHN16"},
    {8, 0x63F, nullptr, "AL_FORMAT_71CHN16"},
};

const char* ExtensibleFormatName(const SoundFormat& format) {
    for (const ExtensibleLayout& layout : kExtensibleLayouts) {
        if (layout.channels != format.channels || layout.mask != format.channelMask) {
            continue;
        }
        if (layout.eightBitName != nullptr) {
            return format.bitsPerSample == 8 ? layout.eightBitName : layout.name;
        }
        return format.bitsPerSample == 16 ? layout.name : nullptr;
    }
    return nullptr;
}

}  // namespace

std::int32_t ChooseAlFormat(SoundData& data) {
    if (!IsDecoderOpen(data)) {
        return kSoundNotOpen;
    }
    const SoundFormat& format = data.format;
    const char* name = nullptr;
    if (data.container == SoundContainer::Ogg) {
        name = OggFormatName(format);
    } else if (format.kind == SoundFormat::kPlainPcm) {
        name = PlainPcmFormatName(format);
    } else if (format.kind == SoundFormat::kExtensible) {
        name = ExtensibleFormatName(format);
    }
    // The multichannel formats exist only where OpenAL has the extension.
    const ALenum value = name != nullptr ? alGetEnumValue(name) : 0;
    if (value == 0 || value == -1) {
        return kSoundUnusable;
    }
    data.alFormat = value;
    return kSoundOk;
}
