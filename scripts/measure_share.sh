#!/usr/bin/env bash
# Processor share of the game on its title screen and in play, beside the
# SDL_Renderer peer paced at 60 frames a second, in one virtual X server
# with software OpenGL (llvmpipe). Each round runs every game given, then
# the peer, one at a time; the report gives the medians over the rounds and
# each game's ratio to the peer. Several games side by side (say, an older
# build and a newer one) are measured under the same conditions.
#
# On a busy machine a program may not reach its frame rate, and then its
# share says little; so the frames shown are counted too (Mesa's heads-up
# display, kept invisible, writes them to a file) and the processor time per
# frame is reported beside the share.
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

# shellcheck source=scripts/xvfb.sh
. "$here/xvfb.sh"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/quorvex-share.XXXXXX")
running=""
cleanup() {
    stop_process "$running"
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

# measure PID HUD_DIR: "share fps" over the next SECONDS: the percent of one
# core the process uses, and the frames it shows a second.
measure() {
    local before after lines
    lines=$(cat "$2/fps" 2>/dev/null | wc -l)
    before=$(cpu_ticks "$1")
    sleep "$seconds"
    after=$(cpu_ticks "$1")
    local fps
    fps=$(tail -n +"$((lines + 1))" "$2/fps" 2>/dev/null | awk '{ s += $1; n++ } END { printf "%.1f", n ? s / n : 0 }')
    awk -v d=$((after - before)) -v t="$ticks_per_second" -v s="$seconds" -v f="$fps" \
        'BEGIN { printf "%.1f %s\n", 100 * d / t / s, f }'
}

# hud DIR: the environment that makes Mesa count a program's frames into
# DIR, for env.
hud() {
    mkdir -p "$1"
    echo GALLIUM_HUD_VISIBLE=false GALLIUM_HUD=fps GALLIUM_HUD_DUMP_DIR="$1"
}

stop() {
    stop_process "$running"
    running=""
}

tap() {
    xdotool keydown "$1"
    sleep 0.2
    xdotool keyup "$1"
}

# median COLUMN: the median of a column of numbers on standard input.
median() {
    awk -v c="$1" '{ print $c }' | sort -g |
        awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

for round in $(seq "$rounds"); do
    line="round $round:"
    for i in "${!games[@]}"; do
        mkdir -p "$scratch/game$i"
        cp "${games[$i]}" "$scratch/game$i/quorvex"
        hud="$scratch/hud-game$i-$round"
        # shellcheck disable=SC2046 # the words are meant to be split
        env $(hud "$hud") SDL_AUDIODRIVER=dummy "$scratch/game$i/quorvex" >"$scratch/game$i.log" 2>&1 &
        running=$!
        sleep 3
        tap space # skips the introduction
        sleep 2
        measure "$running" "$hud" >>"$scratch/title$i"
        tap space # starts a game
        sleep 1
        measure "$running" "$hud" >>"$scratch/play$i"
        stop
        line="$line game $i title $(tail -n 1 "$scratch/title$i"), play $(tail -n 1 "$scratch/play$i");"
    done
    hud="$scratch/hud-peer-$round"
    # shellcheck disable=SC2046
    env $(hud "$hud") "$bench" --peer-paced "$peer_sprites" >"$scratch/peer.log" 2>&1 &
    running=$!
    sleep 2
    measure "$running" "$hud" >>"$scratch/peer"
    stop
    echo "$line peer $(tail -n 1 "$scratch/peer")  (% of a core, frames a second)"
done

# Processor milliseconds per frame from a share and a frame rate.
per_frame() { awk -v s="$1" -v f="$2" 'BEGIN { printf "%.2f", (f > 0 ? 10 * s / f : 0) }'; }

peer=$(median 1 <"$scratch/peer")
peer_fps=$(median 2 <"$scratch/peer")
peer_ms=$(per_frame "$peer" "$peer_fps")
echo "medians of $rounds rounds of $seconds s: processor share in % of one core," \
    "frames a second, processor ms a frame"
echo "peer ($peer_sprites blended 32x32 sprites, paced at 60 Hz): $peer %, $peer_fps fps, $peer_ms ms"
for i in "${!games[@]}"; do
    echo "${games[$i]}:"
    for screen in title play; do
        share=$(median 1 <"$scratch/$screen$i")
        fps=$(median 2 <"$scratch/$screen$i")
        ms=$(per_frame "$share" "$fps")
        awk -v n="$screen" -v s="$share" -v f="$fps" -v m="$ms" -v ps="$peer" -v pm="$peer_ms" \
            'BEGIN { printf "  %-5s %s %%, %s fps, %s ms; share %.2f of the peer, ms a frame %.2f of the peer\n", n, s, f, m, s / ps, m / pm }'
    done
done
