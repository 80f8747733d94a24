#!/usr/bin/env bash
# Measures, in one virtual X server and alternating round by round, how long
# the game takes from exec to its title screen with Escape pressed at once,
# and its resident memory in play, against a bare SDL2 + OpenGL window: the
# window's first shown frame and its memory are the floor. The games' own
# first frame (the opened display) is shown beside.
#
#   scripts/measure_startup.sh BUILD_DIR GAME [GAME...]
#
# BUILD_DIR holds bench/startup (quorvex_bare_window, libquorvex_swap_clock.so);
# make bench builds them. ROUNDS (default 6) sets the number of rounds. Each
# game's figures are medians over the rounds, with their ratio to the floor.
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 BUILD_DIR GAME [GAME...]" >&2
    exit 2
fi
build=$(realpath "$1")
shift
floor="$build/bench/startup/quorvex_bare_window"
shim="$build/bench/startup/libquorvex_swap_clock.so"
rounds=${ROUNDS:-6}
for file in "$floor" "$shim" "$@"; do
    [ -x "$file" ] || [ -f "$file" ] || { echo "$0: $file is missing" >&2; exit 1; }
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/quorvex-startup.XXXXXX")
xvfb_pid=""
program_pid=""
# shellcheck source=scripts/xvfb.sh
. "$(dirname "$0")/xvfb.sh"
cleanup() {
    stop_process "$program_pid"
    stop_process "$xvfb_pid"
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
    echo "measure_startup: $*" >&2
    exit 1
}

start_xvfb "$scratch"
export SDL_AUDIODRIVER=dummy

# launch PROGRAM: starts it in its own folder with the frame clock preloaded.
launch() {
    local program=$1
    rm -f "$scratch/swaps"
    mkdir -p "$scratch/run"
    cp "$program" "$scratch/run/program"
    rm -f "$scratch/run/scores"
    (
        cd "$scratch/run"
        export SWAP_CLOCK_LOG="$scratch/swaps" LD_PRELOAD="$shim"
        export SWAP_CLOCK_START_US=${EPOCHREALTIME/./}
        exec ./program
    ) >/dev/null 2>&1 &
    program_pid=$!
}

swaps() { [ -f "$scratch/swaps" ] && wc -l <"$scratch/swaps" || echo 0; }

# press_until KEY COUNT: presses KEY over and over until COUNT frames were
# shown (or 30 s passed).
press_until() {
    local deadline=$((SECONDS + 30))
    while [ "$(swaps)" -lt "$2" ] && [ $SECONDS -lt $deadline ]; do
        xdotool key "$1" 2>/dev/null || true
        sleep 0.01
    done
}

# memory: resident and peak resident KiB of the running program.
memory() {
    awk '/^VmRSS:/ { rss = $2 } /^VmHWM:/ { hwm = $2 } END { print rss, hwm }' \
        "/proc/$program_pid/status"
}

finish() {
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
    program_pid=""
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

names=("floor" "$@")
for round in $(seq "$rounds"); do
    # The floor: its first frame, then its memory a little later.
    launch "$floor"
    while [ "$(swaps)" -lt 1 ]; do sleep 0.005; done
    head -1 "$scratch/swaps" >>"$scratch/start.0"
    sleep 2
    memory >>"$scratch/memory.0"
    finish

    index=1
    for game in "$@"; do
        # Exec to title: the display shows a cleared frame when it opens,
        # then the loading screen, then the title once Escape has ended the
        # introduction.
        launch "$game"
        press_until Escape 3
        sed -n 3p "$scratch/swaps" >>"$scratch/start.$index"
        sed -n 1p "$scratch/swaps" >>"$scratch/first.$index"
        finish
        # Memory in play: Space ends the introduction and starts a game.
        launch "$game"
        press_until space 3
        for _ in $(seq 20); do xdotool key space 2>/dev/null || true; sleep 0.05; done
        sleep 2
        memory >>"$scratch/memory.$index"
        finish
        index=$((index + 1))
    done
    echo "round $round of $rounds:" $(for i in $(seq 0 $#); do tail -1 "$scratch/start.$i"; done) \
        "us;" $(for i in $(seq 0 $#); do tail -1 "$scratch/memory.$i"; done) "KiB" >&2
done

floor_start=$(median <"$scratch/start.0")
floor_rss=$(cut -d' ' -f1 "$scratch/memory.0" | median)
floor_peak=$(cut -d' ' -f2 "$scratch/memory.0" | median)
printf '%-44s %14s %8s %16s %12s %12s\n' program "start-up (ms)" ratio "resident (MiB)" "peak (MiB)" \
    "first (ms)"
awk -v s="$floor_start" -v r="$floor_rss" -v p="$floor_peak" 'BEGIN {
    printf "%-44s %14.1f %8.2f %16.1f %12.1f %12.1f\n", "bare SDL2 + GL window (first frame)",
        s / 1000, 1, r / 1024, p / 1024, s / 1000 }'
index=1
for game in "$@"; do
    start=$(median <"$scratch/start.$index")
    rss=$(cut -d' ' -f1 "$scratch/memory.$index" | median)
    peak=$(cut -d' ' -f2 "$scratch/memory.$index" | median)
    first=$(median <"$scratch/first.$index")
    awk -v f="$first" -v name="$game (title; above the window)" -v s="$start" -v fs="$floor_start" \
        -v r="$rss" -v fr="$floor_rss" -v p="$peak" -v fp="$floor_peak" 'BEGIN {
        printf "%-44s %14.1f %8.2f %+16.1f %+12.1f %12.1f\n", name, s / 1000, s / fs,
            (r - fr) / 1024, (p - fp) / 1024, f / 1000 }'
    index=$((index + 1))
done
