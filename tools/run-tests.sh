#!/usr/bin/env bash
# Sets up the machine, builds the test configuration (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test with CTest. Tests that need
# a window run under a virtual X server when no display is available.
# Then the Core tests, the thread tests, the sound streaming tests and the
# network sessions' thread tests run under ThreadSanitizer (the sanitizer
# build routes the memory pool to malloc, so only this build covers the
# pool's per-thread caches; skipped when TUNDRA_SKIP_TSAN=1), and every fuzz
# harness for a short time (TUNDRA_FUZZ_SECONDS, default 2; skipped when
# TUNDRA_SKIP_FUZZ=1).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/setup.sh"
# Its trees, and tools/run-fuzz.sh's that it starts, are built with Ninja where it is installed.
source "$root/tools/prefer-ninja.sh"

build="$root/build/test"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DTUNDRA_SANITIZE=ON -DTUNDRA_SHARED_ENGINE=ON -DTUNDRA_BUILD_TESTS=ON -DTUNDRA_BUILD_BENCH=OFF
cmake --build "$build" --parallel "$(nproc)"

jobs="$(nproc)"
ctest_command=(ctest --test-dir "$build" --output-on-failure --parallel "$jobs" --timeout 300)
status=0
# -noreset: an X server resets when its last client leaves, and a test that
# connects during the reset finds no display.
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null 2>&1; then
    xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -noreset" "${ctest_command[@]}" "$@" || status=$?
else
    "${ctest_command[@]}" "$@" || status=$?
fi

if [ "${TUNDRA_SKIP_TSAN:-0}" != "1" ]; then
    tsan="$root/build/tsan"
    cmake -S "$root" -B "$tsan" -DCMAKE_BUILD_TYPE=Debug -DTUNDRA_TSAN=ON -DTUNDRA_SANITIZE=OFF \
        -DTUNDRA_SHARED_ENGINE=ON -DTUNDRA_BUILD_TESTS=ON -DTUNDRA_BUILD_BENCH=OFF
    cmake --build "$tsan" --parallel "$(nproc)" --target test_pal test_core test_sound test_network
    # ThreadSanitizer needs a fixed memory layout on kernels with wide address randomisation.
    run=()
    if command -v setarch >/dev/null 2>&1 && setarch "$(uname -m)" -R true 2>/dev/null; then
        run=(setarch "$(uname -m)" -R)
    fi
    # The four programs run side by side (each is mostly one thread), each
    # into its own log, shown once they have all ended.
    tsan_run() {
        local log="$tsan/$1.log"
        shift
        "$@" >"$log" 2>&1
    }
    tsan_names=(test_pal test_core test_sound test_network)
    tsan_pids=()
    tsan_run test_pal env TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" "${run[@]}" "$tsan/bin/test_pal" \
        --gtest_filter='ThreadPriorities.*:ThreadManagerTest.*:MemoryMutex.*' &
    tsan_pids+=($!)
    tsan_run test_core env TUNDRA_TEST_DATA="$root/tests/data" TUNDRA_NONINTERACTIVE=1 TSAN_OPTIONS="halt_on_error=1" \
        "${run[@]}" "$tsan/bin/test_core" &
    tsan_pids+=($!)
    # The sound engine's tests, its streaming thread running, on OpenAL Soft's null backend.
    tsan_run test_sound env ALSOFT_DRIVERS=null TSAN_OPTIONS="halt_on_error=1 suppressions=$root/tests/support/tsan.supp" \
        "${run[@]}" "$tsan/bin/test_sound" --gtest_filter='NullAudio*' &
    tsan_pids+=($!)
    # Sessions with their I/O, dispatch and broadcast threads, opened and closed over and over.
    tsan_run test_network env TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" "${run[@]}" "$tsan/bin/test_network" \
        --gtest_filter='*EventDispatcher*:Session*Test.*:SocketTest.*:NetworkManagerTest.*:Broadcast*:ThreadCycles*' &
    tsan_pids+=($!)
    for i in "${!tsan_pids[@]}"; do
        tsan_status=0
        wait "${tsan_pids[$i]}" || tsan_status=$?
        cat "$tsan/${tsan_names[$i]}.log"
        [ "$tsan_status" -eq 0 ] || status=$tsan_status
    done
fi
if [ "${TUNDRA_SKIP_FUZZ:-0}" != "1" ]; then
    "$root/tools/run-fuzz.sh" "${TUNDRA_FUZZ_SECONDS:-2}" || status=$?
fi
exit "$status"
