#!/usr/bin/env bash
# Installs what is missing, builds Tolvane with sanitizers and runs every test.
# Under CI (CI=true) compiler warnings are errors.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/deps.sh"

preset=asan
[ "${CI:-}" = "true" ] && preset=ci

cd "$root"
cmake --preset "$preset"
cmake --build --preset "$preset"
ctest --preset "$preset" "$@"
