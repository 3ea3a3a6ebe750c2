#!/usr/bin/env bash
# The viewer in a real X window: a bundled album starts on a private Xvfb
# screen, a screenshot is taken while its opening runs, the book is found on a
# screenshot where its layout puts it, and Esc ends the program with status 0.
# It runs twice: on a 1024 x 768 screen, and on a 2048 x 1536 screen at scale
# 2, where the book is laid out and shown in device pixels. Over the book the
# floating toolbar shows its right tab only; on the first screen F12 opens the
# picture viewer, which brings the left tab, F10 takes it away again, and the
# right tab's exit button ends the program with status 0 instead.
#
#   xvfb-smoke.sh VIEWER KFA ALBUM PROBE [OUT_FOLDER]
#
# Exits 77 (skipped) when Xvfb or xdotool is missing. The screenshots
# (opening-1024x768-at-1.png, screen-1024x768-at-1.png and the same at
# 2048x1536-at-2) and the logs are left in OUT_FOLDER (default: a temporary
# folder, removed).
set -u
viewer=$1 kfa=$2 album=$3 probe=$4 out=${5:-}

for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done

if [ -n "$out" ]; then
    mkdir -p "$out" && work=$(cd "$out" && pwd) || exit 1
else
    work=$(mktemp -d "${TMPDIR:-/tmp}/pagora-smoke-XXXXXX") || exit 1
fi
xvfb_pid="" app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    if [ -z "$out" ]; then rm -rf "$work"; fi
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    [ -f "${log:-}" ] && sed 's/^/  log: /' "$log"
    [ -f "${err:-}" ] && sed 's/^/  stderr: /' "$err"
    exit 1
}

"$kfa" bundle "$album" -o "$work/Smoke" --viewer "$viewer" >/dev/null || fail "kfa bundle"
"$kfa" extract "$work/Smoke" back.jpg -o "$work/tile.jpg" || fail "kfa extract of back.jpg"

