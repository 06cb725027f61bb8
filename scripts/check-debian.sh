#!/usr/bin/env bash
# check-debian.sh SUITE (bookworm, trixie): what a new user of that Debian release sees. Makes a
# clean root (debootstrap minbase plus git, from this machine's own Debian mirror), clones the
# current commit into it, runs the README's commands there unchanged (scripts/run.sh, then
# scripts/test.sh; CI=true carries over), makes the package with scripts/package.sh and installs
# it in a second clean root of the same release, which must stay without compilers. One line
# per step; stops with a non-zero status at the first failure. Needs root. The roots live under
# TOLVANE_ROOTS (default /var/tmp/tolvane-debian) and go on exit; each step's log stays there.
set -euo pipefail
suite=${1:-}
case $suite in
bookworm | trixie) ;;
*)
    echo "usage: check-debian.sh bookworm|trixie" >&2
    exit 2
    ;;
esac
[ "$(id -u)" -eq 0 ] || { echo "check-debian.sh: needs root" >&2 && exit 2; }
# Mounts made for the roots and by their tests stay in a namespace of their own and end with it.
if [ "${TOLVANE_CHECK_INSIDE:-}" != 1 ]; then
    TOLVANE_CHECK_INSIDE=1 exec unshare --mount --propagation private -- bash "$0" "$@"
fi

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
commit=$(git -C "$repo" rev-parse HEAD)
base=${TOLVANE_ROOTS:-/var/tmp/tolvane-debian}
mkdir -p "$base/cache-$suite"
work=$(mktemp -d "$base/$suite.XXXXXX")
logs=$work.logs
mkdir -p "$logs"

# Ends what still runs in the roots and unmounts everything under them before anything is
# removed; a mount that stays keeps its root on disk rather than have rm reach through it.
cleanup() {
    local target process
    set +e
    for process in /proc/[0-9]*; do
        [[ $(readlink "$process/root" 2>/dev/null) == "$work"/* ]] && kill -9 "${process#/proc/}" 2>/dev/null
    done
    for _ in 1 2 3; do
        findmnt -rn -o TARGET | grep -F "$work/" | sort -r | while read -r target; do
            umount "$(printf %b "$target")" 2>/dev/null || umount -l "$(printf %b "$target")" || true
        done
    done
    if findmnt -rn -o TARGET | grep -qF "$work/"; then
        echo "check-debian.sh: mounts remain under $work; left in place" >&2
    else
        rm -rf --one-file-system "$work"
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Each step prints one line with its time; on failure the end of its log and where it is.
step() {
    local name=$1 start=$SECONDS status=0
    shift
    # In the background, so that set -e holds inside the step's functions.
    "$@" >"$logs/$name.log" 2>&1 &
    wait $! || status=$?
    local took=$((SECONDS - start))
    if ((status != 0)); then
        printf '%-10s failed (status %d) after %dm%02ds\n' "$name" "$status" $((took / 60)) $((took % 60))
        tail -n 30 "$logs/$name.log" | sed 's/^/    /'
        echo "log: $logs/$name.log"
        exit 1
    fi
    printf '%-10s ok  %dm%02ds\n' "$name" $((took / 60)) $((took % 60))
}

# The first Debian archive this machine's apt sources name (deb822 or one-line style).
mirror() {
    local uri
    uri=$(cat /etc/apt/sources.list.d/*.sources 2>/dev/null | sed -n 's/^URIs:[[:space:]]*//p' |
        tr ' ' '\n' | grep -v -e security -e '^$' | head -n1 || true)
    if [ -z "$uri" ]; then
        uri=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
            awk '$1 == "deb" && !/security/ { for (i = 2; i <= NF; i++) if ($i ~ /:\/\//) { print $i; exit } }')
    fi
    [ -n "$uri" ] || { echo "check-debian.sh: no Debian mirror in /etc/apt" >&2 && return 1; }
    echo "$uri"
}

make_root() {
    local dir=$1
    shift
    debootstrap --variant=minbase --cache-dir="$base/cache-$suite" "$@" "$suite" "$dir" "$archive"
    # A root of its own mount, as on a real system: unshare --propagation needs one.
    mount --bind "$dir" "$dir"
    # Tests mount loop devices, FUSE and namespaces; Xvfb and dbus want /dev/shm and /run, a
    # fresh one rather than this machine's.
    mount -t proc proc "$dir/proc"
    mount --rbind /sys "$dir/sys" && mount --make-rslave "$dir/sys"
    mount --rbind /dev "$dir/dev" && mount --make-rslave "$dir/dev"
    mount -t tmpfs tmpfs "$dir/run"
    cp /etc/resolv.conf "$dir/etc/resolv.conf"
}

# Runs a command in a root as a fresh login would: no display, no variables of this shell.
in_root() {
    local dir=$1
    shift
    chroot "$dir" /usr/bin/env -i HOME=/root TERM=dumb CI="${CI:-}" \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin bash -c "$*"
}

install_debootstrap() {
    command -v debootstrap >/dev/null || {
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends debootstrap ||
            { apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
                --no-install-recommends debootstrap; }
    }
}

# The README's test command. On a clean root with every package installed nothing may be
# skipped: a skip means the root lacks something a user's system has.
run_tests() {
    in_root "$build" "cd /root/tolvane && bash scripts/test.sh"
    local skipped
    skipped=$(cat "$build"/root/tolvane/build/*/Testing/Temporary/LastTest.log | grep 'SKIP   :' || true)
    [ -z "$skipped" ] || { echo "skipped: $skipped" && return 1; }
}

clone() {
    git -C "$repo" bundle create "$build/root/tolvane.bundle" HEAD
    in_root "$build" "git clone -q /root/tolvane.bundle /root/tolvane && cd /root/tolvane &&
        test \"\$(git rev-parse HEAD)\" = $commit"
}

# The package alone, with what apt brings for it: the program answers on the command line and
# the install brought no compiler in.
# shellcheck disable=SC2016 # expanded in the root
install_package() {
    cp "$build"/root/tolvane/build/package/tolvane_*_amd64.deb "$plain/root/"
    in_root "$plain" 'export DEBIAN_FRONTEND=noninteractive && apt-get update -q &&
        apt-get install -y -q /root/tolvane_*_amd64.deb &&
        test -z "$(command -v cc c++ gcc g++ clang clang++)" &&
        mkdir -p /tmp/photos && touch /tmp/photos/IMG_1.jpg /tmp/photos/IMG_2.jpg &&
        test "$(tolvane --rename "p#" --start 1 /tmp/photos)" = "$(printf "IMG_1.jpg\tp01.jpg\nIMG_2.jpg\tp02.jpg")"'
}

echo "check-debian $suite: commit ${commit:0:12}, logs in $logs"
[ -z "$(git -C "$repo" status --porcelain --untracked-files=no)" ] ||
    echo "(uncommitted changes are not part of the check)"
archive=$(mirror)
build=$work/build
plain=$work/plain
step tools install_debootstrap
step root make_root "$build" --include=git
step clone clone
step run.sh in_root "$build" "cd /root/tolvane && bash scripts/run.sh"
step test.sh run_tests
step package in_root "$build" "cd /root/tolvane && bash scripts/package.sh"
step root2 make_root "$plain"
step install install_package
echo "check-debian $suite: all steps passed in $((SECONDS / 60))m$(printf %02d $((SECONDS % 60)))s"
