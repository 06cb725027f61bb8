#!/usr/bin/env bash
# Installs what is missing, builds the fuzz targets with clang and libFuzzer, and runs each for
# SECONDS (all of them, or the ones named). Exits 0 only when no target found anything; the
# inputs a target failed on are kept under build/fuzz/findings/<target>/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:?usage: fuzz.sh SECONDS [TARGET...]}
shift
bash "$root/scripts/deps.sh"

cd "$root"
cmake --preset fuzz
targets=("$@")
if ((${#targets[@]} == 0)); then
    for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi
cmake --build --preset fuzz --target "${targets[@]/#/fuzz_}"

export LSAN_OPTIONS="suppressions=$root/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
found=()
for target in "${targets[@]}"; do
    # New inputs grow a working copy; the committed seeds stay small.
    work=build/fuzz/work/$target
    findings=build/fuzz/findings/$target
    mkdir -p "$work" "$findings"
    echo "== $target: $seconds s"
    if ! "build/fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$findings/" "$work" "fuzz/corpus/$target" >"$work.log" 2>&1; then
        found+=("$target")
    fi
    tail -n 12 "$work.log"
done

if ((${#found[@]})); then
    echo "Findings in: ${found[*]}; inputs under $root/build/fuzz/findings/, logs beside build/fuzz/work/"
    exit 1
fi
echo "No findings."
