#pragma once

#include "sound/Sound_Vorbis.h"

// The vorbisfile entry points through which every Ogg file is decoded, and
// the byte-source callbacks handed to ov_open_callbacks. The sound engine
// fills the table when it is made and clears it when it goes; Ogg files are
// refused while it is not ready.
struct DecoderTable {
    bool ready = false;
    int (*clear)(OggVorbis_File*) = nullptr;
    long (*read)(OggVorbis_File*, char*, int, int, int, int, int*) = nullptr;
    int (*rawSeek)(OggVorbis_File*, ogg_int64_t) = nullptr;
    long (*bitrate)(OggVorbis_File*, int) = nullptr;
    ogg_int64_t (*pcmTotal)(OggVorbis_File*, int) = nullptr;
    double (*timeTotal)(OggVorbis_File*, int) = nullptr;
    vorbis_info* (*info)(OggVorbis_File*, int) = nullptr;
    vorbis_comment* (*comment)(OggVorbis_File*, int) = nullptr;
    int (*openCallbacks)(void*, OggVorbis_File*, const char*, long, ov_callbacks) = nullptr;
    // Read, seek (the whole 64-bit offset), close (frees the byte source)
    // and tell over a SoundByteSource.
    ov_callbacks callbacks{};
};

// The process's table. Filled and cleared on the main thread only, while no
// Ogg decoder is open.
const DecoderTable& GetDecoderTable();
// Fills every entry from the linked library; ready once the entries the
// decoder needs are all present.
void FillDecoderTable();
void ClearDecoderTable();
