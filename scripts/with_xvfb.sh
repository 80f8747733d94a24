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

# shellcheck source=scripts/xvfb.sh
. "$(dirname "$0")/xvfb.sh"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/quorvex-xvfb.XXXXXX")
xvfb_pid=""
cleanup() {
    stop_process "$xvfb_pid"
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
    echo "with_xvfb: $*" >&2
    exit 1
}
start_xvfb "$scratch"

status=0
LIBGL_ALWAYS_SOFTWARE=1 "$@" || status=$?
exit "$status"
