#pragma once

#include <AL/al.h>

// Runs one OpenAL call between error queries: true when it raised no error.
// OpenAL keeps one error state per context, so the caller holds the sound
// engine's source lock across the whole bracket.
template <typename Call>
bool CallAl(Call&& call) {
    alGetError();
    call();
    return alGetError() == AL_NO_ERROR;
}

// An integer property of a source; false when OpenAL refused the query.
inline bool QuerySource(ALuint source, ALenum property, ALint& value) {
    return CallAl([&] { alGetSourcei(source, property, &value); });
}

// The source is playing now; false also when the query fails.
inline bool QueryPlaying(ALuint source) {
    ALint state = 0;
    return QuerySource(source, AL_SOURCE_STATE, state) && state == AL_PLAYING;
}
