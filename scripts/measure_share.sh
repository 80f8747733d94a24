#!/usr/bin/env bash
# Processor share of the game on its title screen and in play, beside the
# SDL_Renderer peer paced at 60 frames a second, in one virtual X server
# with software OpenGL (llvmpipe). Each round runs every game given, then
# the peer, one at a time; the report gives the medians over the rounds and
# each game's ratio to the peer. Several games side by side (say, an older
# build and a newer one) are measured under the same conditions.
#
#   measure_share.sh FRAME_BENCH GAME [GAME...]
#
# FRAME_BENCH is quorvex_frame_bench (it plays the peer). ROUNDS (6),
# SECONDS_EACH (5, per measurement) and PEER_SPRITES (280) can be set in the
# environment. Needs Xvfb and xdotool.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${QUORVEX_SHARE_IN_XVFB:-}" ]; then
    QUORVEX_SHARE_IN_XVFB=1 exec "$here/with_xvfb.sh" "$0" "$@"
fi
if [ $# -lt 2 ]; then
    echo "usage: $0 FRAME_BENCH GAME [GAME...]" >&2
    exit 2
fi
command -v xdotool >/dev/null || {
    echo "measure_share: xdotool is not installed" >&2
    exit 1
}

rounds=${ROUNDS:-6}
seconds=${SECONDS_EACH:-5}
peer_sprites=${PEER_SPRITES:-280}
bench=$(realpath "$1")
shift
games=()
for game in "$@"; do
    games+=("$(realpath "$game")")
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/quorvex-share.XXXXXX")
running=""
cleanup() {
    if [ -n "$running" ] && kill -0 "$running" 2>/dev/null; then
        kill -KILL "$running" 2>/dev/null || true
        wait "$running" 2>/dev/null || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

ticks_per_second=$(getconf CLK_TCK)

# Processor time of a process and all its threads, in clock ticks.
cpu_ticks() {
    # Fields after the command name, which is in parentheses.
    sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'
}

# share PID: percent of one core the process uses over the next SECONDS.
share() {
    local before after
    before=$(cpu_ticks "$1")
    sleep "$seconds"
    after=$(cpu_ticks "$1")
    awk -v d=$((after - before)) -v t="$ticks_per_second" -v s="$seconds" \
        'BEGIN { printf "%.1f\n", 100 * d / t / s }'
}

stop() {
    kill -TERM "$running" 2>/dev/null || true
    for _ in $(seq 50); do
        kill -0 "$running" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$running" 2>/dev/null || true
    wait "$running" 2>/dev/null || true
    running=""
}

tap() {
    xdotool keydown "$1"
    sleep 0.2
    xdotool keyup "$1"
}

median() {
    sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

for round in $(seq "$rounds"); do
    for i in "${!games[@]}"; do
        mkdir -p "$scratch/game$i"
        cp "${games[$i]}" "$scratch/game$i/quorvex"
        SDL_AUDIODRIVER=dummy "$scratch/game$i/quorvex" >"$scratch/game$i.log" 2>&1 &
        running=$!
        sleep 3
        tap space # skips the introduction
        sleep 2
        share "$running" >>"$scratch/title$i"
        tap space # starts a game
        sleep 1
        share "$running" >>"$scratch/play$i"
        stop
    done
    "$bench" --peer-paced "$peer_sprites" >"$scratch/peer.log" 2>&1 &
    running=$!
    sleep 2
    share "$running" >>"$scratch/peer"
    stop
    echo "round $round: title $(tail -n 1 -q "$scratch"/title* | tr '\n' ' ')" \
        "play $(tail -n 1 -q "$scratch"/play* | tr '\n' ' ')peer $(tail -n 1 "$scratch/peer")"
done

peer=$(median <"$scratch/peer")
echo "processor share, % of one core, medians of $rounds rounds of $seconds s:"
echo "peer ($peer_sprites blended 32x32 sprites at 60 Hz): $peer"
for i in "${!games[@]}"; do
    title=$(median <"$scratch/title$i")
    play=$(median <"$scratch/play$i")
    awk -v n="${games[$i]}" -v t="$title" -v p="$play" -v q="$peer" \
        'BEGIN { printf "%s: title %s (%.2f of the peer), play %s (%.2f of the peer)\n", n, t, t / q, p, p / q }'
done
