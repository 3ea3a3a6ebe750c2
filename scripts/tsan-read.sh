#!/usr/bin/env bash
# The viewer built with ThreadSanitizer reads a whole album once (every turn,
# the pointer over every spread, jumps, Esc in the middle of a turn), with its
# page loader and music thread at work: scripts/tsan-read.sh VIEWER ALBUM.
# With a third argument "views" it walks the other views instead (the picture
# viewer's steps, the browser's pages, a cell, back, Esc while both loaders
# work): scripts/tsan-read.sh VIEWER ALBUM views
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
viewer=$1
album=$2
then=${3:-read}
case "$then" in
read) done_line='^read back' ;;
views) done_line='^views back' ;;
*) echo "unknown walk: $then" >&2; exit 2 ;;
esac
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/config" "$home/tmp" "$home/runtime"
chmod 700 "$home/runtime"
status=0
# Qt and SDL synchronise out of the sanitizer's sight: only what the program's
# own code does is judged, or a transition crawls through millions of
# suppressed reports. A run that hangs is killed, not waited for.
env QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME="$home/config" \
    XDG_RUNTIME_DIR="$home/runtime" TMPDIR="$home/tmp" PAGORA_AUTOMATION="$home/log" \
    PAGORA_ANSWERS="open:$album" PAGORA_THEN="$then" \
    TSAN_OPTIONS="halt_on_error=1 exitcode=66 ignore_noninstrumented_modules=1 suppressions=$top/tests/tsan.supp" \
    timeout -k 10 600 "$viewer" || status=$?
cat "$home/log" | grep -E '^(read|views|exit|message|ended)' || true
if [ "$status" -ne 0 ] || ! grep -q "$done_line" "$home/log"; then
    echo "the $then run under ThreadSanitizer failed (status $status)"
    exit 1
fi
