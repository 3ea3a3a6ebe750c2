#!/usr/bin/env bash
# Writes small seed inputs for the fuzz targets: make-seeds.sh KFA FOLDER
set -euo pipefail
kfa=$1
out=$2
top=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$out/fuzz_archive" "$out/fuzz_records"
demo="$top/resources/demo"
"$kfa" pack -o "$out/fuzz_archive/demo.kfa" "$demo"/*
"$kfa" pack -o "$out/fuzz_archive/records.kfa" "$demo/profile.dat" "$demo/image1.dat"
cp "$demo"/*.dat "$out/fuzz_records/"
# Small pictures of each kind the decoders meet; names say what each is.
for target in fuzz_jpeg fuzz_png fuzz_tiff; do
    mkdir -p "$out/$target"
    cp "$top/fuzz/seeds/$target"/* "$out/$target/"
done
