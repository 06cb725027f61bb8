#!/usr/bin/env bash
# Installs what is missing, builds Tolvane and starts it in the current folder.
# Without a display it runs under a private Xvfb until its window is painted, saves a
# screenshot, then closes the program through its own close button.
set -euo pipefail
here=$(pwd)
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/deps.sh"

(cd "$root" && cmake --preset release >/dev/null && cmake --build --preset release --target tolvane)
app="$root/build/release/app/tolvane"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    cd "$here"
    exec "$app"
fi

shot="$root/build/screenshot.png"
work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "run.sh: $*" >&2
    exit 1
}
# Polls a command for up to ten seconds.
wait_for() {
    for _ in $(seq 100); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Xvfb picks a free display itself and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
wait_for test -s "$work/display" || fail "Xvfb did not start"
DISPLAY=:$(head -n1 "$work/display")
export DISPLAY

cd "$here"
"$app" >"$work/out" 2>"$work/err" &
app_pid=$!
alive() {
    kill -0 "$app_pid" 2>/dev/null || fail "Tolvane ended at start-up: $(cat "$work/err")"
}
shown() {
    alive
    window=$(xdotool search --onlyvisible --name '^Tolvane$' | head -n1)
    [ -n "$window" ]
}
wait_for shown || fail "Tolvane's window did not show"
eval "$(xdotool getwindowgeometry --shell "$window")"
# The frame's interior is transparent, so black on a bare X server, until the working form
# has painted over it.
drawn() {
    alive
    import -window root "$shot" &&
        [ "$(convert "$shot" -format "%[pixel:p{$((X + WIDTH / 2)),$((Y + HEIGHT / 2))}]" info:)" \
            != "srgb(0,0,0)" ]
}
wait_for drawn || fail "Tolvane did not paint its window"

# The close button, 50 pixels in from the frame's right edge; the first move lights it.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + WIDTH - 50)) $((Y + 20)) sleep 0.2 \
    mousemove $((X + WIDTH - 49)) $((Y + 20)) sleep 0.2 click 1
gone() { ! kill -0 "$app_pid" 2>/dev/null; }
wait_for gone || fail "Tolvane did not close"
status=0
wait "$app_pid" || status=$?
app_pid=
[ "$status" -eq 0 ] || fail "Tolvane ended with status $status: $(cat "$work/err")"

echo "No display here: Tolvane ran in $here under Xvfb on $DISPLAY and closed cleanly;"
echo "screenshot saved to $shot"
