# Shell helpers for the scripts that start processes of their own, a
# virtual X server among them. Sourced, not run; start_xvfb calls the
# sourcing script's fail MESSAGE when the server does not come up.

# stop_process PID: ends a process this script started, politely first,
# then for certain. Nothing happens when PID is empty or already gone.
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

# start_xvfb FOLDER: starts Xvfb at 1024x768, sets xvfb_pid and exports
# DISPLAY. -displayfd makes Xvfb take the first free display number and
# write it once the server accepts clients, so parallel runs never collide.
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
