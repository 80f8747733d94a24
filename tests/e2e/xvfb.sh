# Shared by the scripts that play the real game in a virtual X server.
# Sourced, not run; the sourcing script defines fail MESSAGE.

# Ends a process the script started: politely first, then for certain.
stop_process() {
    local pid=$1
    if [ -z "$pid" ] || ! kill -0 "$pid" 2>/dev/null; then
        return 0
    fi
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

# start_xvfb FOLDER: starts Xvfb, sets xvfb_pid and exports DISPLAY.
# -displayfd makes Xvfb take the first free display number and write it once
# the server accepts clients, so parallel runs never collide.
start_xvfb() {
    local folder=$1
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -br \
        3>"$folder/display" >"$folder/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 300); do
        if grep -q '^[0-9][0-9]*$' "$folder/display" 2>/dev/null; then
            break
        fi
        kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb ended: $(cat "$folder/xvfb.log")"
        sleep 0.1
    done
    grep -q '^[0-9][0-9]*$' "$folder/display" || fail "Xvfb named no display within 30 s"
    DISPLAY=":$(cat "$folder/display")"
    export DISPLAY
}

# install_cleanup NAME: at exit, stops the game and Xvfb and removes the
# scratch folder if the script passed, else keeps it for a look. Reads
# game_pid, xvfb_pid, passed and scratch.
install_cleanup() {
    cleanup_name=$1
    trap cleanup EXIT
    trap 'exit 130' INT TERM
}
cleanup() {
    stop_process "$game_pid"
    stop_process "$xvfb_pid"
    if [ "$passed" -eq 1 ]; then
        rm -rf "$scratch"
    else
        echo "$cleanup_name: files kept in $scratch" >&2
    fi
}
