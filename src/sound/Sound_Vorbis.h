#pragma once

// vorbisfile's header defines a set of stdio callbacks as static variables in
// every file that includes it; the engine brings its own callbacks.
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>
#undef OV_EXCLUDE_STATIC_CALLBACKS
