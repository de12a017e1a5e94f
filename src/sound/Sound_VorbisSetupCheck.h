#pragma once

#include "sound/Sound_Vorbis.h"

// libvorbis (1.3.7) accepts a codebook of dimension 0, or of no entries (it
// then leaves the decoding book's dimension 0), in a stream's setup header
// and divides by that dimension when a residue uses the book: the process
// dies of a division by zero. Every codebook of every link of an
// opened stream is read here first, and such a stream is refused.
bool VorbisCodebooksAreDecodable(OggVorbis_File& vorbisFile);
