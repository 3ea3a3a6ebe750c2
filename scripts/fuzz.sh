#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a while:
# scripts/fuzz.sh [SECONDS-EACH]. Crashes are kept in build-fuzz/crashes.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
"$top/scripts/build.sh" build >/dev/null
"$top/scripts/build.sh" build-fuzz -DPAGORA_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null

work="$top/build-fuzz/run"
rm -rf "$work"
mkdir -p "$work/crashes"
"$top/fuzz/make-seeds.sh" "$top/build/tools/kfa/kfa" "$work/seeds"

status=0
for target in "$top"/build-fuzz/fuzz/fuzz_*; do
    name=$(basename "$target")
    corpus="$work/corpus/$name"
    mkdir -p "$corpus"
    cp -r "$work/seeds/$name/." "$corpus/" 2>/dev/null || true
    echo "-- $name, $seconds s"
    if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 \
        -artifact_prefix="$work/crashes/$name-" "$corpus" >"$work/$name.log" 2>&1; then
        tail -n 40 "$work/$name.log"
        echo "$name FAILED (artifacts in $work/crashes)"
        status=1
    else
        grep -E '^#[0-9]+.*DONE' "$work/$name.log" | tail -n 1 || tail -n 1 "$work/$name.log"
    fi
done
exit $status
