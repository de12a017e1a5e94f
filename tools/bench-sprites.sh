#!/usr/bin/env bash
# Builds the release benchmarks, then runs the sprite benchmark and the peer
# sprite scene (../shared/peers/love-sprites, on the same SDL offscreen
# surface) alternately for N = 0, 100, 300, 1000, 5000 and 20000 sprites, in
# both texture cases: the mipmapped sheet (ours with mipmaps 1, the peer with
# SHEET=1 MIPMAPS=1) and the sheet without mipmaps (mipmaps 0, SHEET=1).
# Prints the medians over the rounds and the ratio of our frame to the
# peer's, and the same for the CPU time of a frame in all threads (the
# rasteriser's included), which other load on the machine stretches less.
# Without the Debian package love it says how to install it and runs ours
# alone.
# Usage: tools/bench-sprites.sh [rounds]   (default 3)
# CORES=6,7 pins both programs to those cores; COUNTS="100 5000" measures
# only those N; PEER_DIR names another copy of the peer scene.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/rel"
rounds="${1:-3}"
peer_dir="${PEER_DIR:-$root/../shared/peers/love-sprites}"
read -r -a counts <<<"${COUNTS:-0 100 300 1000 5000 20000}"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTUNDRA_BUILD_BENCH=ON -DTUNDRA_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --parallel 4 --target bench_Engine_SpriteBench >/dev/null
bench="$build/bin/bench_Engine_SpriteBench"

pin=()
if [ -n "${CORES:-}" ]; then
    pin=(taskset -c "$CORES")
fi

with_peer=1
if ! command -v love >/dev/null; then
    with_peer=0
    echo "The peer needs the Debian package love (11.x): apt-get install -y love"
    echo "Running the engine's benchmark alone."
elif [ ! -f "$peer_dir/main.lua" ]; then
    with_peer=0
    echo "No peer scene in $peer_dir (set PEER_DIR); running the engine's benchmark alone."
fi

results="$(mktemp)"
trap 'rm -f "$results"' EXIT

# One line per measurement: mipmaps, N, then "ours" with the frame, update,
# flush, finish (ms), submission per sprite (us) and the frame's CPU time in
# all threads (ms), or "peer" with the frame and its CPU time.
run_ours() {
    local mipmaps="$1" n="$2"
    "${pin[@]}" "$bench" --benchmark_filter="^BM_RotatingSprites/sprites:$n/mipmaps:$mipmaps/" \
        --benchmark_format=json 2>/dev/null |
        awk -v m="$mipmaps" -v n="$n" -F'[:,]' '
            /"median_ms"/ { frame = $2 } /"update_ms"/ { update = $2 } /"flush_ms"/ { flush = $2 }
            /"finish_ms"/ { finish = $2 } /"submit_us_per_sprite"/ { submit = $2 } /"cpu_ms"/ { cpu = $2 }
            END { print m, n, "ours", frame + 0, update + 0, flush + 0, finish + 0, submit + 0, cpu + 0 }'
}

run_peer() {
    local mipmaps="$1" n="$2"
    local sheet=(SHEET=1)
    if [ "$mipmaps" = 1 ]; then
        sheet+=(MIPMAPS=1)
    fi
    env "${sheet[@]}" SDL_VIDEODRIVER=offscreen SPRITES="$n" "${pin[@]}" love "$peer_dir" 2>/dev/null |
        awk -v m="$mipmaps" -v n="$n" '/^love sprites=/ {
            for (i = 1; i <= NF; ++i) {
                split($i, kv, "=")
                if (kv[1] == "median_frame_ms") frame = kv[2]
                if (kv[1] == "cpu_ms") cpu = kv[2]
            }
            print m, n, "peer", frame + 0, cpu + 0 }'
}

for round in $(seq "$rounds"); do
    for mipmaps in 1 0; do
        for n in "${counts[@]}"; do
            echo "round $round/$rounds, mipmaps $mipmaps, $n sprites" >&2
            run_ours "$mipmaps" "$n" >>"$results"
            if [ "$with_peer" = 1 ]; then
                run_peer "$mipmaps" "$n" >>"$results"
            fi
        done
    done
done

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg); medians of $rounds rounds; times in ms"
awk '
    # Our figure over the peer figure, or "-" without one.
    function ratio(ours, other) { return other == "" || other == 0 ? "-" : sprintf("%.3f", ours / other) }
    function shown(value) { return value == "" ? "-" : sprintf("%.3f", value) }
    function median(list,    values, count, i, j, t) {
        count = split(list, values, " ")
        for (i = 2; i <= count; ++i) {
            for (j = i; j > 1 && values[j - 1] + 0 > values[j] + 0; --j) { t = values[j]; values[j] = values[j - 1]; values[j - 1] = t }
        }
        return count == 0 ? "" : count % 2 ? values[(count + 1) / 2] : (values[count / 2] + values[count / 2 + 1]) / 2
    }
    $3 == "ours" { key = $1 " " $2; frame[key] = frame[key] " " $4; update[key] = update[key] " " $5
                   flush[key] = flush[key] " " $6; finish[key] = finish[key] " " $7; submit[key] = submit[key] " " $8
                   cpu[key] = cpu[key] " " $9
                   if (!(key in seen)) { seen[key] = 1; order[++keys] = key } }
    $3 == "peer" { key = $1 " " $2; peer[key] = peer[key] " " $4; peerCpu[key] = peerCpu[key] " " $5 }
    END {
        printf "%-7s %6s %10s %10s %8s %8s %10s %12s %10s %11s %9s %9s %9s\n", "mipmaps", "N", "ours", "peer", "ratio",
               "update", "flush", "submit/N us", "finish", "update+flush", "ours cpu", "peer cpu", "cpu ratio"
        for (k = 1; k <= keys; ++k) {
            key = order[k]; split(key, part, " ")
            ours = median(frame[key]); other = median(peer[key])
            u = median(update[key]); f = median(flush[key])
            oursCpu = median(cpu[key]); otherCpu = median(peerCpu[key])
            printf "%-7s %6s %10.3f %10s %8s %8.3f %10.3f %12.3f %10.3f %11.3f %9.3f %9s %9s\n", part[1], part[2], ours,
                   shown(other), ratio(ours, other), u, f, median(submit[key]), median(finish[key]), u + f, oursCpu,
                   shown(otherCpu), ratio(oursCpu, otherCpu)
        }
    }' "$results"
