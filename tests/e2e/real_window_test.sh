#!/usr/bin/env bash
# Starts the real game without a display, which must end it at once with a
# message. Then plays it in a virtual X server the way a player would: skips
# the introduction, checks the title screen, its music and the music key,
# plays a short game with firing and moving, pauses and resumes, loses the
# focus to another window and resumes once it is back, ends the game with
# Escape, waits for the game-over screen, types a name into the high-score
# table, quits, and checks the score file the game wrote. The screen is read
# from screenshots and the sound from the file SDL's disk audio driver
# writes.
#
#   real_window_test.sh GAME SCREEN_PROBE
#
# GAME is the release executable, SCREEN_PROBE the quorvex_screen_probe program.
# With QUORVEX_SCREENSHOT_DIR set, the screenshots of each screen are copied
# there (loading.png, title.png, playing.png, paused.png, gameover.png and,
# after a high score, name-entry.png).
# Exits 77 when Xvfb or xdotool is not installed.
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 GAME SCREEN_PROBE" >&2
    exit 2
fi
game_source=$(realpath "$1")
probe=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
test_name=real_window
# shellcheck source=x_session.sh
source "$here/x_session.sh"
[ -f "$game_source" ] || fail "$game_source does not exist"
other_window_pid=""

# ---- Without a display -----------------------------------------------------------

# Where no display can be reached the game must not run unseen: it says so,
# ends with status 1 and leaves its score file alone. A machine with a
# graphics device might show it on the console instead, so it is tried only
# where there is none.
if [ ! -e /dev/dri ]; then
    step="starting without a display"
    mkdir "$scratch/no-display"
    cp "$game_source" "$scratch/no-display/quorvex"
    printf '123\nKEEPME\n' >"$scratch/no-display/scores"
    cp "$scratch/no-display/scores" "$scratch/no-display-scores.before"
    no_display_status=0
    (
        cd /
        exec env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR -u SDL_VIDEODRIVER \
            timeout 30 "$scratch/no-display/quorvex"
    ) >"$scratch/no-display.out" 2>"$scratch/no-display.err" || no_display_status=$?
    [ "$no_display_status" -eq 1 ] ||
        fail "without a display the game ended with status $no_display_status, not 1: $(cat "$scratch/no-display.err")"
    grep -q '^Quorvex: Cannot reach a display: neither DISPLAY nor WAYLAND_DISPLAY is set' \
        "$scratch/no-display.err" ||
        fail "without a display the game did not say so: $(cat "$scratch/no-display.err")"
    cmp -s "$scratch/no-display/scores" "$scratch/no-display-scores.before" ||
        fail "without a display the game changed its score file"
    log "without a display the game ends with status 1: $(grep '^Quorvex:' "$scratch/no-display.err")"
fi

# ---- The X server and the game ----------------------------------------------

start_session_xvfb

# The game works in its executable's folder and reads and writes "scores"
# there. The table it starts with is the default one except for its last
# row, which any score beats, so the game always ends in name entry. The file
# has bare line feeds; the game writes its own back with CR LF.
cp "$game_source" "$scratch/quorvex"
for i in $(seq 0 8); do
    printf '%d\nTELMORAX\n' $((100000 - 10000 * i))
done >"$scratch/scores"
printf -- '-1\nNOBODY\n' >>"$scratch/scores"
typed_name="E2E-TEST"
audio="$scratch/audio.raw"
(
    # Started from elsewhere: the game moves into its own folder by itself.
    cd /
    export LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$audio"
    # SDL paces the disk driver at the buffer's own length, so the file
    # grows in real time.
    unset SDL_DISKAUDIODELAY
    exec "$scratch/quorvex"
) >"$scratch/game.log" 2>&1 &
game_pid=$!
log "the game runs as process $game_pid"

# Saves the last screenshot under a name, and exports it when asked to.
keep_shot() {
    cp "$last_shot" "$scratch/$1.png"
    if [ -n "${QUORVEX_SCREENSHOT_DIR:-}" ]; then
        mkdir -p "$QUORVEX_SCREENSHOT_DIR"
        convert "$last_shot" "png24:$QUORVEX_SCREENSHOT_DIR/$1.png"
    fi
    log "saved $1.png"
}

name_entry_screen=(
    "${title_like[@]}"
    "text 512 524 centre white >= 90 WELL DONE - YOU HAVE A HIGH SCORE"
    "text 512 554 centre white >= 90 PLEASE ENTER YOUR NAME IN THE TABLE"
    "count magenta 200 584 624 16 < 50"
)
# The last row of the table: the one the game starts with, and the one the
# name is typed into.
seeded_row=(
    "text 462 448 right yellow >= 90 -1"
    "text 478 448 left yellow >= 90 NOBODY"
)
typed_row=("text 478 448 left yellow >= 90 $typed_name")

