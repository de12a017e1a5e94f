#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer (the memory pool routed to malloc), writes each
# harness's seed corpus, then runs every harness for the given number of
# seconds (default 20), as many at once as there are cores.
# Usage: tools/run-fuzz.sh [seconds] [harness ...]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-20}"
shift || true

build="$root/build/fuzz"
CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug \
    -DTUNDRA_SANITIZE=ON -DTUNDRA_SHARED_ENGINE=ON -DTUNDRA_FUZZ=ON -DTUNDRA_BUILD_TESTS=OFF -DTUNDRA_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target fuzz_all

harnesses=("$@")
if [ "${#harnesses[@]}" -eq 0 ]; then
    for program in "$build"/bin/fuzz_*; do harnesses+=("$(basename "$program" | sed 's/^fuzz_//')"); done
fi

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TUNDRA_NONINTERACTIVE=1

# Runs one harness; its log stays in build/fuzz/logs.
run_one() {
    local name="$1" program="$build/bin/fuzz_$1"
    local corpus="$build/corpus/$name" log="$build/logs/$name.log"
    mkdir -p "$corpus" "$build/logs"
    TUNDRA_FUZZ_SEEDS="$corpus" "$program"
    local dictionary=()
    [ -f "$root/fuzz/$name.dict" ] && dictionary=(-dict="$root/fuzz/$name.dict")
    # The time limit of one input is generous: a harness's first input also
    # builds the running game it reads into (a stage played to its boss
    # fight takes over ten seconds under the sanitizers on a busy machine).
    if "$program" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=60 \
        -artifact_prefix="$build/logs/$name-" "${dictionary[@]}" "$corpus" >"$log" 2>&1; then
        echo "fuzz $name: $(grep -a -o 'Done [0-9]* runs' "$log" | tail -1 | grep -o '[0-9]*') executions, no fault"
    else
        echo "fuzz $name: FAILED (see $log)"
        tail -40 "$log"
        return 1
    fi
}
export -f run_one
export build root seconds

printf '%s\n' "${harnesses[@]}" | xargs -P "$(nproc)" -I{} bash -c 'run_one {}'
