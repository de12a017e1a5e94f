#!/usr/bin/env bash
# Sets up the machine, builds the test configuration (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test with CTest. Tests that need
# a window run under a virtual X server when no display is available.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/setup.sh"

build="$root/build/test"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DTUNDRA_SANITIZE=ON -DTUNDRA_BUILD_TESTS=ON -DTUNDRA_BUILD_BENCH=OFF
cmake --build "$build" --parallel "$(nproc)"

jobs="$(nproc)"
ctest_command=(ctest --test-dir "$build" --output-on-failure --parallel "$jobs" --timeout 300)
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null 2>&1; then
    exec xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" "${ctest_command[@]}" "$@"
fi
exec "${ctest_command[@]}" "$@"
