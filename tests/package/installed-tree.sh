#!/usr/bin/env bash
# The tree `cmake --install` makes, in a temporary prefix: the files, the
# desktop entry, the MIME package, the manual pages, the icons and the bash
# completion. Checks whose tool is missing are skipped (exit 77 at the end).
# installed-tree.sh BUILD-FOLDER VERSION ALBUM
set -euo pipefail
build=$1
version=$2
album=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
skipped=()
fail() { echo "FAIL: $*" >&2; exit 1; }
have() { command -v "$1" >/dev/null || { skipped+=("$1"); false; }; }

prefix=$work/usr
cmake --install "$build" --prefix "$prefix" >/dev/null

expected=(bin/kfa bin/pagora share/applications/pagora.desktop
    share/bash-completion/completions/kfa share/doc/pagora/changelog.gz
    share/doc/pagora/copyright share/icons/hicolor/scalable/apps/pagora.svg
    share/man/man1/kfa.1.gz share/man/man1/pagora.1.gz share/mime/packages/pagora.xml)
sizes=(16 22 24 32 48 64 128 256)
for size in "${sizes[@]}"; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/pagora.png")
done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . -type f | sed 's|^\./||' | sort) ||
    fail "the installed files differ from the list"

[ "$("$prefix/bin/kfa" --version)" = "kfa (Pagora) $version" ] || fail "kfa --version"
[ "$(tail -c 8 "$prefix/bin/pagora" | od -An -tx1 | tr -d ' \n')" = 0000000000000000 ] ||
    fail "the installed viewer does not end with an empty album trailer"

desktop=$prefix/share/applications/pagora.desktop
grep -qx 'Exec=kfa view %f' "$desktop" || fail "the desktop entry's Exec line"
grep -qx 'MimeType=application/x-pagora-album;' "$desktop" || fail "the desktop entry's MimeType"
if have desktop-file-validate; then
    out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
    [ -z "$out" ] || fail "desktop-file-validate: $out"
fi

mime=$prefix/share/mime
if have xmllint; then
    xmllint --noout "$mime/packages/pagora.xml" || fail "xmllint on the MIME package"
fi
if have update-mime-database; then
    update-mime-database "$mime" || fail "update-mime-database"
    grep -q '^50:application/x-pagora-album:\*\.kfa$' "$mime/globs2" || fail "*.kfa is not an album"
fi

if have man; then
    for page in "$prefix"/share/man/man1/*.1.gz; do
        out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) ||
            fail "man -l $page"
        [ -z "$out" ] || fail "man -l $page: $out"
    done
fi

# A PNG's width and height are the big-endian words at bytes 16 and 20.
for size in "${sizes[@]}"; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/pagora.png
    words=$(od -An -tu1 -j16 -N8 "$png" | tr -s ' ' | sed 's/^ //')
    read -r a b c d e f g h <<<"$words"
    [ $(((a << 24) | (b << 16) | (c << 8) | d)) -eq "$size" ] &&
        [ $(((e << 24) | (f << 16) | (g << 8) | h)) -eq "$size" ] || fail "$png is not $size x $size"
done
if have xmllint; then
    xmllint --noout "$prefix/share/icons/hicolor/scalable/apps/pagora.svg" || fail "the SVG icon"
fi

# Completion as bash would ask for it: commands, options, albums, members.
complete_line() {  # WORD... (the last one is being completed)
    PATH="$prefix/bin:$PATH" bash -c '
        source "$1"; shift
        COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
        _kfa; printf "%s\n" "${COMPREPLY[@]}"' sh "$prefix/share/bash-completion/completions/kfa" "$@"
}
[ "$(complete_line kfa ex)" = extract ] || fail "completing a command"
complete_line kfa make --re | grep -qx -- --recursive || fail "completing an option"
complete_line kfa extract "$album" PIC | grep -qx PIC1.jpg || fail "completing a member"
cp "$album" "$work/Trip.KFA"
touch "$work/notes.txt"
[ "$(cd "$work" && complete_line kfa list T)" = Trip.KFA ] || fail "completing an album"

if [ ${#skipped[@]} -gt 0 ]; then
    echo "skipped, for want of: ${skipped[*]}"
    exit 77
fi
