#!/usr/bin/env bash
# Starts the editor on the example board on a virtual display and takes a picture of its window;
# with a Strokel binary also a picture of the font editor (with the trace characters shown).
# Usage: screenshots.sh ZEVO_BINARY OUT_DIR [STROKEL_BINARY]
set -euo pipefail
zevo=$1
out=$2
strokel=${3:-}
mkdir -p "$out"
display=:97
Xvfb $display -screen 0 1280x860x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $xvfb 2>/dev/null || true' EXIT
sleep 1
# A fresh settings folder of its own: the picture shows the program as a new user sees it.
home=$(mktemp -d)
XDG_DATA_HOME=$home DISPLAY=$display "$zevo" examples/example.pcb >/dev/null 2>&1 &
app=$!
sleep 4
DISPLAY=$display import -window root "$out/editor.png"
echo "screenshots: $out/editor.png"
# The estimate program beside the editor, as menu item "基板製作見積" starts it: the channel is
# named after the editor's process number.
ordavist="$(dirname "$zevo")/Ordavist"
estimate=
if [ -x "$ordavist" ]; then
    XDG_DATA_HOME=$home DISPLAY=$display "$ordavist" \
        "ZEVO $(printf '%08X' "$app") X60 Y40 LY0 F000000C7 $PWD/examples/example.pcb" >/dev/null 2>&1 &
    estimate=$!
    trap 'kill $estimate $app $xvfb 2>/dev/null || true' EXIT
    sleep 3
    DISPLAY=$display import -window root "$out/ordavist.png"
    echo "screenshots: $out/ordavist.png"
fi
kill $estimate $app 2>/dev/null || true
if [ -n "$strokel" ]; then
    XDG_DATA_HOME=$home DISPLAY=$display "$strokel" -T >/dev/null 2>&1 &
    app=$!
    sleep 4
    window=$(DISPLAY=$display xdotool search --name '^Strokel$' | head -n 1)
    DISPLAY=$display import -window "$window" "$out/strokel.png"
    echo "screenshots: $out/strokel.png"
fi
