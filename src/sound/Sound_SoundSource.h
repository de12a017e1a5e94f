#pragma once

#include "math/Math_Vector3D.h"

#include <cstdint>

struct SoundData;

// One voice of the sound engine. Only the engine reads or writes a record,
// under its source lock; everybody else holds a SoundSourceHandle.
class SoundSource {
public:
    enum class Mode : std::uint32_t { Unbound = 0, Static = 1, IntroAndLoop = 2, Streamed = 3 };

private:
    friend class SoundEngine;
    friend class SoundEngineTestAccess;

    bool created = false;
    Mode mode = Mode::Unbound;
    // Process-unique: tells a record apart from an earlier one at the same address.
    std::uint64_t id = 0;
    Vector3D position;
    bool relative = false;
    bool looping = false;
    // Set when the engine started the source, cleared when it stopped it or
    // the streaming thread found it finished.
    bool playing = false;
    // Streamed: the queue is empty and waits for the streaming thread to
    // fill it from the start of the sound.
    bool primeWanted = false;
    // With primeWanted: the sound ended; once primed the source waits at its
    // start and its playing flag clears.
    bool finishing = false;
    // Set by a pause, cleared by a play or a stop: meanwhile the engine starts
    // the source neither once a stream is refilled from its start nor when it
    // finds it stopped.
    bool paused = false;
    float gain = 1.0f;
    float pitch = 1.0f;
    float referenceDistance = 0.0f;
    std::uint32_t name = 0;
    SoundData* sound = nullptr;
};

// What callers keep of a source: the record's address, compared but never
// followed, and its id.
struct SoundSourceHandle {
    SoundSource* record = nullptr;
    std::uint64_t id = 0;

    explicit operator bool() const { return record != nullptr; }
    bool operator==(const SoundSourceHandle&) const = default;
};
