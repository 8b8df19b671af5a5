#!/usr/bin/env bash
# Starts the built program on a virtual X display with a fresh home. First
# the data-folder dialog is cancelled: the program ends. Then it is answered
# with a folder that does not exist yet: the store files and the main window
# are checked, and the window is closed through the close question.
set -euo pipefail

if [ "${1:-}" != "--inside" ]; then
    program=$(realpath "$1")
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    mkdir -p "$work/home" "$work/config" "$work/data" "$work/cache" "$work/run"
    chmod 700 "$work/run"
    export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
        XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/run"
    unset QT_QPA_PLATFORM
    timeout 200 xvfb-run -a -s "-screen 0 1280x1024x24" \
        bash "$0" --inside "$program" "$work/store/new/folder"
    exit $?
fi

program=$2
folder=$3
here=$(dirname "$(realpath "$0")")

fail() {
    echo "FAIL: $*" >&2
    [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null
    exit 1
}

# The id of the visible window whose name matches. Without $2 it waits as
# long as the program runs (a slow machine starts slowly; the script's own
# time limit ends a hang), with $2 at most $2 tenths of a second, for a step
# that is retried. A program that ended without the window fails at once.
window_named() {
    local id tries=0
    while :; do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        kill -0 "$pid" 2>/dev/null || return 1
        tries=$((tries + 1))
        if [ -n "${2:-}" ] && [ "$tries" -ge "$2" ]; then
            return 1
        fi
        sleep 0.1
    done
}

# Cancelling the data-folder dialog ends the program: no main window, no store.
cancelled=$(dirname "$folder")/cancelled
# Gives the window the keyboard focus (no window manager here) and waits
# until the X server reports it focused.
focus_window() {
    for _ in $(seq 1 30); do
        xdotool windowfocus "$1" 2>/dev/null || true
        sleep 0.1
        [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && break
    done
    sleep 0.3
}

# True when the program ended within $1 tenths of a second.
ended_within() {
    for _ in $(seq 1 "$1"); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}

"$program" &
pid=$!
dialog=$(window_named "ディレクトリの選択") || fail "no data-folder dialog"
for _ in 1 2 3; do
    focus_window "$dialog"
    xdotool key alt+n ctrl+a
    xdotool type --delay 10 "$cancelled"
    xdotool key Escape
    ended_within 50 && break
done
kill -0 "$pid" 2>/dev/null && fail "the program did not end after Cancel"
wait "$pid" || fail "the program ended with status $? after Cancel"
[ -e "$cancelled" ] && fail "Cancel created $cancelled"

# A new folder, created on Yes, receives the store; the main window opens.
"$program" &
pid=$!

dialog=$(window_named "ディレクトリの選択") || fail "no data-folder dialog"
question=""
for _ in 1 2 3; do
    focus_window "$dialog"
    xdotool key alt+n ctrl+a
    xdotool type --delay 10 "$folder"
    xdotool key Return
    question=$(window_named "確認" 50) && break
done
# Keys lost before the window took them were typed again; a slow window is
# waited for.
[ -n "$question" ] || question=$(window_named "確認") || fail "no create question"
main=""
for _ in 1 2 3; do
    focus_window "$question"
    xdotool key Return
    main=$(window_named "保護協調曲線" 50) && break
done
[ -n "$main" ] || main=$(window_named "保護協調曲線") || fail "no main window"
[ -d "$folder" ] || fail "folder not created: $folder"
for _ in $(seq 1 50); do [ -f "$folder/ZuboK.idx" ] && break; sleep 0.1; done
[ "$(stat -c %s "$folder/ZuboK.dat")" = 1024 ] || fail "ZuboK.dat is not one 1024-byte unit"
[ -f "$folder/ZuboK.idx" ] || fail "ZuboK.idx missing"
sleep 0.5
geometry=$(xdotool getwindowgeometry "$main")
echo "$geometry"
echo "$geometry" | grep -q "Geometry: 768x242" || fail "main window is not 768 x 242"

python3 -B "$here/../support/close_window.py" "$main"
question=$(window_named "確認") || fail "no close question"
for _ in 1 2 3; do
    focus_window "$question"
    xdotool key Return
    ended_within 50 && break
done
kill -0 "$pid" 2>/dev/null && fail "the program did not end after the close question"
wait "$pid" || fail "the program ended with status $?"
echo "PASS"
