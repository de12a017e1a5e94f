#!/usr/bin/env bash
# Builds the optimised game and its screenshot program, then plays the game
# on SDL's offscreen driver and writes the README's pictures. Arguments go
# to the program: a folder (docs/screenshots by default) and --only NAME,...
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/build-release.sh" screenshots
# The default folder is the repository's docs/screenshots.
cd "$root"
exec "$root/build/release/bin/screenshots" "$@"
