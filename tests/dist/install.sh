#!/bin/sh
# Installs the build folder $1 into a fresh DESTDIR with the package's prefix and compares
# the files and links it got with the list in $2.
set -eu
build=$1
expected=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
(cd "$root" && find . ! -type d | sed 's|^\./|/|' | LC_ALL=C sort) >"$root.list"
trap 'rm -rf "$root" "$root.list"' EXIT
diff -u "$expected" "$root.list"