# The play screen's status line: "SCORE", "HI-SCORE", the two numbers and
# "WAVE 1".
status_line=(
    "text 128 0 centre white >= 90 SCORE"
    "text 896 0 centre white >= 90 HI-SCORE"
    "count changed 0 16 256 32 >= 300"
    "count changed 768 16 256 32 >= 300"
    "text 0 752 left white >= 90 WAVE 1"
)
# A game going on: no title screen, and neither "PAUSED" nor "GAME OVER",
# which are centred on the middle of the screen over the aliens marching
# there.
game_running_screen=(
    "${status_line[@]}"
    "count magenta 200 524 624 76 < 50"
    "text 512 376 centre white < 50 PAUSED"
    "text 512 376 centre yellow < 50 GAME OVER"
)
# A new game: the ship in the middle of its row and, with three lives, two
# spare-life icons and no third.
new_game_screen=(
    "${game_running_screen[@]}"
    "count changed 480 704 64 32 >= 300"
    "count changed 960 752 32 16 >= 100"
    "count changed 992 752 32 16 >= 100"
    "count changed 928 752 32 16 < 60"
)
# The ship pushed against the right edge, and gone from the middle.
ship_at_right_screen=(
    "${game_running_screen[@]}"
    "count changed 960 704 64 32 >= 300"
    "count changed 480 704 64 32 < 100"
)
paused_screen=("text 512 376 centre white >= 90 PAUSED" "${status_line[@]}")
game_over_screen=("text 512 376 centre yellow >= 90 GAME OVER" "${status_line[@]}")

# ---- Reading the sound --------------------------------------------------------

bytes_per_frame=8
sox_encoding=(-e floating-point -b 32)

audio_size() { stat -c %s "$audio" 2>/dev/null || echo 0; }

# Waits until the capture holds at least BYTES bytes.
wait_for_audio() {
    local bytes=$1
    local deadline=$(($(date +%s) + 60))
    while [ "$(audio_size)" -lt "$bytes" ]; do
        game_running || game_ended
        [ "$(date +%s)" -lt "$deadline" ] || fail "the sound capture stopped growing"
        sleep 0.1
    done
}

# audio_stat FROM TO FIELD: sox's statistic ("RMS", "Maximum") of the
# captured samples between two byte offsets.
audio_stat() {
    local from=$(($1 / bytes_per_frame * bytes_per_frame))
    local length=$((($2 - from) / bytes_per_frame * bytes_per_frame))
    dd if="$audio" of="$scratch/segment.raw" iflag=skip_bytes,count_bytes \
        skip="$from" count="$length" status=none
    sox -t raw "${sox_encoding[@]}" -c 2 -r 44100 "$scratch/segment.raw" -n stat 2>&1 |
        awk -v field="$3" '$1 == field && $2 == "amplitude:" { print $3 }'
}

# compare VALUE OP LIMIT for decimal numbers.
compare() { awk -v v="$1" -v l="$3" "BEGIN { exit !(v $2 l) }"; }

# audio_after SECONDS: sets audio_from and audio_to to the byte offsets of
# the next SECONDS of sound, from a quarter second after now, once they are
# captured.
audio_after() {
    local bytes_per_second=$((44100 * bytes_per_frame))
    audio_from=$(($(audio_size) + bytes_per_second / 4))
    audio_to=$(awk -v f="$audio_from" -v s="$1" -v r="$bytes_per_second" \
        'BEGIN { printf "%d", f + s * r }')
    wait_for_audio "$audio_to"
}

# ---- The run --------------------------------------------------------------------

step="waiting for the loading screen"
wait_for 60 "${loading_screen[@]}"
keep_shot loading
log "the loading screen shows"

step="skipping the introduction"
xdotool key --delay 100 space
wait_for 60 "${title_screen[@]}" "${seeded_row[@]}"
keep_shot title
log "the title screen shows"

step="measuring the sound capture on the title screen"
wait_for_audio 1
size_before=$(audio_size)
time_before=$(date +%s%3N)
sleep 2
size_after=$(audio_size)
time_after=$(date +%s%3N)
rate=$(((size_after - size_before) * 1000 / (time_after - time_before)))
# 44100 stereo frames a second: 352800 bytes as float32, 176400 as s16.
if [ "$rate" -ge 250000 ] && [ "$rate" -le 450000 ]; then
    bytes_per_frame=8
    sox_encoding=(-e floating-point -b 32)
elif [ "$rate" -ge 120000 ] && [ "$rate" -lt 250000 ]; then
    bytes_per_frame=4
    sox_encoding=(-e signed-integer -b 16)
else
    fail "the sound capture grows by $rate bytes a second, neither float32 nor s16 stereo at 44.1 kHz"
fi
log "the sound capture grows by $rate bytes a second: $((bytes_per_frame * 4)) bits a frame"
music_rms=$(audio_stat "$size_before" "$size_after" RMS)
music_peak=$(audio_stat "$size_before" "$size_after" Maximum)
log "music on the title screen: RMS $music_rms, peak $music_peak"
compare "$music_rms" ">=" 0.005 || fail "the title screen is silent (RMS $music_rms): no music"
compare "$music_peak" "<=" 2 || fail "the captured samples are not sound (peak $music_peak)"

