#!/usr/bin/env bash
# Copy and paste between two running editors through the X clipboard: a virtual display (Xvfb),
# two `zevo` processes on the xcb platform, each in a program folder of its own (a hard link of
# the program, so that settings and files do not meet) with its own XDG folders. The first opens
# a small board; xdotool selects everything with the multiple tool's rubber band and copies it
# with Ctrl+C; the second pastes with Ctrl+V, puts the items down with a click and saves with
# Ctrl+S. `zevo-cli info` then finds the same elements in both boards.
#
# Skipped (exit 77) when Xvfb or xdotool is missing; scripts/install-deps.sh installs both.
#
# Usage: clipboard_between_editors.sh ZEVO ZEVO_CLI
set -uo pipefail
zevo=$1
cli=$2

have() { command -v "$1" >/dev/null 2>&1; }
for t in Xvfb xdotool; do
    if ! have "$t"; then
        echo "skipping: $t is not installed (scripts/install-deps.sh installs it)"
        exit 77
    fi
done

# The scratch folder beside the program, so that the program can be hard-linked into it.
work=$(mktemp -d "$(dirname "$zevo")/clipboard-test.XXXXXX") || exit 1
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    for p in "${pids[@]}"; do
        for _ in $(seq 50); do kill -0 "$p" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$p" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
fail() {
    echo "FAIL: $*"
    for f in "$work"/*.log; do [ -s "$f" ] && { echo "--- $f"; tail -20 "$f"; }; done
    exit 1
}

# A free display: the server picks it and tells on a descriptor.
Xvfb -displayfd 3 -screen 0 2200x900x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"

# Two boards: "a" holds a land, a line and a part of two lands; "b" holds nothing.
board() {
    printf '[Version]\r\nZEVO:Version 0.63.9\r\n\r\n[BoardSize]\r\nX:200\r\nY:200\r\nGRID:1,1\r\nORIGIN:X=0,Y=0\r\n\r\n'
    printf '[LayerDef]\r\n1:NAME=A,COLOR=1,DISP=ON,ACTIV=ON,PRINT=ON\r\n2:NAME=B,COLOR=3,DISP=ON,ACTIV=ON,PRINT=ON\r\n\r\n'
    printf '[DrawItems]\r\n'
    cat
}
board >"$work/a.pcb" <<'EOF'
LAND:X=95,Y=95,LE=1,AP=18
LINE:XS=95,YS=95,XE=105,YE=100,LE=2,AP=9
GROUP:R,1/4W,R1,X=100,Y=104,ANG=0
LAND:X=100,Y=104,LE=1,AP=18,PN=1,NO=1
LAND:X=105,Y=104,LE=1,AP=18,PN=2,NO=2
ENDGR:
EOF
board >"$work/b.pcb" </dev/null

# Starts an editor in its own program folder; prints the process id.
start() {
    local name=$1 file=$2 dir="$work/$1"
    mkdir -p "$dir/run" "$dir/data" "$dir/config"
    chmod 700 "$dir/run"
    ln "$zevo" "$dir/zevo" 2>/dev/null || cp "$zevo" "$dir/zevo" || fail "cannot place the program"
    env QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$dir/run" XDG_DATA_HOME="$dir/data" \
        XDG_CONFIG_HOME="$dir/config" ASAN_OPTIONS=detect_leaks=0 \
        "$dir/zevo" "$file" >"$work/$name.log" 2>&1 &
    echo $!
}
# The editor's main window, once it is shown (at most 60 s: the sanitised build starts slowly).
window() {
    timeout 60 xdotool search --sync --all --onlyvisible --pid "$1" --name 'Zevo' 2>/dev/null | head -n1
}
# Waits until the window at the front takes keys.
focus() {
    xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
    sleep 0.3
}
settle() { sleep 0.5; }
# With ZEVO_TEST_SHOTS=folder, a picture of the display after each step (to see what went wrong).
shot() {
    [ -n "${ZEVO_TEST_SHOTS:-}" ] && have import && import -window root "$ZEVO_TEST_SHOTS/$1.png"
    return 0
}

pa=$(start a "$work/a.pcb")
pids+=("$pa")
wa=$(window "$pa")
[ -n "$wa" ] || fail "the first editor showed no window"
pb=$(start b "$work/b.pcb")
pids+=("$pb")
wb=$(window "$pb")
[ -n "$wb" ] || fail "the second editor showed no window"

# Side by side, each 1000 x 800: without a window manager this is exact.
xdotool windowsize --sync "$wa" 1000 800 windowmove --sync "$wa" 0 0
xdotool windowsize --sync "$wb" 1000 800 windowmove --sync "$wb" 1100 0
settle

# The first editor: the board is fitted into the view when it opens; two steps out (Page Up)
# leave it in the middle quarter, so a band from 15 % to 85 % of the window takes everything.
focus "$wa"
xdotool mousemove --window "$wa" 500 400
xdotool key Prior Prior
settle
xdotool key w
settle
xdotool mousemove --window "$wa" 150 150 mousedown 1
for step in 1 2 3 4 5 6; do
    xdotool mousemove --window "$wa" $((150 + step * 115)) $((150 + step * 80))
    sleep 0.1
done
shot 1-band
xdotool mouseup 1
settle
shot 2-taken
xdotool key ctrl+c
settle
shot 3-copied

# The second editor: Ctrl+V floats the items at the cursor, a click puts them down, Ctrl+S saves.
focus "$wb"
before=$(cksum <"$work/b.pcb")
xdotool mousemove --window "$wb" 500 400
settle
xdotool key ctrl+v
settle
xdotool mousemove --window "$wb" 520 410
settle
shot 4-floating
xdotool click 1
settle
shot 5-put-down
xdotool key ctrl+s
for _ in $(seq 100); do
    [ "$(cksum <"$work/b.pcb")" != "$before" ] && break
    sleep 0.1
done
[ "$(cksum <"$work/b.pcb")" != "$before" ] || fail "the second board was not saved"
settle

elements() { "$cli" info "$1" | grep -E '^(elements|groups):'; }
want=$(elements "$work/a.pcb") || fail "zevo-cli cannot read the first board"
got=$(elements "$work/b.pcb") || fail "zevo-cli cannot read the saved board"
echo "copied:  $want" | tr '\n' ' '
echo
echo "pasted:  $got" | tr '\n' ' '
echo
[ "$want" = "$got" ] || fail "the pasted elements differ from the copied ones"
# The part keeps its pin numbers and its attribute.
grep -q '^GROUP:R,1/4W,' "$work/b.pcb" || fail "the part lost its name or attribute"
[ "$(grep -c ',NO=[12]' "$work/b.pcb")" = 2 ] || fail "the part's pins lost their numbers"
echo "PASS"
exit 0
