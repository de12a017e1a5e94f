#include "sound/Sound_DecoderTable.h"

#include "sound/Sound_ByteSource.h"
#include "sound/Sound_DecoderTableTestHooks.h"

#include <limits>

namespace {

DecoderTable g_table;

std::size_t ReadSource(void* bytes, std::size_t size, std::size_t count, void* source) {
    if (size == 0 || count > std::numeric_limits<std::size_t>::max() / size) {
        return 0;
    }
    return static_cast<SoundByteSource*>(source)->Read(bytes, size * count) / size;
}

int SeekSource(void* source, ogg_int64_t offset, int whence) {
    return static_cast<SoundByteSource*>(source)->Seek(offset, whence) ? 0 : -1;
}

int CloseSource(void* source) {
    delete static_cast<SoundByteSource*>(source);
    return 0;
}

long TellSource(void* source) { return static_cast<long>(static_cast<SoundByteSource*>(source)->Tell()); }

}  // namespace

const DecoderTable& GetDecoderTable() { return g_table; }

void FillDecoderTable() {
    g_table.clear = &ov_clear;
    g_table.read = &ov_read;
    g_table.rawSeek = &ov_raw_seek;
    g_table.bitrate = &ov_bitrate;
    g_table.pcmTotal = &ov_pcm_total;
    g_table.timeTotal = &ov_time_total;
    g_table.info = &ov_info;
    g_table.comment = &ov_comment;
    g_table.openCallbacks = &ov_open_callbacks;
    g_table.callbacks = {&ReadSource, &SeekSource, &CloseSource, &TellSource};
    g_table.ready = g_table.clear && g_table.read && g_table.rawSeek && g_table.pcmTotal && g_table.info &&
                    g_table.comment && g_table.openCallbacks;
    if (!g_table.ready) {
        ClearDecoderTable();
    }
}

void ClearDecoderTable() { g_table = DecoderTable{}; }

void EmptyDecoderTableForTesting() { ClearDecoderTable(); }
