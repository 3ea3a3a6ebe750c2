#!/usr/bin/env bash
# Builds Pagora into a build folder: scripts/build.sh [FOLDER [CMAKE-OPTION...]]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
folder=${1:-build}
shift || true
[ -f "$top/$folder/build.ninja" ] || cmake -S "$top" -B "$top/$folder" -G Ninja "$@" >/dev/null
cmake --build "$top/$folder" -j"$(nproc)"
