#!/usr/bin/env bash
# Installs what is missing, builds the optimised program and writes the Debian package
# build/package/tolvane_<version>_amd64.deb with CPack, then checks it with lintian.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# dpkg-shlibdeps (dpkg-dev) and file find the libraries' packages; binutils strips.
bash "$root/scripts/deps.sh" dpkg-dev file binutils lintian

cd "$root"
# Only the program and its installed files, not every tool and benchmark.
cmake --preset release -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build --preset release --target tolvane tolvane_dist
rm -f build/package/tolvane_*.deb
cpack --config build/release/CPackConfig.cmake -B "$root/build/package"
deb=$(ls build/package/tolvane_*_amd64.deb)
lintian --fail-on error "$deb"
echo "package: $root/$deb"
