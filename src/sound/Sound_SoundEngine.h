#pragma once

#include "core/Core_String.h"
#include "math/Math_Vector3D.h"
#include "pal/PAL_MutexLock.h"
#include "pal/PAL_ThreadManager.h"
#include "sound/Sound_SoundSource.h"

#include <AL/alc.h>

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

struct SoundData;

// The game's only audio service: one OpenAL device and context, every loaded
// sound, every source record, and one streaming thread that keeps streamed
// sources fed.
//
// Every OpenAL call, with the error query that follows it, and every read or
// write of a source record runs under the source lock: OpenAL keeps one error
// state per context, shared by the main thread and the streaming thread. The
// streaming thread decodes outside it, on sounds it has borrowed.
// Callers hold SoundSourceHandles; a handle whose record was released (or
// whose address now holds a newer record) is refused and never dereferenced.
//
// Without a device (Initialize failed) every operation fails quietly with
// false, null or an empty handle, and the game runs silent.
class SoundEngine {
public:
    // PCM bytes from which LoadSound streams instead of loading whole.
    static constexpr std::uint32_t kStreamThreshold = 0x40000;
    // How a streamed load of LoadSound divides the sound.
    static constexpr float kStreamSecondsPerBuffer = 0.5f;
    static constexpr std::uint32_t kStreamBufferCount = 2;

    // Lists the devices and fills the decoder table; opens nothing.
    SoundEngine();
    // Releases every source and sound while the context is current, then
    // shuts down; a running streaming thread is always stopped first.
    ~SoundEngine();
    SoundEngine(const SoundEngine&) = delete;
    SoundEngine& operator=(const SoundEngine&) = delete;

    // Device index into GetDeviceNames (out of range: the default device) and
    // streaming refill period in ms. False when already initialised (nothing
    // changes) or when anything fails; a failure leaves no thread, lock or
    // condition behind.
    bool Initialize(int deviceIndex, std::uint32_t refillMilliseconds);
    // Stops the streaming thread (returns once it has finished), destroys the
    // locks and closes the device. Sources and sounds stay until StopAll or
    // destruction. Nothing when not initialised.
    void Shutdown();
    bool IsInitialized() const { return m_initialized; }

    const std::vector<Core::String>& GetDeviceNames() const { return m_deviceNames; }
    int GetDefaultDeviceIndex() const { return m_defaultDeviceIndex; }
    const Core::String& GetVendor() const { return m_vendor; }
    const Core::String& GetVersion() const { return m_version; }
    const Core::String& GetRenderer() const { return m_renderer; }
    float GetSpeedOfSound() const { return m_speedOfSound; }
    std::uint32_t GetRefillPeriod() const { return m_refillMilliseconds; }

    // Setters store their value only once OpenAL accepted it.
    bool SetListenerPosition(const Vector3D& position);
    const Vector3D& GetListenerPosition() const { return m_listenerPosition; }
    bool SetMasterVolume(float gain);
    float GetMasterVolume() const { return m_masterGain; }
    // 0 none, 1 inverse, 2 inverse clamped, 3 linear, 4 linear clamped,
    // 5 exponent, 6 exponent clamped. Above 6 the index is stored and OpenAL
    // is left as it is.
    bool SetDistanceModel(std::uint32_t model);
    std::uint32_t GetDistanceModel() const { return m_distanceModel; }

    // A new source playing the sound (one of this engine's loaded sounds);
    // an empty handle on failure.
    SoundSourceHandle CreateSource(SoundData* sound, bool relative, bool looping);
    // False, changing nothing, when the source already plays; resumes a
    // paused source.
    bool PlaySource(SoundSourceHandle source);
    // Holds until the next play or stop, a rewind included: a stream waits
    // paused at its start.
    bool PauseSource(SoundSourceHandle source);
    // OpenAL's view: the source is playing now.
    bool IsSourcePlaying(SoundSourceHandle source);
    // The engine's view: started and not yet found finished.
    bool IsSourceActive(SoundSourceHandle source);
    // Back to the start; plays on when it was playing.
    bool RewindSource(SoundSourceHandle source);
    // A streamed source waits at the start of its sound afterwards.
    bool StopSource(SoundSourceHandle source);
    // Stops, unbinds and frees the record; the handle names nothing afterwards.
    bool ReleaseSource(SoundSourceHandle source);
    // Only a static source hands the flag to OpenAL; streamed and
    // intro-and-loop sources loop through the streaming thread.
    bool SetSourceLooping(SoundSourceHandle source, bool looping);
    bool GetSourceLooping(SoundSourceHandle source);
    bool SetSourceGain(SoundSourceHandle source, float gain);
    float GetSourceGain(SoundSourceHandle source);
    bool SetSourcePitch(SoundSourceHandle source, float pitch);
    float GetSourcePitch(SoundSourceHandle source);
    bool SetSourcePosition(SoundSourceHandle source, const Vector3D& position);
    Vector3D GetSourcePosition(SoundSourceHandle source);
    bool SetSourceReferenceDistance(SoundSourceHandle source, float distance);
    float GetSourceReferenceDistance(SoundSourceHandle source);
    // Null for a handle that names no live source.
    SoundData* GetSourceSound(SoundSourceHandle source);
    // Stops and frees every source and every loaded sound: every handle and
    // sound pointer held elsewhere is invalid afterwards.
    void StopAll();

