#!/usr/bin/env bash
# Loading the same big board in zevo-cli and in pcb-rnd (batch mode), side by side.
#
#   bash bench/compare-peer.sh [BUILD_DIR]     (make compare-peer builds the release first)
#
# One board (1 M lines, 41 k lands, 20 k arcs, 2 k parts; LINES, LANDS, ARCS, PARTS change it) is
# written by zevo_peer_board in our format and in the gEDA/pcb text format that pcb-rnd reads.
# Each program loads its file RUNS times (default 5): `zevo-cli info` reads and reports the board,
# pcb-rnd in its batch interface loads it and ends at the end of its (empty) input. The minimum
# wall-clock times and their ratio are printed. pcb-rnd is installed with apt-get when missing; where
# that cannot be done the comparison is skipped with a message (exit status 0).
set -u

BUILD=${1:-build/release}
RUNS=${RUNS:-5}
LINES=${LINES:-1000000}
LANDS=${LANDS:-41000}
ARCS=${ARCS:-20000}
PARTS=${PARTS:-2000}
CLI=$BUILD/zevo-cli
GEN=$BUILD/bench/zevo_peer_board

skip() {
    echo "compare-peer: skipped: $*"
    exit 0
}

for p in "$CLI" "$GEN"; do
    [ -x "$p" ] || { echo "compare-peer: $p is missing (make compare-peer builds it)" >&2; exit 1; }
done

# pcb-rnd, installed when missing.
if ! command -v pcb-rnd >/dev/null 2>&1; then
    SUDO=
    if [ "$(id -u)" != 0 ]; then
        if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
            SUDO="sudo -n"
        else
            skip "pcb-rnd is not installed and installing it needs root (apt-get install pcb-rnd)"
        fi
    fi
    command -v apt-get >/dev/null 2>&1 || skip "pcb-rnd is not installed and there is no apt-get"
    echo "compare-peer: installing pcb-rnd"
    # Another installation may hold the package lock: wait for it (up to 10 minutes).
    $SUDO apt-get -o DPkg::Lock::Timeout=600 update -qq >/dev/null 2>&1 ||
        skip "apt-get update failed"
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
        pcb-rnd >/dev/null 2>&1 || skip "apt-get install pcb-rnd failed"
    command -v pcb-rnd >/dev/null 2>&1 || skip "pcb-rnd is still not found after installing it"
fi

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
OURS=$WORK/board.pcb
THEIRS=$WORK/board-geda.pcb

echo "compare-peer: generating $LINES lines, $LANDS lands, $ARCS arcs, $PARTS parts"
"$GEN" "$OURS" "$THEIRS" --lines "$LINES" --lands "$LANDS" --arcs "$ARCS" --parts "$PARTS" ||
    { echo "compare-peer: generating the board failed" >&2; exit 1; }

# pcb-rnd must really take the file: a board it cannot parse makes it complain and still quit.
if ! pcb-rnd --gui batch "$THEIRS" </dev/null >"$WORK/peer.log" 2>&1 ||
    grep -qiE "error|can't|cannot|failed" "$WORK/peer.log"; then
    sed -n 1,20p "$WORK/peer.log"
    skip "pcb-rnd did not load the generated board"
fi
"$CLI" info "$OURS" >"$WORK/info.txt" || { echo "compare-peer: zevo-cli info failed" >&2; exit 1; }

# Minimum wall-clock time in milliseconds of RUNS runs of a command.
min_ms() {
    local best= i start end ms
    for ((i = 0; i < RUNS; ++i)); do
        start=$(date +%s%N)
        "$@" </dev/null >/dev/null 2>&1
        end=$(date +%s%N)
        ms=$(((end - start) / 1000000))
        if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
    done
    echo "$best"
}

ours=$(min_ms "$CLI" info "$OURS")
theirs=$(min_ms pcb-rnd --gui batch "$THEIRS")
version=$(pcb-rnd --version 2>/dev/null | head -n 1)

size() { echo "$(($(stat -c %s "$1") / 1000000)) MB"; }
echo
echo "board: $LINES lines, $LANDS lands, $ARCS arcs, $PARTS parts (min of $RUNS runs, wall clock)"
printf '  %-36s %-8s %8d ms\n' "zevo-cli info" "$(size "$OURS")" "$ours"
printf '  %-36s %-8s %8d ms\n' "${version:-pcb-rnd} --gui batch" "$(size "$THEIRS")" "$theirs"
awk -v a="$theirs" -v b="$ours" 'BEGIN {
    if (b > 0) printf "ratio: pcb-rnd / zevo-cli = %.1f\n", a / b; else print "ratio: zevo-cli too fast to time" }'
