#!/usr/bin/env bash
# Sets up the machine, configures build/release (the optimised game, its
# benchmarks and the screenshot program) and builds the given targets, or
# every target without any: `tools/build-release.sh benchmarks` builds the
# benchmarks into build/release/bin.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# One build of the tree at a time: two game commands started together would
# otherwise regenerate and build it over each other. The second waits.
mkdir -p "$root/build"
exec 9>"$root/build/release.lock"
flock 9
"$root/tools/setup.sh"
source "$root/tools/prefer-ninja.sh"

build="$root/build/release"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTUNDRA_BUILD_TESTS=OFF -DTUNDRA_BUILD_BENCH=ON
targets=()
[ "$#" -eq 0 ] || targets=(--target "$@")
cmake --build "$build" --parallel "$(nproc)" "${targets[@]}"
