#!/usr/bin/env bash
# Runs every test: the suites in a normal build and under AddressSanitizer and
# UndefinedBehaviorSanitizer, the threaded suites under ThreadSanitizer, then a
# short run of each fuzz target.
# FUZZ_SECONDS sets how long each fuzz target runs (default 30).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/setup.sh"

passed=0
failed=0
run_suite() {  # FOLDER
    local log="$top/$1/ctest.log" status=0
    (cd "$top/$1" && ctest -j"$(nproc)" --output-on-failure --timeout 300) 2>&1 | tee "$log" || status=1
    local line
    line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
    if [ -n "$line" ]; then
        local total fails
        total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
        fails=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
        passed=$((passed + total - fails))
        failed=$((failed + fails))
    else
        failed=$((failed + 1))
    fi
    return $status
}

echo "== build"
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "== tests"
run_suite build || true

echo "== build with AddressSanitizer and UndefinedBehaviorSanitizer"
scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DPAGORA_SANITIZE=ON -DPAGORA_BENCH=OFF
echo "== tests under the sanitizers"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
run_suite build-asan || true

echo "== threaded suites under ThreadSanitizer"
[ -f "$top/build-tsan/build.ninja" ] ||
    cmake -S "$top" -B "$top/build-tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DPAGORA_TSAN=ON -DPAGORA_BENCH=OFF >/dev/null
cmake --build "$top/build-tsan" -j"$(nproc)" --target pagora_thread_tests pagora
# Qt, SDL and the libraries kfa draws pages with are not built with the
# sanitizer: what happens inside them is not judged, in the suite or in the
# kfa it runs to make its albums.
if TSAN_OPTIONS="halt_on_error=1 ignore_noninstrumented_modules=1 suppressions=$top/tests/tsan.supp" \
    SDL_AUDIODRIVER=dummy \
    "$top/build-tsan/tests/pagora_thread_tests"; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
fi
if scripts/tsan-read.sh "$top/build-tsan/src/app/pagora" "$top/build/sample.kfa"; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
fi
if scripts/tsan-read.sh "$top/build-tsan/src/app/pagora" "$top/build/sample.kfa" views; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
fi

echo "== fuzz targets"
if scripts/fuzz.sh "${FUZZ_SECONDS:-30}"; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
fi

echo
echo "all: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
