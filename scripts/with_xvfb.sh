#!/usr/bin/env bash
# Runs a command in a virtual X server of its own at 1024x768, drawing with
# Mesa's software OpenGL (llvmpipe), and exits with the command's status.
# Xvfb picks a free display number itself (-displayfd), so several of these
# can run side by side.
#
#   with_xvfb.sh COMMAND [ARGUMENT...]
#
# Exits 77 when Xvfb is not installed.
set -euo pipefail

if [ $# -lt 1 ]; then
    echo "usage: $0 COMMAND [ARGUMENT...]" >&2
    exit 2
fi
if ! command -v Xvfb >/dev/null 2>&1; then
    echo "SKIPPED: Xvfb is not installed"
    exit 77
fi

# shellcheck source=scripts/processes.sh
. "$(dirname "$0")/processes.sh"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/quorvex-xvfb.XXXXXX")
xvfb_pid=""
cleanup() {
    stop_process "$xvfb_pid"
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -br \
    3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 300); do
    grep -q '^[0-9][0-9]*$' "$scratch/display" 2>/dev/null && break
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
        echo "with_xvfb: Xvfb ended: $(cat "$scratch/xvfb.log")" >&2
        exit 1
    fi
    sleep 0.1
done
if ! grep -q '^[0-9][0-9]*$' "$scratch/display"; then
    echo "with_xvfb: Xvfb named no display within 30 s" >&2
    exit 1
fi

status=0
DISPLAY=":$(cat "$scratch/display")" LIBGL_ALWAYS_SOFTWARE=1 "$@" || status=$?
exit "$status"
