#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the normal build, then the ASan+UBSan build
# (leak detection on), then the serial link under ThreadSanitizer, then a short fuzz run. Each
# stage's time is printed at the end, also when a stage fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

times=()
report() {
    [ ${#times[@]} -eq 0 ] && return
    echo "stage times:"
    printf '  %s\n' "${times[@]}"
    echo "  total $(((SECONDS - began) / 60)) min $(((SECONDS - began) % 60)) s"
}
began=$SECONDS
trap report EXIT
# stage NAME COMMAND...: runs the command and notes how long it took.
stage() {
    local name=$1 start=$SECONDS
    shift
    "$@"
    local took=$((SECONDS - start))
    times+=("$(printf '%-16s %3d min %2d s' "$name" $((took / 60)) $((took % 60)))")
}

stage setup "$root/scripts/setup.sh"

stage "release build" "$root/scripts/build.sh" "$root/build/release"
stage "release tests" ctest --test-dir "$root/build/release" --output-on-failure -j"$(nproc)"

stage "asan build" "$root/scripts/build.sh" "$root/build/asan" -DVELMORA_SANITIZE=ON \
    -DVELMORA_BUILD_BENCH=OFF
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
stage "asan tests" ctest --test-dir "$root/build/asan" --output-on-failure -j"$(nproc)"
unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS

stage tsan "$root/scripts/tsan.sh" "$root/build/tsan"

# A short run of the fuzz targets: a new crash fails the build. The workbook reader's and the
# loaders' targets run at length only (scripts/fuzz.sh 600 workbook_reader loaders).
stage fuzz "$root/scripts/fuzz.sh" 20 receive_path page_decoders number_row_check csv
