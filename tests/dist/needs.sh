#!/bin/sh
# Runs a validator, or reports the test skipped (77) on a machine without it.
if ! command -v "$1" >/dev/null; then
    echo "skipped: $1 is not installed (scripts/deps.sh installs it)"
    exit 77
fi
exec "$@"
