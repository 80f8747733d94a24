#!/usr/bin/env bash
# Stages an install the way a packager does, make install PREFIX=/usr
# DESTDIR=STAGE, and checks what it put there with the tools desktops and
# distributions use: the menu entry and the metadata validate, the manual
# page renders without warnings, and the icons are there at their sizes.
#
#   staged_install_test.sh SOURCE STAGE
#
# SOURCE is the project folder, STAGE the folder to stage into (emptied
# first; the installed-game test runs the game from it).
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 SOURCE STAGE" >&2
    exit 2
fi
source_dir=$(realpath "$1")
stage=$(realpath -m "$2")
app_id=example.quorvex.Quorvex
failures=0

fail() {
    echo "staged_install: FAILED: $*" >&2
    failures=$((failures + 1))
}

for program in desktop-file-validate appstreamcli man identify; do
    if ! command -v "$program" >/dev/null 2>&1; then
        echo "staged_install: $program is not installed (scripts/install-deps.sh installs it)" >&2
        exit 1
    fi
done

rm -rf "$stage"
# The outer make's job server is not ours to use.
if ! env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL \
    make -C "$source_dir" --no-print-directory install PREFIX=/usr DESTDIR="$stage" \
    >"$stage.log" 2>&1; then
    cat "$stage.log" >&2
    echo "staged_install: FAILED: make install did not succeed" >&2
    exit 1
fi
usr="$stage/usr"

# Everything lands under the prefix, and each file where it belongs.
outside=$(find "$stage" -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$outside" ] || fail "installed outside the prefix: $outside"
[ -x "$usr/games/quorvex" ] || fail "no executable usr/games/quorvex"
for file in "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
    share/man/man6/quorvex.6.gz share/doc/quorvex/README.md share/doc/quorvex/LICENSE \
    share/doc/quorvex/copyright share/doc/quorvex/changelog.gz \
    share/doc/quorvex/docs/title.png; do
    [ -s "$usr/$file" ] || fail "no usr/$file"
done

# The menu entry: valid, in the games menu, starting the installed game
# with its icon.
desktop="$usr/share/applications/$app_id.desktop"
if [ -f "$desktop" ]; then
    said=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate failed"
    [ -z "$said" ] || fail "desktop-file-validate said: $said"
    grep -qx 'Categories=Game;ArcadeGame;' "$desktop" || fail "the menu entry is not in Game;ArcadeGame;"
    grep -qx 'Exec=quorvex' "$desktop" || fail "the menu entry does not start quorvex"
    grep -qx "Icon=$app_id" "$desktop" || fail "the menu entry's icon is not $app_id"
fi

# The metadata: valid without warnings, naming the same application.
metainfo="$usr/share/metainfo/$app_id.metainfo.xml"
if [ -f "$metainfo" ]; then
    said=$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1) ||
        fail "appstreamcli validate failed: $said"
    if grep -q '^[EW]:' <<<"$said"; then
        fail "appstreamcli validate warned: $said"
    fi
    grep -q "<id>$app_id</id>" "$metainfo" || fail "the metadata's id is not $app_id"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fail "the metadata does not launch $app_id.desktop"
    grep -q '<release version="1.31"' "$metainfo" || fail "the metadata has no release 1.31"
    grep -q '<content_rating type="oars-' "$metainfo" || fail "the metadata has no OARS rating"
fi

# The manual page renders without a warning.
manual="$usr/share/man/man6/quorvex.6.gz"
if [ -f "$manual" ]; then
    rendered=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$manual" 2>"$stage.man-warnings") ||
        fail "man could not render the manual page"
    [ ! -s "$stage.man-warnings" ] || fail "man warned: $(cat "$stage.man-warnings")"
    for section in NAME SYNOPSIS DESCRIPTION KEYS CONTROLLER FILES "EXIT STATUS"; do
        grep -qx "$section" <<<"$rendered" || fail "the manual page has no $section section"
    done
fi

# The icons, each at its size.
for size in 16 32 48 64 128 256; do
    icon="$usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
    if [ ! -f "$icon" ]; then
        fail "no ${size}x$size icon"
        continue
    fi
    actual=$(identify -format '%wx%h %m' "$icon")
    [ "$actual" = "${size}x$size PNG" ] || fail "the ${size}x$size icon is $actual"
done

if [ "$failures" -ne 0 ]; then
    echo "staged_install: $failures checks failed; the staged tree is in $stage" >&2
    exit 1
fi
rm -f "$stage.log" "$stage.man-warnings"
echo "staged_install: passed"
