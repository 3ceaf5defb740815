#!/usr/bin/env bash
# The program, started where it has no database, shows why in its message box and, once the
# box is answered, exits with a failure status. Run under a private X server, answered with
# xdotool as a person would.
set -uo pipefail
program=$1
folder=$(mktemp -d)
trap 'kill "$xserver" 2>/dev/null; rm -rf "$folder"' EXIT
cp "$program" "$folder/tamrivo"

Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$folder/display" 2>/dev/null &
xserver=$!
for _ in $(seq 50); do [ -s "$folder/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$folder/display")"
unset QT_QPA_PLATFORM

"$folder/tamrivo" &
started=$!
box=$(timeout 20 xdotool search --sync --onlyvisible --name '^Msg$' | head -1)
[ -n "$box" ] || { echo "no message box appeared"; kill "$started"; exit 1; }
# With no window manager the keyboard follows the pointer.
xdotool mousemove --window "$box" 5 5 key Return
wait "$started"
status=$?
echo "exit status $status"
[ "$status" -eq 1 ]
