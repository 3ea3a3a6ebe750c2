#!/usr/bin/env bash
# Builds Pagora (which also makes the sample album), bundles the sample album
# with the viewer into one executable, build/sample-album, and runs it.
# Esc leaves the viewer. Without a display the viewer runs on an offscreen
# screen and saves its first picture of the book to build/sample-album.png.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/build.sh" build >/dev/null
kfa="$top/build/tools/kfa/kfa"
album="$top/build/sample-album"
"$kfa" bundle "$top/build/sample.kfa" -o "$album" --viewer "$top/build/src/app/pagora" >/dev/null

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$album" "$@"
fi
echo "No display: running the viewer on an offscreen 1920 x 1080 screen." >&2
screens=$(mktemp)
trap 'rm -f "$screens"' EXIT
cat >"$screens" <<'JSON'
{ "screens": [ { "name": "screen", "x": 0, "y": 0, "width": 1920, "height": 1080,
  "logicalDpi": 96, "physicalWidth": 508, "physicalHeight": 286 } ] }
JSON
QT_QPA_PLATFORM="offscreen:configfile=$screens" SDL_AUDIODRIVER=dummy \
    PAGORA_SNAPSHOT="$album.png" PAGORA_THEN=escape "$album" "$@"
echo "The book as it first appeared: $album.png" >&2