# Under AddressSanitizer: libxkbcommon-x11 reads keymap names with strndup over
# buffers without a terminator, which strict string checks report as an overflow
# before Qt's X connection exists. The rest of the options stay.
# LeakSanitizer: libdbus, which the X platform loads, keeps a buffer it never
# frees; only that library's leaks are let through.
if [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
    printf 'leak:libdbus-1.so\n' >"$work/lsan.supp"
    export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$work/lsan.supp"
fi

run() {  # SIZE SCALE escape|toolbar
    local size=$1 scale=$2 ending=$3 run=$work/$1-at-$2
    # A kept folder of an earlier run would answer the waits below with its log.
    rm -rf "$run"
    mkdir -p "$run/config" "$run/tmp"
    # Xvfb picks a free display itself and writes its number to the descriptor.
    exec 5>"$run/display"
    Xvfb -displayfd 5 -screen 0 "${size}x24" -nolisten tcp >"$run/xvfb.log" 2>&1 &
    xvfb_pid=$!
    exec 5>&-
    for _ in $(seq 100); do
        [ -s "$run/display" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$run/xvfb.log")"
        sleep 0.1
    done
    [ -s "$run/display" ] || fail "Xvfb gave no display"
    export DISPLAY=":$(head -n 1 "$run/display")"
    log=$run/automation.log err=$run/viewer.err

    env -u PAGORA_ANSWERS -u PAGORA_THEN -u PAGORA_SNAPSHOT -u PAGORA_LANGUAGE \
        QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$scale" SDL_AUDIODRIVER=dummy \
        XDG_CONFIG_HOME="$run/config" TMPDIR="$run/tmp" PAGORA_AUTOMATION="$log" \
        "$work/Smoke" >"$run/viewer.out" 2>"$err" &
    app_pid=$!

    # A look at the opening under way, kept with the other screenshots.
    for _ in $(seq 3000); do
        grep -q '^opening' "$log" 2>/dev/null && break
        grep -q '^painted' "$log" 2>/dev/null && break
        kill -0 "$app_pid" 2>/dev/null || fail "the viewer ended before its opening"
        sleep 0.02
    done
    grep -q '^opening' "$log" || fail "the book was shown without its opening"
    QT_SCALE_FACTOR=1 "$probe" --opening "$work/tile.jpg" "$work/opening-$size-at-$scale.png" ||
        fail "screenshot of the opening"

    for _ in $(seq 600); do
        grep -q '^painted' "$log" 2>/dev/null && break
        kill -0 "$app_pid" 2>/dev/null || fail "the viewer ended before painting the book"
        sleep 0.1
    done
    grep -q '^painted' "$log" || fail "no book was painted"
    grep -q '^open-dialog' "$log" && fail "a bundled album asked for a file"
    local w=${size%x*} h=${size#*x}
    local shot=$work/screen-$size-at-$scale.png
    QT_SCALE_FACTOR=1 "$probe" "$log" "$work/tile.jpg" "$shot" 30 "$scale" ||
        fail "screenshot check"
    QT_SCALE_FACTOR=1 "$probe" --tabs right "$scale" "$work/tile.jpg" \
        "$work/tabs-book-$size-at-$scale.png" || fail "the toolbar over the book"

    # Keys go to the window under the pointer: the full-screen book.
    if [ "$ending" = toolbar ]; then
        xdotool mousemove $((w / 2)) $((h / 2)) key F12 || fail "xdotool"
        # Under the tabs lies a photo now: the reference is the settled screen
        # with the toolbar's window taken away for a moment.
        local toolbar="" id
        for id in $(xdotool search --pid "$app_pid" 2>/dev/null); do
            eval "$(xdotool getwindowgeometry --shell "$id")"
            if [ "$WIDTH" -eq "$w" ] && [ "$HEIGHT" -lt 40 ]; then toolbar=$id; fi
        done
        [ -n "$toolbar" ] || fail "no toolbar window"
        xdotool windowunmap --sync "$toolbar" || fail "xdotool"
        QT_SCALE_FACTOR=1 "$probe" --still "$work/viewer-$size-at-$scale.png" ||
            fail "screenshot of the picture viewer"
        xdotool windowmap --sync "$toolbar" || fail "xdotool"
        QT_SCALE_FACTOR=1 "$probe" --tabs both "$scale" "$work/viewer-$size-at-$scale.png" \
            "$work/tabs-viewer-$size-at-$scale.png" || fail "the toolbar over the picture viewer"
        # Back to the book: the left tab goes.
        xdotool key F10 || fail "xdotool"
        QT_SCALE_FACTOR=1 "$probe" --tabs right "$scale" "$work/tile.jpg" \
            "$work/tabs-back-$size-at-$scale.png" || fail "the toolbar over the book after the viewer"
        # The exit button, the last of the right tab.
        local exit_x exit_y
        exit_x=$(awk -v w="$w" -v s="$scale" 'BEGIN { printf "%d", w - 12 * s }')
        exit_y=$(awk -v s="$scale" 'BEGIN { printf "%d", 9 * s }')
        xdotool mousemove "$exit_x" "$exit_y" click 1 || fail "xdotool"
    else
        xdotool mousemove $((w / 2)) $((h / 2)) key Escape || fail "xdotool"
    fi
    status=""
    for _ in $(seq 300); do
        if ! kill -0 "$app_pid" 2>/dev/null; then
            wait "$app_pid"
            status=$?
            app_pid=""
            break
        fi
        sleep 0.1
    done
    [ -n "$status" ] || fail "the viewer did not end after Esc or the toolbar's exit"
    [ "$status" -eq 0 ] || fail "the viewer ended with status $status"
    grep -qx 'exit' "$log" || fail "the program did not go through an exit command"
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
    echo "passed: book and toolbar on screen at $size, scale $scale, ended by $ending with status 0"
}

run 1024x768 1 toolbar
run 2048x1536 2 escape
