#!/usr/bin/env bash
# scripts/fuzz.sh [seconds] [name...]: builds the libFuzzer targets with clang in build/fuzz and
# runs each named one (all of fuzz/fuzz_<name>.cpp by default) for the given seconds (default 20)
# on a copy of its committed corpus, fuzz/corpus/<name>. Fails when a target finds a crash; the
# input that caused it is left in build/fuzz/artifacts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
shift || true
dir=$root/build/fuzz

CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELMORA_WERROR=ON -DVELMORA_FUZZ=ON -DVELMORA_BUILD_APP=OFF -DVELMORA_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" -j"$(nproc)" --target fuzzers velmora-xls-reader
# The workbook reader hands .xls files to this program.
export VELMORA_XLS_READER=$dir/src/xlsreader/velmora-xls-reader

export ASAN_OPTIONS=abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$dir/artifacts"
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    for source in "$root"/fuzz/fuzz_*.cpp; do
        target=$(basename "$source" .cpp)
        names+=("${target#fuzz_}")
    done
fi
failed=()
for name in "${names[@]}"; do
    target=fuzz_$name
    # The working corpus keeps what earlier runs found; the committed seeds are only read.
    corpus=$dir/corpus/$name
    mkdir -p "$corpus"
    cp "$root/fuzz/corpus/$name"/* "$corpus"/
    options=(-max_total_time="$seconds" -timeout=25 -print_final_stats=1
             -artifact_prefix="$dir/artifacts/$name-")
    [ -f "$root/fuzz/$name.dict" ] && options+=(-dict="$root/fuzz/$name.dict")
    log=$dir/$name.log
    if "$dir/fuzz/$target" "${options[@]}" "$corpus" >"$log" 2>&1; then
        status=ok
    else
        status=FAILED
        failed+=("$target")
        grep -E -A40 '^==[0-9]+==ERROR|runtime error|deadly signal|Test unit written' "$log" | head -80 || true
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    echo "$target: $status, ${runs:-?} executions in ${seconds} s ($(grep -E '^#[0-9]+.*(DONE|exec/s)' "$log" | tail -1))"
done
if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzz: ${failed[*]} failed; logs in $dir, crashing inputs in $dir/artifacts" >&2
    exit 1
fi
