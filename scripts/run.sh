#!/usr/bin/env bash
# Builds Pagora, packs the small demo album and shows what kfa says of it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/build.sh" build >/dev/null
kfa="$top/build/tools/kfa/kfa"
album="$top/build/demo.kfa"
"$kfa" pack -o "$album" "$top"/resources/demo/* --number PIC1.jpg=1
echo "== kfa info $album"
"$kfa" info "$album"
echo
echo "== kfa list $album"
"$kfa" list "$album"
