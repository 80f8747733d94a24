#!/usr/bin/env bash
# Plays the real game in a virtual X server with random keys held for random
# times, for a set time. Whenever the game quits, it checks that the exit
# status is 0, that no sanitizer report was written (for a sanitizer build)
# and that the score file is 20 lines ending in CR LF, then starts the game
# again. At the end the game must still quit on Escape.
#
#   random_play.sh GAME [SECONDS]      SECONDS defaults to 180
#
# Exits 77 when Xvfb or xdotool is not installed.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 GAME [SECONDS]" >&2
    exit 2
fi
game_source=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
seconds=${2:-180}
[ -f "$game_source" ] || { echo "random_play: $game_source does not exist" >&2; exit 1; }
for program in Xvfb xdotool; do
    if ! command -v "$program" >/dev/null 2>&1; then
        echo "SKIPPED: $program is not installed"
        exit 77
    fi
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/quorvex-random-play.XXXXXX")
xvfb_pid=""
game_pid=""
passed=0
sessions=0
keys_sent=0

# shellcheck source=../../scripts/xvfb.sh
. "$here/../../scripts/xvfb.sh"

cleanup() {
    stop_process "$game_pid"
    stop_process "$xvfb_pid"
    if [ "$passed" -eq 1 ]; then
        rm -rf "$scratch"
    else
        echo "random_play: files kept in $scratch" >&2
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
    echo "random_play: FAILED in session $((sessions + 1)): $*" >&2
    if [ -s "$scratch/game.log" ]; then
        echo "random_play: the game printed:" >&2
        tail -n 60 "$scratch/game.log" | sed 's/^/    /' >&2
    fi
    exit 1
}

start_xvfb "$scratch"

# The game reads and writes "scores" beside its executable.
cp "$game_source" "$scratch/quorvex"

start_game() {
    : >"$scratch/game.log"
    (
        cd /
        export LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null
        # A sanitizer build writes any report into files beside the log.
        # No leak check here: SDL loads and unloads D-Bus, whose leftovers
        # cannot be told apart once it is gone. The game's own code is
        # checked for leaks by the test suite and the headless soak.
        export ASAN_OPTIONS="log_path=$scratch/sanitizer:detect_leaks=0"
        export UBSAN_OPTIONS="log_path=$scratch/sanitizer"
        exec "$scratch/quorvex"
    ) >"$scratch/game.log" 2>&1 &
    game_pid=$!
}

# Checks what a quit left behind: status 0, no report, a whole score file.
check_quit() {
    local status=0
    wait "$game_pid" || status=$?
    game_pid=""
    [ "$status" -eq 0 ] || fail "the game ended with status $status"
    if ls "$scratch"/sanitizer.* >/dev/null 2>&1; then
        cat "$scratch"/sanitizer.* >&2
        fail "a sanitizer report was written"
    fi
    if grep -q -e 'runtime error' -e 'Sanitizer' "$scratch/game.log"; then
        fail "the game printed a sanitizer report"
    fi
    local lines crlf
    lines=$(wc -l <"$scratch/scores")
    crlf=$(grep -c $'\r$' "$scratch/scores" || true)
    [ "$lines" -eq 20 ] && [ "$crlf" -eq 20 ] && [ "$(tail -c 2 "$scratch/scores" | od -An -c | tr -d ' ')" = '\r\n' ] ||
        fail "the score file is not 20 CR LF lines: $(od -c "$scratch/scores" | head -20)"
    sessions=$((sessions + 1))
}

# The keys a player uses, Escape rarer than the others so that sessions
# last a while; now and then a letter or a digit for a name.
keys=(Left Right Left Right z x space space space p Alt_L m Return BackSpace a e 7 period minus)
random_key() {
    if [ $((RANDOM % 40)) -eq 0 ]; then
        echo Escape
    else
        echo "${keys[RANDOM % ${#keys[@]}]}"
    fi
}

# Holds one or two random keys for a random time, then lets them go.
press_random() {
    local first second hold
    first=$(random_key)
    second=$(random_key)
    hold=$(printf '0.%03d' $((RANDOM % 1000)))
    xdotool keydown "$first" 2>/dev/null || true
    if [ $((RANDOM % 3)) -eq 0 ]; then
        xdotool keydown "$second" 2>/dev/null || true
    fi
    sleep "$hold"
    xdotool keyup "$first" "$second" 2>/dev/null || true
    keys_sent=$((keys_sent + 1))
    sleep "$(printf '0.%03d' $((RANDOM % 200)))"
}

RANDOM=$$
started=$(date +%s)
deadline=$((started + seconds))
start_game
while [ "$(date +%s)" -lt "$deadline" ]; do
    if ! kill -0 "$game_pid" 2>/dev/null; then
        check_quit
        start_game
        continue
    fi
    press_random
done

# The end: Escape must still lead out of whatever screen the game is on
# (Return finishes a name entry, the game-over screen passes by itself).
for round in $(seq 120); do
    kill -0 "$game_pid" 2>/dev/null || break
    xdotool key Escape 2>/dev/null || true
    sleep 0.4
    if [ $((round % 4)) -eq 0 ]; then
        xdotool key Return 2>/dev/null || true
    fi
done
kill -0 "$game_pid" 2>/dev/null && fail "the game did not quit on Escape at the end"
check_quit

passed=1
echo "random_play: $(($(date +%s) - started)) s of random play, $keys_sent key presses, $sessions sessions, every quit clean"
