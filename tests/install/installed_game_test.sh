#!/usr/bin/env bash
# Runs the staged, installed game in a virtual X server as a player who may
# not write into the installed tree: as the user nobody when run as root,
# otherwise in a tree made read-only. The player skips the introduction and
# quits from the title screen with Escape; the high-score table must then be
# in the player's own data folder, and nothing in the tree may have changed.
#
#   installed_game_test.sh STAGE SCREEN_PROBE
#
# STAGE is the tree the staged-install test made (with usr/ inside it),
# SCREEN_PROBE the quorvex_screen_probe program.
# Exits 77 when Xvfb or xdotool is not installed.
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 STAGE SCREEN_PROBE" >&2
    exit 2
fi
stage=$(realpath "$1")
probe=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
test_name=installed_game
# shellcheck source=../e2e/x_session.sh
source "$here/../e2e/x_session.sh"
[ -x "$stage/usr/games/quorvex" ] || fail "$stage holds no staged game"

# ---- The installed tree and the player ------------------------------------------

# A copy of the staged tree where every user can reach it, whatever the
# folders above the build allow.
chmod 755 "$scratch"
root="$scratch/root"
cp -a "$stage" "$root"
chmod -R u+w,go+rX,go-w "$root"
home="$scratch/home"
mkdir "$home"
if [ "$(id -u)" -eq 0 ]; then
    player_uid=65534
    chown "$player_uid:$player_uid" "$home"
    as_player=(setpriv --reuid="$player_uid" --regid="$player_uid" --clear-groups)
else
    # The owner of a read-only tree cannot write into it either.
    player_uid=$(id -u)
    chmod -R a-w "$root"
    as_player=()
fi
snapshot() { (cd "$root" && find . -printf '%p %y %s %m %T@\n' | sort); }
snapshot >"$scratch/tree-before"

start_session_xvfb

step="starting the installed game"
(
    cd /
    exec "${as_player[@]}" env -i HOME="$home" PATH=/usr/bin:/bin DISPLAY="$DISPLAY" \
        LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy "$root/usr/games/quorvex"
) >"$scratch/game.log" 2>&1 &
game_pid=$!
log "the installed game runs as process $game_pid, user $player_uid"

# ---- The run ----------------------------------------------------------------------

step="waiting for the loading screen"
wait_for 60 "${loading_screen[@]}"
step="skipping the introduction with Escape"
xdotool key --delay 100 Escape
wait_for 60 "${title_screen[@]}"
log "the title screen shows"

quit_from_title

# ---- Where the table went -----------------------------------------------------------

step="checking the player's table"
scores="$home/.local/share/quorvex/scores"
[ -f "$scores" ] || fail "no table in the player's data folder: $(cd "$home" && find . | tr '\n' ' ')"
[ "$(stat -c %u "$scores")" -eq "$player_uid" ] || fail "the table does not belong to the player"
expected=""
for i in $(seq 0 9); do
    expected+="$((100000 - 10000 * i))"$'\r\n'"TELMORAX"$'\r\n'
done
[ "$(cat "$scores")" = "$(printf %s "$expected")" ] ||
    fail "the player's table is not the default one: $(tr '\r\n' '| ' <"$scores")"
[ ! -e "$scores.saving" ] || fail "the temporary file of the save was left behind"
log "the table is in the player's data folder"

step="checking the installed tree"
snapshot >"$scratch/tree-after"
diff "$scratch/tree-before" "$scratch/tree-after" >"$scratch/tree-changes" ||
    fail "the game changed the installed tree:"$'\n'"$(cat "$scratch/tree-changes")"
log "nothing was written into the installed tree"

chmod -R u+w "$root"
passed=1
log "passed"
