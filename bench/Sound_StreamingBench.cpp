#include "sound/Sound_SoundEngine.h"
#include "support/Sound_TestFiles.h"
#include "support/TempDirectory.h"

#include <benchmark/benchmark.h>

#include <dirent.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

// The streaming thread's cost on the null backend: its CPU time (from its own
// per-thread clock) over 10 s while 0, 1, 4 or 16 looping Ogg streams play,
// as a share of one core per stream; and the longest time a main-thread
// source operation took meanwhile, waiting for the lock included: as the
// clock on the wall saw it, and less the time the main thread stood ready
// while other programs had the cores (what a busy machine adds).
// Run with ALSOFT_DRIVERS=null.

namespace {

constexpr auto kMeasured = std::chrono::seconds(10);

std::set<long> ThreadIds() {
    std::set<long> ids;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(tasks)) {
            if (entry->d_name[0] != '.') {
                ids.insert(std::strtol(entry->d_name, nullptr, 10));
            }
        }
        closedir(tasks);
    }
    return ids;
}

// Linux's CPU clock of another thread of this process (what
// pthread_getcpuclockid gives for a pthread_t).
clockid_t ThreadCpuClock(long id) { return static_cast<clockid_t>((~id << 3) | 6); }

// Nanoseconds the calling thread has spent ready to run but waiting for a
// core: the second field of its schedstat.
std::int64_t ReadyNanoseconds() {
    std::ifstream stat("/proc/thread-self/schedstat");
    std::int64_t running = 0;
    std::int64_t ready = 0;
    stat >> running >> ready;
    return ready;
}

double CpuSeconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void StreamingThreadCpu(benchmark::State& state) {
    const int streams = static_cast<int>(state.range(0));
    const testsupport::TempDirectory folder;
    const testsupport::OggToneSpec tone{
        .frequency = 440.0, .seconds = 4.0, .channels = 2, .rate = 44100, .quality = 0.4f};
    const Core::String path(folder.WriteFile("stream.ogg", testsupport::OggTone(tone)).c_str());

    for (auto _ : state) {
        SoundEngine engine;
        const std::set<long> before = ThreadIds();
        if (!engine.Initialize(-1, 30)) {
            state.SkipWithError("no device: run with ALSOFT_DRIVERS=null");
            return;
        }
        // New since: the streaming thread, started before the device is
        // opened, so the first of them; then OpenAL's own threads.
        long streaming = -1;
        for (const long id : ThreadIds()) {
            if (before.count(id) == 0) {
                streaming = streaming < 0 ? id : std::min(streaming, id);
            }
        }
        std::vector<SoundSourceHandle> sources;
        for (int i = 0; i < streams; ++i) {
            sources.push_back(engine.CreateSource(engine.LoadStreamedSound(path, 0.5f, 2), true, true));
            engine.PlaySource(sources.back());
        }
        const SoundSourceHandle probe = engine.CreateSource(engine.LoadStaticSound(path, 0.0f), true, false);

        const clockid_t clock = ThreadCpuClock(streaming);
        const double cpuStart = CpuSeconds(clock);
        const auto end = std::chrono::steady_clock::now() + kMeasured;
        std::chrono::nanoseconds longest{0};
        std::chrono::nanoseconds longestWait{0};
        while (std::chrono::steady_clock::now() < end) {
            const std::int64_t readyBefore = ReadyNanoseconds();
            const auto start = std::chrono::steady_clock::now();
            engine.SetSourceGain(probe, 0.5f);
            const auto took = std::chrono::steady_clock::now() - start;
            const std::chrono::nanoseconds ready(ReadyNanoseconds() - readyBefore);
            longest = std::max(longest, took);
            longestWait = std::max(longestWait, std::chrono::duration_cast<std::chrono::nanoseconds>(took) - ready);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        const double cpu = CpuSeconds(clock) - cpuStart;
        const double wall = std::chrono::duration<double>(kMeasured).count();
        state.counters["thread_cpu_ms"] = cpu * 1e3;
        state.counters["core_share_pct"] = 100.0 * cpu / wall;
        state.counters["core_share_per_stream_pct"] = streams > 0 ? 100.0 * cpu / wall / streams : 0.0;
        state.counters["longest_main_op_us"] = std::chrono::duration<double, std::micro>(longest).count();
        state.counters["longest_main_op_unready_us"] = std::chrono::duration<double, std::micro>(longestWait).count();
        bool allPlaying = true;
        for (const SoundSourceHandle source : sources) {
            allPlaying = allPlaying && engine.IsSourcePlaying(source);
        }
        state.counters["all_playing"] = allPlaying ? 1 : 0;
    }
}

}  // namespace

BENCHMARK(StreamingThreadCpu)->Arg(0)->Arg(1)->Arg(4)->Arg(16)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
