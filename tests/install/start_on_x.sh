#!/usr/bin/env bash
# start_on_x.sh PROGRAM: starts PROGRAM on a virtual X display with a fresh
# home, waits for its data-folder dialog "ディレクトリの選択" and ends it.
# Prints the dialog's WM_CLASS. Exit 0 when the dialog came up.
set -euo pipefail

if [ "${1:-}" != "--inside" ]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    mkdir -p "$work/home" "$work/config" "$work/data" "$work/cache" "$work/run"
    chmod 700 "$work/run"
    export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
        XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/run"
    unset QT_QPA_PLATFORM
    # xvfb-run -a can lose the race for a display number against another test
    # starting at the same moment; then the inside never ran and it is tried again.
    for _ in 1 2 3; do
        status=0
        timeout 60 xvfb-run -a -s "-screen 0 1280x1024x24" \
            bash "$0" --inside "$1" "$work/started" || status=$?
        [ -e "$work/started" ] && exit "$status"
        sleep 1
    done
    echo "FAIL: no virtual X display could be started" >&2
    exit 1
fi

program=$2
touch "$3"
"$program" >/dev/null 2>&1 &
pid=$!
id=""
for _ in $(seq 1 200); do
    id=$(xdotool search --onlyvisible --name "ディレクトリの選択" 2>/dev/null | tail -n 1 || true)
    [ -n "$id" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if [ -z "$id" ]; then
    echo "FAIL: $program showed no data-folder dialog" >&2
    kill "$pid" 2>/dev/null || true
    exit 1
fi
xprop -id "$id" WM_CLASS 2>/dev/null || true
kill "$pid"
wait "$pid" 2>/dev/null || true