step="turning the music off with M"
xdotool key --delay 100 m
audio_after 1
quiet_rms=$(audio_stat "$audio_from" "$audio_to" RMS)
log "title screen with the music off: RMS $quiet_rms"
compare "$quiet_rms" "<" 0.0005 || fail "the music still plays after M (RMS $quiet_rms)"

step="starting a game with Space"
xdotool keydown space
sleep 0.2
xdotool keyup space
wait_for 60 "${new_game_screen[@]}"
log "the play screen shows"

# The wave marches in from the left, so for the first seconds of a game no
# bomb can reach the ship at the right edge.
step="moving the ship to the right"
xdotool keydown Right
sleep 1.2
xdotool keyup Right
wait_for 60 "${ship_at_right_screen[@]}"
log "the ship has moved to the right edge"

step="firing"
fire_from=$(audio_size)
xdotool keydown space
sleep 1.5
xdotool keyup space
audio_after 0.5
fire_rms=$(audio_stat "$fire_from" "$audio_to" RMS)
log "while firing: RMS $fire_rms"
compare "$fire_rms" ">=" 0.005 || fail "firing made no sound (RMS $fire_rms)"
wait_for 60 "${game_running_screen[@]}"
keep_shot playing

step="pausing with P"
xdotool keydown p
sleep 0.3
xdotool keyup p
wait_for 60 "${paused_screen[@]}"
keep_shot paused
log "the game is paused"

step="resuming with P"
xdotool keydown p
sleep 0.3
xdotool keyup p
wait_for 60 "${game_running_screen[@]}"
log "the game goes on"

# Another window, placed clear of the status line and the overlay, takes
# the keyboard focus: the game pauses by itself.
step="losing the focus to another window"
game_window=$(timeout 30 xdotool search --sync --name '^Quorvex$' | head -n 1)
[ -n "$game_window" ] || fail "the game's window cannot be found"
xlogo -geometry 120x120+700+120 >"$scratch/xlogo.log" 2>&1 &
other_window_pid=$!
other_window=$(timeout 30 xdotool search --sync --class xlogo | head -n 1)
[ -n "$other_window" ] || fail "the other window did not appear"
xdotool windowfocus --sync "$other_window"
wait_for 60 "${paused_screen[@]}"
log "the game paused when the other window took the focus"

step="resuming with P once the focus is back"
xdotool windowfocus --sync "$game_window"
stop_process "$other_window_pid"
other_window_pid=""
xdotool keydown p
sleep 0.3
xdotool keyup p
wait_for 60 "${game_running_screen[@]}"
log "the game goes on with the focus back"

# The game-over screen lasts only 3 s.
step="ending the game with Escape"
xdotool key --delay 100 Escape
wait_for 60 "${game_over_screen[@]}"
keep_shot gameover
log "the game-over screen shows"

step="waiting for the name entry after the game"
wait_for 60 "${name_entry_screen[@]}"
log "the name entry shows"

# Lower case comes out in capitals, and Backspace takes back the last letter.
step="typing a name for the high score"
xdotool type --delay 150 "e2e-Testx"
xdotool key --delay 100 BackSpace
wait_for 60 "${name_entry_screen[@]}" "${typed_row[@]}"
keep_shot name-entry
log "the typed name shows in the table"
xdotool key --delay 100 Return
wait_for 60 "${title_screen[@]}" "${typed_row[@]}"
cp "$last_shot" "$scratch/title-after.png"
log "the title screen is back"

step="turning the music on again with M"
xdotool key --delay 100 m
audio_after 1
again_rms=$(audio_stat "$audio_from" "$audio_to" RMS)
log "title screen with the music on again: RMS $again_rms"
compare "$again_rms" ">=" 0.005 || fail "the music did not come back after M (RMS $again_rms)"

quit_from_title

step="checking the score file"
scores="$scratch/scores"
[ -f "$scores" ] || fail "no score file was written"
[ "$(wc -l <"$scores")" -eq 20 ] || fail "the score file has $(wc -l <"$scores") lines, not 20"
[ "$(grep -c $'\r$' "$scores")" -eq 20 ] || fail "not every line of the score file ends in CR LF"
# The game's score, far below the other rows, took the last one.
expected=""
for i in $(seq 0 8); do
    expected+="$((100000 - 10000 * i))"$'\r\n'"TELMORAX"$'\r\n'
done
[ "$(head -n 18 "$scores")" = "$(printf %s "$expected")" ] ||
    fail "the first nine rows of the score file are not the default ones: $(tr '\r\n' '| ' <"$scores")"
new_score=$(sed -n 19p "$scores" | tr -d '\r')
[[ "$new_score" =~ ^[0-9]+$ ]] || fail "the last row's score is not the game's: $new_score"
[ "$(sed -n 20p "$scores")" = "$typed_name"$'\r' ] ||
    fail "the last row's name is not \"$typed_name\": $(sed -n 20p "$scores" | tr -d '\r')"
last_shot="$scratch/title-after.png"
screen "text 462 448 right yellow >= 90 $new_score" ||
    fail "the title screen after the game did not show the score $new_score in the last row"
log "the score file holds the table with the new row $new_score $typed_name"

passed=1
log "passed"
