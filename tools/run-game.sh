#!/usr/bin/env bash
# Sets up the machine, builds the optimised game and runs it.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/setup.sh"

build="$root/build/release"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTUNDRA_BUILD_TESTS=OFF -DTUNDRA_BUILD_BENCH=ON
cmake --build "$build" --parallel "$(nproc)"
exec "$build/bin/Emberline" "$@"