    // Static below threshold PCM bytes, streamed (two half-second buffers)
    // from it. Null on failure.
    SoundData* LoadSound(const Core::String& path, std::uint32_t threshold);
    // The whole sound in one buffer, or with a non-zero intro fraction split
    // into an intro buffer and a loop buffer.
    SoundData* LoadStaticSound(const Core::String& path, float introFraction);
    // A ring of at least two buffers refilled by the streaming thread; serves
    // one source at a time.
    SoundData* LoadStreamedSound(const Core::String& path, float secondsPerBuffer, std::uint32_t bufferCount);
    // The first static sound loaded from exactly this path and fraction.
    SoundData* FindLoadedSound(const Core::String& path, float introFraction) const;

private:
    struct CachedSound {
        Core::String path;
        float introFraction = 0.0f;
        SoundData* sound = nullptr;
    };
    // The source lock for a scope; a lock that does not exist (no device, or
    // shut down) or cannot be taken is not held, and the operation that asked
    // fails quietly.
    using SourceLock = MutexLock;
    friend class SoundEngineTestAccess;

    // A stream's blocks, decoded by the streaming thread outside the source
    // lock and queued under it if the source still wants them.
    struct StreamWork {
        // Looked up again, never followed: the source may be gone.
        SoundSourceHandle source;
        SoundData* sound = nullptr;
        std::uint64_t epoch = 0;
        // From the start into every buffer, rather than the next blocks into
        // the buffers the source had played.
        bool prime = false;
        bool looping = false;
        std::vector<std::uint32_t> buffers;
        std::vector<std::vector<std::uint8_t>> blocks;
        std::vector<std::uint32_t> sizes;
    };

    static std::uint32_t StreamingThread(ManagedThread* thread);
    void StreamingPass();
    // The helpers below, but DecodeWork, expect the source lock held.
    void ServiceSources();
    // Borrows the source's sound for decoding: takes its played buffers out
    // of the queue, or for a prime all of them.
    void LendStream(SoundSource& source, bool prime);
    void DecodeWork();
    // Queues what is still wanted and gives every sound back.
    void ApplyWork();
    void FollowRefill(SoundSource& source);
    void FinishPrime(SoundSource& source);
    // Frees the sound, or while the streaming thread borrows it keeps it
    // until it has been given back.
    void ReleaseSound(std::unique_ptr<SoundData> sound);

    bool CreateLocks();
    void DestroyLocks();
    // Stops the thread and returns once it has finished and left.
    void StopStreamingThread();
    bool OpenDevice(int deviceIndex);
    void CloseDevice();
    // Undoes a failed Initialize after the locks exist.
    bool FailInitialize();
    void SignalThreadFinished();

    // Runs action on the live record the handle names, under the source
    // lock; fallback when there is none.
    template <typename Result, typename Action>
    Result WithLiveSource(SoundSourceHandle handle, Result fallback, Action&& action);
    // The helpers below expect the source lock held.
    SoundSource* FindLive(SoundSourceHandle handle);
    bool IsLoaded(const SoundData* sound) const;
    SoundSource* AppendSource(bool relative);
    void FreeSource(std::list<SoundSource>::iterator record);
    bool ApplyDistanceModel(std::uint32_t model);
    bool ApplyLooping(SoundSource& source, bool looping);
    bool Bind(SoundSource& source, SoundData* sound);
    bool Unbind(SoundSource& source);
    bool Stop(SoundSource& source);
    // Brings a streamed source back to the start of its sound, refilled.
    bool Reprime(SoundSource& source);
    // Rewinds, and plays again when it was playing.
    bool RewindAndResume(SoundSource& source, bool wasPlaying);
    bool FillAndQueue(SoundSource& source);
    void ServiceStatic(SoundSource& source);
    void ServiceIntroAndLoop(SoundSource& source);
    void ServiceStream(SoundSource& source);
    void ReleaseEverything();
    void ForgetEverything();

    bool m_initialized = false;
    ThreadManager m_threads;
    ManagedThread* m_streamingThread = nullptr;
    pthread_mutex_t* m_sourceLock = nullptr;
    pthread_mutex_t* m_endLock = nullptr;
    pthread_cond_t* m_endCondition = nullptr;
    // Set by the streaming thread under the end lock as its last act.
    bool m_threadFinished = false;
    std::vector<Core::String> m_deviceNames;
    int m_defaultDeviceIndex = 0;
    ALCdevice* m_device = nullptr;
    ALCcontext* m_context = nullptr;
    Core::String m_vendor;
    Core::String m_version;
    Core::String m_renderer;
    std::vector<std::unique_ptr<SoundData>> m_loadedSounds;
    // Released while borrowed: their buffers are gone, the records and the
    // decoders stay until the streaming thread gave them back.
    std::vector<std::unique_ptr<SoundData>> m_retiredSounds;
    // The streaming thread's only.
    std::vector<StreamWork> m_work;
    std::vector<CachedSound> m_staticCache;
    Vector3D m_listenerPosition;
    float m_masterGain = 1.0f;
    float m_speedOfSound = 0.0f;
    std::uint32_t m_distanceModel = 2;
    // Held by value: records never move, and callers' handles name them.
    std::list<SoundSource> m_sources;
    std::uint32_t m_refillMilliseconds = 1;
};
