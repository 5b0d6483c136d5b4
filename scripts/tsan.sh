#!/usr/bin/env bash
# scripts/tsan.sh [build dir]: builds the serial link and session suites with ThreadSanitizer
# (clang) and runs them. Qt itself is not instrumented; tests/tsan.supp explains each suppression.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build/tsan}
suites=(core_protocol_tst_comm core_protocol_tst_receivetimeout core_protocol_tst_session
        core_protocol_tst_devicesession)

CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELMORA_WERROR=ON -DVELMORA_SANITIZE=thread -DVELMORA_BUILD_APP=OFF \
    -DVELMORA_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" -j"$(nproc)" --target "${suites[@]}" velmora-devsim
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$root/tests/tsan.supp"
(cd "$dir" && ctest --output-on-failure -R "^($(IFS='|'; echo "${suites[*]}"))\$")
