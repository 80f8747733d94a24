#!/usr/bin/env bash
# Shared by the tests that run the real game in a virtual X server: the
# tools they need, a scratch folder that is removed when the test passes,
# the X server, screenshots read by the screen probe, and waiting for a
# screen. Sourced after setting test_name (the name in messages) and probe
# (the quorvex_screen_probe program); the test sets game_pid when it starts
# the game, step as it goes, and passed=1 at its end.
# Exits 77 when Xvfb or xdotool is not installed.

x_session_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../scripts/xvfb.sh
source "$x_session_here/../../scripts/xvfb.sh"
background="$x_session_here/../../gfx/space.png"
font="$x_session_here/../../gfx/font.png"

for program in Xvfb xdotool; do
    if ! command -v "$program" >/dev/null 2>&1; then
        echo "SKIPPED: $program is not installed"
        exit 77
    fi
done
for program in xwd xlogo convert sox dd; do
    if ! command -v "$program" >/dev/null 2>&1; then
        echo "$test_name: $program is not installed (scripts/install-deps.sh installs it)" >&2
        exit 1
    fi
done
for file in "$probe" "$background" "$font"; do
    if [ ! -f "$file" ]; then
        echo "$test_name: $file does not exist" >&2
        exit 1
    fi
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/quorvex-$test_name.XXXXXX")
xvfb_pid=""
game_pid=""
game_status=""
last_shot="(none yet)"
step="setting up"
passed=0
started_ms=$(date +%s%3N)

log() {
    echo "$test_name: [$(($(date +%s%3N) - started_ms)) ms] $*"
}

cleanup() {
    stop_process "${other_window_pid:-}"
    stop_process "$game_pid"
    stop_process "$xvfb_pid"
    if [ "$passed" -eq 1 ]; then
        rm -rf "$scratch"
    else
        echo "$test_name: files kept in $scratch" >&2
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
    echo "$test_name: FAILED while $step: $*" >&2
    echo "$test_name: last screenshot: $last_shot" >&2
    if [ -s "$scratch/game.log" ]; then
        echo "$test_name: the game printed:" >&2
        sed 's/^/    /' "$scratch/game.log" >&2
    fi
    exit 1
}

# Starts the X server and points DISPLAY at it.
start_session_xvfb() {
    step="starting Xvfb"
    start_xvfb "$scratch"
    log "Xvfb runs on $DISPLAY"
}

# ---- Reading the screen -------------------------------------------------------

shot_number=0

# Takes a screenshot into $scratch and sets last_shot to its path. Light
# compression keeps the polling quick.
take_shot() {
    shot_number=$((shot_number + 1))
    local path
    path="$scratch/shot-$(printf %04d "$shot_number").png"
    if ! timeout 30 xwd -root -silent -display "$DISPLAY" >"$scratch/screen.xwd" \
        2>>"$scratch/capture.log" ||
        ! timeout 30 convert "xwd:$scratch/screen.xwd" -quality 10 "png24:$path" \
            2>>"$scratch/capture.log"; then
        return 1
    fi
    last_shot=$path
    # Only the newest few are kept; the named screens are copied aside.
    rm -f "$scratch/shot-$(printf %04d $((shot_number - 5))).png"
}

# screen CHECK...: whether the last screenshot passes every check (see
# screen_probe.cpp); the checks it fails are kept in mismatch.
screen() {
    local status=0
    mismatch=$("$probe" "$last_shot" "$background" "$font" "$@") || status=$?
    [ "$status" -le 1 ] || fail "the screen probe cannot use the checks: $*"
    [ "$status" -eq 0 ]
}

game_running() { kill -0 "$game_pid" 2>/dev/null; }
game_ended() {
    local status=0
    wait "$game_pid" || status=$?
    game_pid=""
    fail "the game ended unexpectedly with status $status"
}

# wait_for SECONDS CHECK...: takes screenshots until one passes the checks.
# Fails when the time runs out or the game ends.
wait_for() {
    local limit=$1
    shift
    local deadline=$(($(date +%s) + limit))
    mismatch="no screenshot could be taken"
    while :; do
        game_running || game_ended
        if take_shot && screen "$@"; then
            return 0
        fi
        [ "$(date +%s)" -lt "$deadline" ] ||
            fail "the screen did not show it within $limit s; the last screenshot failed:"$'\n'"$mismatch"
        sleep 0.1
    done
}

# Quits from the title screen with Escape; the game must end with status 0.
quit_from_title() {
    step="quitting with Escape"
    xdotool key --delay 100 Escape
    deadline=$(($(date +%s) + 30))
    while game_running; do
        [ "$(date +%s)" -lt "$deadline" ] || fail "the game did not end within 30 s"
        sleep 0.1
    done
    game_status=0
    wait "$game_pid" || game_status=$?
    game_pid=""
    [ "$game_status" -eq 0 ] || fail "the game ended with status $game_status"
    log "the game ended with status 0"
}

# The loading screen: on black, the web address at the bottom-left and the
# version at the bottom-right in the built-in font; the top part, above the
# large logo, stays empty.
loading_screen=(
    "count lit 0 752 512 16 >= 20"
    "count lit 960 752 64 16 >= 10"
    "count lit 0 0 1024 200 < 20"
)

# Shared by the title and name-entry screens: the yellow table with its row
# numbers ending at x 334, the cyan credits, and the banner and the small
# logo over the backdrop.
title_like=(
    "count yellow 300 160 400 304 >= 300"
    "text 334 160 right yellow >= 90 1"
    "text 334 448 right yellow >= 90 10"
    "count cyan 16 688 584 56 >= 200"
    "count changed 269 40 486 49 >= 500"
    "count changed 880 667 128 85 >= 500"
)
title_screen=(
    "${title_like[@]}"
    "text 512 524 centre magenta >= 90 USE Z & X OR CURSOR KEYS TO MOVE"
    "text 512 554 centre magenta >= 90 PRESS SPACE TO FIRE AND START GAME"
    "text 512 584 centre magenta >= 90 PRESS M TO TOGGLE MUSIC"
)
