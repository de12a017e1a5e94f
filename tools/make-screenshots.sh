#!/usr/bin/env bash
# Builds the optimised game and its screenshot program, then plays the game
# on SDL's offscreen driver and writes the README's pictures. Arguments go
# to the program: a folder (docs/screenshots by default) and --only NAME,...
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/setup.sh"

build="$root/build/release"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTUNDRA_BUILD_TESTS=OFF -DTUNDRA_BUILD_BENCH=ON
cmake --build "$build" --parallel "$(nproc)" --target screenshots
# The default folder is the repository's docs/screenshots.
cd "$root"
exec "$build/bin/screenshots" "$@"
