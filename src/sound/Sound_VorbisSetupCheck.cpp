#include "sound/Sound_VorbisSetupCheck.h"

#include "sound/Sound_ByteSource.h"

#include <ogg/ogg.h>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr long kCodebookSync = 0x564342;
constexpr int kSetupHeaderType = 5;
constexpr int kHeaderPackets = 3;
constexpr long kReadChunk = 4096;

int BitsFor(long value) {
    int bits = 0;
    for (; value > 0; value >>= 1) {
        ++bits;
    }
    return bits;
}

long BitsLeft(oggpack_buffer& bits, long packetBytes) { return packetBytes * 8 - oggpack_bits(&bits); }

// The greatest v with v^dim <= entries: the number of values of a type-1
// lookup table.
long TypeOneValues(long entries, long dim) {
    auto fits = [&](long v) {
        long double power = 1;
        for (long i = 0; i < dim && power <= entries; ++i) {
            power *= v;
        }
        return power <= entries;
    };
    long v = static_cast<long>(std::floor(std::pow(static_cast<double>(entries), 1.0 / dim)));
    v = v < 1 ? 1 : v;
    while (v > 1 && !fits(v)) {
        --v;
    }
    while (fits(v + 1)) {
        ++v;
    }
    return v;
}

// Reads one codebook; false for a book without dimension or entries (libvorbis
// leaves such a book's dimension 0) or where the packet ends early.
bool ReadCodebook(oggpack_buffer& bits, long packetBytes) {
    if (oggpack_read(&bits, 24) != kCodebookSync) {
        return false;
    }
    const long dim = oggpack_read(&bits, 16);
    const long entries = oggpack_read(&bits, 24);
    if (dim < 1 || entries < 1) {
        return false;
    }
    if (oggpack_read(&bits, 1) == 0) {
        const bool sparse = oggpack_read(&bits, 1) == 1;
        for (long i = 0; i < entries; ++i) {
            if ((!sparse || oggpack_read(&bits, 1) == 1) && oggpack_read(&bits, 5) < 0) {
                return false;
            }
        }
    } else {
        if (oggpack_read(&bits, 5) < 0) {
            return false;
        }
        for (long i = 0; i < entries;) {
            const long run = oggpack_read(&bits, BitsFor(entries - i));
            if (run < 0) {
                return false;
            }
            i += run;
            if (i > entries) {
                return false;
            }
        }
    }
    const long lookup = oggpack_read(&bits, 4);
    if (lookup == 1 || lookup == 2) {
        oggpack_read(&bits, 32);
        oggpack_read(&bits, 32);
        const long valueBits = oggpack_read(&bits, 4) + 1;
        oggpack_read(&bits, 1);
        const long double values = lookup == 1 ? TypeOneValues(entries, dim) : static_cast<long double>(entries) * dim;
        const long double skip = values * valueBits;
        if (skip > BitsLeft(bits, packetBytes)) {
            return false;
        }
        oggpack_adv(&bits, static_cast<int>(skip));
    } else if (lookup != 0) {
        return false;
    }
    return BitsLeft(bits, packetBytes) >= 0;
}

bool SetupCodebooksAreDecodable(ogg_packet& setup) {
    oggpack_buffer bits;
    oggpack_readinit(&bits, setup.packet, setup.bytes);
    if (setup.bytes < 8 || setup.packet[0] != kSetupHeaderType || std::memcmp(setup.packet + 1, "vorbis", 6) != 0) {
        return false;
    }
    oggpack_adv(&bits, 7 * 8);
    const long books = oggpack_read(&bits, 8) + 1;
    for (long i = 0; i < books; ++i) {
        if (!ReadCodebook(bits, setup.bytes)) {
            return false;
        }
    }
    return true;
}

// Reads the pages of one link from start to end and checks its setup header.
bool LinkIsDecodable(SoundByteSource& source, std::int64_t start, std::int64_t end) {
    if (!source.Seek(start, SEEK_SET)) {
        return false;
    }
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    ogg_stream_state stream;
    bool streamStarted = false;
    int packets = 0;
    bool decodable = false;
    for (std::int64_t position = start; position < end && packets < kHeaderPackets;) {
        const long wanted = static_cast<long>(end - position < kReadChunk ? end - position : kReadChunk);
        char* buffer = ogg_sync_buffer(&sync, wanted);
        const long got = static_cast<long>(source.Read(buffer, static_cast<std::size_t>(wanted)));
        if (got <= 0) {
            break;
        }
        ogg_sync_wrote(&sync, got);
        position += got;
        ogg_page page;
        while (packets < kHeaderPackets && ogg_sync_pageout(&sync, &page) == 1) {
            if (!streamStarted) {
                ogg_stream_init(&stream, ogg_page_serialno(&page));
                streamStarted = true;
            }
            if (ogg_stream_pagein(&stream, &page) != 0) {
                continue;
            }
            ogg_packet packet;
            while (packets < kHeaderPackets && ogg_stream_packetout(&stream, &packet) == 1) {
                if (++packets == kHeaderPackets) {
                    decodable = SetupCodebooksAreDecodable(packet);
                }
            }
        }
    }
    if (streamStarted) {
        ogg_stream_clear(&stream);
    }
    ogg_sync_clear(&sync);
    return decodable;
}

}  // namespace

bool VorbisCodebooksAreDecodable(OggVorbis_File& vorbisFile) {
    auto* source = static_cast<SoundByteSource*>(vorbisFile.datasource);
    if (source == nullptr || vorbisFile.offsets == nullptr || vorbisFile.dataoffsets == nullptr) {
        return false;
    }
    for (int link = 0; link < vorbisFile.links; ++link) {
        if (!LinkIsDecodable(*source, vorbisFile.offsets[link], vorbisFile.dataoffsets[link])) {
            return false;
        }
    }
    return true;
}
