#!/usr/bin/env bash
# Builds the optimised preset and runs every benchmark; each prints one name_ratio= line.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/deps.sh"
cd "$root"
cmake --preset release >/dev/null
cmake --build --preset release
for b in build/release/bench/*/bench_*; do
    [ -f "$b" ] && [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$b"
done
