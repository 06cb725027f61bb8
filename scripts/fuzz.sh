#!/usr/bin/env bash
# Installs what is missing, builds the fuzz targets with clang and libFuzzer, and runs each for
# SECONDS (all of them, or the ones named); then the batch engine's property test ("property")
# with fresh seeds, and e2e_random, random X input against the sanitized program, each for
# SECONDS more. Exits 0 only when nothing was found; the inputs a target failed on are kept
# under build/fuzz/findings/<target>/, the property test's log with its failing seed as
# build/fuzz/findings/property-<run>.log, e2e_random's seed in its log.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:?usage: fuzz.sh SECONDS [TARGET...]}
shift
bash "$root/scripts/deps.sh"

cd "$root"
targets=()
random=$(($# == 0))
property=$(($# == 0))
for target in "$@"; do
    case $target in
    e2e_random) random=1 ;;
    property) property=1 ;;
    *) targets+=("$target") ;;
    esac
done
if (($# == 0)); then
    for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi
if ((${#targets[@]})); then
    cmake --preset fuzz
    cmake --build --preset fuzz --target "${targets[@]/#/fuzz_}"
fi

export LSAN_OPTIONS="suppressions=$root/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
found=()
for target in "${targets[@]+"${targets[@]}"}"; do
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

if ((property || random)); then
    cmake --preset asan
    cmake --build --preset asan --target tolvane test_e2e_random test_engine_property
    mkdir -p build/fuzz/work build/fuzz/findings
fi

if ((property)); then
    # Whole runs of the ctest test (2,000 folders each, fresh seeds) until the time is up.
    runs=0
    deadline=$((SECONDS + seconds))
    while ((SECONDS < deadline)); do
        if ! ctest --preset asan -R '^engine_property$' >build/fuzz/findings/property.log 2>&1; then
            cp build/fuzz/findings/property.log "build/fuzz/findings/property-$runs.log"
            found+=(property)
            break
        fi
        runs=$((runs + 1))
    done
    echo "== property: $runs runs of 2000 folders"
fi

if ((random)); then
    echo "== e2e_random: $seconds s"
    # Run directly, free of ctest's time limit; a replay takes the seed from the log.
    if ! LC_ALL=C.UTF-8 TOLVANE_RANDOM_SECONDS=$seconds \
        QTEST_FUNCTION_TIMEOUT=$(((seconds + 600) * 1000)) \
        build/asan/tests/e2e/test_e2e_random >build/fuzz/work/e2e_random.log 2>&1; then
        found+=(e2e_random)
    fi
    tail -n 12 build/fuzz/work/e2e_random.log
fi

if ((${#found[@]})); then
    echo "Findings in: ${found[*]}; inputs under $root/build/fuzz/findings/, logs beside build/fuzz/work/"
    exit 1
fi
echo "No findings."
