#!/usr/bin/env bash
# Sets up the machine, builds the optimised game and its files and runs it.
# Only what the game needs is built: the benchmarks beside it in the same
# tree build with `tools/build-release.sh benchmarks`.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/build-release.sh" Emberline resources
exec "$root/build/release/bin/Emberline" "$@"
