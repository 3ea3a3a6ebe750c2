#!/usr/bin/env bash
# Builds Pagora, which also makes the sample album (build/sample.kfa), and shows it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/build.sh" build >/dev/null
kfa="$top/build/tools/kfa/kfa"
album="$top/build/sample.kfa"

# What kfa says of the album: its records, then its members.
describe_album() {
    echo "== kfa info $1"
    "$kfa" info "$1"
    echo
    echo "== kfa list $1"
    "$kfa" list "$1"
}

# The viewer, once it exists, opens the album here instead.
describe_album "$album"
