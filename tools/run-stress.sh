#!/usr/bin/env bash
# Builds the framework tests with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs the seeded framework stress for longer than the test command does.
# Usage: tools/run-stress.sh [seeds] [frames per seed] [first seed]
# (defaults 50, 3000, 1). TUNDRA_STRESS_TRACE=1 passes through to the test and
# prints every operation.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/test"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DTUNDRA_SANITIZE=ON -DTUNDRA_SHARED_ENGINE=ON -DTUNDRA_BUILD_TESTS=ON \
    -DTUNDRA_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --parallel 4 --target test_tundra

export TUNDRA_STRESS_SEEDS="${1:-50}"
export TUNDRA_STRESS_FRAMES="${2:-3000}"
export TUNDRA_STRESS_SEED="${3:-1}"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$root/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TUNDRA_NONINTERACTIVE=1
"$build/bin/test_tundra" --gtest_filter='FrameworkStress.*'
