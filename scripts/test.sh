#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the normal build, then the ASan+UBSan build,
# then the serial link under ThreadSanitizer, then a short fuzz run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

"$root/scripts/build.sh" "$root/build/release"
(cd "$root/build/release" && ctest --output-on-failure -j"$(nproc)")

"$root/scripts/build.sh" "$root/build/asan" -DVELMORA_SANITIZE=ON -DVELMORA_BUILD_BENCH=OFF
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$root/build/asan" && ctest --output-on-failure -j"$(nproc)")

"$root/scripts/tsan.sh" "$root/build/tsan"

# A short run of the fuzz targets: a new crash fails the build. The workbook reader's target runs
# at length only (scripts/fuzz.sh 600 workbook_reader): every .xls input is read in a child
# process, as the .xls library is not safe on damaged files, which makes its runs slow.
"$root/scripts/fuzz.sh" 20 receive_path page_decoders number_row_check
