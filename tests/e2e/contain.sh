#!/usr/bin/env bash
# contain.sh TREE COMMAND...: runs COMMAND in a mount namespace of its own where every mount but
# TREE is read-only. Random input walks the folder list and the drive box anywhere and renames
# whatever it finds; in here a rename outside TREE fails with EROFS instead of happening.
# Exits 97 when some mount stays writable. Needs root.
set -euo pipefail
if [[ ${1-} != --inside ]]; then
    exec unshare --mount --propagation private -- bash "$0" --inside "$@"
fi
tree=$2
shift 2
mount --bind "$tree" "$tree"
findmnt -rn -o TARGET | while read -r target; do
    target=$(printf %b "$target")
    [[ $target == "$tree" ]] || mount -o remount,bind,ro "$target" 2>/dev/null || true
done
# A mount hidden under another is out of reach: only the topmost one at each place counts.
writable=$(findmnt -rn -o TARGET,OPTIONS | awk -v tree="$tree" '{options[$1] = $2}
    END {for (m in options) if (m != tree && options[m] !~ /(^|,)ro(,|$)/) print m}')
if [[ -n $writable ]]; then
    echo "contain.sh: still writable: $writable" >&2
    exit 97
fi
exec "$@"
