#!/usr/bin/env bash
# The estimate program's archives checked by readers nobody here wrote: unzip -t, Python's
# zipfile (testzip), zipinfo -1 (exactly the expected names at the root), gerbv (every packed
# file read without a warning) and tracespace's whats-that-gerber (the generic names classified
# as the right layers). A missing tool skips its part with a message; with none at all the test
# is skipped.
#
# Usage: outside_checks.sh ZEVO_CLI BOARD.pcb NPM_CACHE_DIR
set -uo pipefail
cli=$1
board_src=$2
npm_dir=$3
# The version of whats-that-gerber the classification below was checked with.
wtg_version=4.2.7

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fails=0
passes=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
pass() { passes=$((passes + 1)); }
have() { command -v "$1" >/dev/null 2>&1; }

tools=0
for t in unzip zipinfo python3 gerbv; do
    if have "$t"; then tools=$((tools + 1)); else echo "skipping the $t checks: $t is not installed (make test installs it)"; fi
done
if [ "$tools" -eq 0 ]; then
    echo "no outside tool is installed"
    exit 77
fi

mkdir -p "$work/boards" "$work/tmp" "$work/nc"
board="$work/boards/amp.pcb"
# The example board with something on every layer of the set: both masks, the non-plated holes
# and an inner pattern layer, so that every name of the tables is packed somewhere.
{
    iconv -f CP932 -t UTF-8 "$board_src" |
        sed $'/^42:NAME/i 12:NAME=内層1,COLOR=7,DISP=ON,ACTIV=ON,PRINT=ON\r'
    printf 'LAND:X=15,Y=15,LE=5,AP=28\r\nLAND:X=15,Y=15,LE=6,AP=28\r\n'
    printf 'LAND:X=60,Y=50,LE=42,AP=40\r\nLINE:XS=10,YS=30,XE=60,YE=30,LE=12,AP=9\r\n'
    printf 'LINE:XS=50,YS=10,XE=60,YE=10,LE=4,AP=9\r\n'
} | iconv -f UTF-8 -t CP932 >"$board" || { echo "cannot make the test board"; exit 1; }

# What the editor writes for this board, to know which rows are present.
"$cli" zevonc "$board" --dir "$work/nc" >/dev/null || { echo "zevo-cli zevonc failed"; exit 1; }
present() { [ -f "$work/nc/ZevoNC/$1" ]; }

# The renaming tables (ZevoNC name, side A name, side B name; "." or "-" replaces the extension).
maker_rows="PatternA ptn_top.grb ptn_btm.grb
PatternB ptn_btm.grb ptn_top.grb
SilkA slk_top.grb slk_btm.grb
SilkB slk_btm.grb slk_top.grb
MaskA res_top.grb res_btm.grb
MaskB res_btm.grb res_top.grb
Board outline.grb outline.grb
Drill dri.grb dri.grb
DrillNTH npth.grb npth.grb
InnerLy1 ptn_sec.grb ptn_sec.grb
InnerLy2 ptn_thi.grb ptn_thi.grb
InnerLy3 ptn_fou.grb ptn_fou.grb
InnerLy4 ptn_fiv.grb ptn_fiv.grb"
generic_head="PatternA .GTL .GBL
PatternB .GBL .GTL
SilkA .GTO .GBO
SilkB .GBO .GTO
MaskA .GTS .GBS
MaskB .GBS .GTS
Board .GML .GML"
generic_tail="InnerLy1 .GL2 .GL2
InnerLy2 .GL3 .GL3
InnerLy3 .GL4 .GL4
InnerLy4 .GL5 .GL5
InnerLy5 .GL6 .GL6
InnerLy6 .GL7 .GL7
InnerLy7 .GL8 .GL8
InnerLy8 .GL9 .GL9"
rows_of() {
    case $1 in
        0) echo "$maker_rows" ;;
        1) printf '%s\nDrillNC .TXT .TXT\n%s\n' "$generic_head" "$generic_tail" ;;
        2) printf '%s\nDrillNC1 .TXT .TXT\nDrillNC2 -NPTH.TXT -NPTH.TXT\n%s\n' "$generic_head" "$generic_tail" ;;
        3) printf '%s\nDrills .TXT .TXT\n%s\n' "$generic_head" "$generic_tail" ;;
    esac
}
expected_names() {  # entry side
    rows_of "$1" | while read -r nc a b; do
        [ -n "$nc" ] || continue
        # Drills is gathered from Drill and DrillNTH.
        if [ "$nc" = Drills ]; then present Drill || present DrillNTH || continue
        else present "$nc" || continue; fi
        n=$a; [ "$2" = B ] && n=$b
        case $n in .* | -*) n="amp$n" ;; esac
        echo "$n"
    done
}

gerbv_check() {  # file
    local err="$work/gerbv.err"
    gerbv -x png -D 100 -o "$work/gerbv.png" "$1" >/dev/null 2>"$err"
    local rc=$?
    # The one expected notice: the canned drill cycle "G81" of drill programs.
    local complaints
    complaints=$(grep -E 'CRITICAL|WARNING' "$err" | grep -v 'Unsupported G81' || true)
    if [ $rc -ne 0 ] || [ -n "$complaints" ] || [ ! -s "$work/gerbv.png" ]; then
        fail "gerbv on $(basename "$1"): exit $rc ${complaints}"
    else
        pass
    fi
}

for entry in 0 1 2 3; do
    for side in A B; do
        for mirror in "" --mirror; do
            what="entry $entry side $side ${mirror:-plain}"
            rm -f "$work/boards/amp_zevo.zip"
            args=(estimate "$board" --entry "$entry" --temp "$work/tmp")
            [ "$side" = B ] && args+=(--side-b)
            [ -n "$mirror" ] && args+=("$mirror")
            if ! "$cli" "${args[@]}" >"$work/cli.log" 2>&1; then
                fail "$what: zevo-cli estimate failed: $(cat "$work/cli.log")"
                continue
            fi
            zip="$work/boards/amp_zevo.zip"
            [ -f "$zip" ] || { fail "$what: no archive"; continue; }
            if have unzip; then
                unzip -tq "$zip" >/dev/null 2>&1 && pass || fail "$what: unzip -t: $(unzip -t "$zip" 2>&1 | tail -3)"
            fi
            if have python3; then
                python3 - "$zip" <<'PY' && pass || fail "$what: python zipfile"
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    bad = z.testzip()
    if bad is not None:
        print("bad member", bad); sys.exit(1)
    if z.comment != b"ZEVO":
        print("comment", z.comment); sys.exit(1)
PY
            fi
            if have zipinfo; then
                expected=$(expected_names "$entry" "$side")
                actual=$(zipinfo -1 "$zip" 2>&1)
                if [ "$expected" = "$actual" ] && [ -n "$actual" ]; then pass; else
                    fail "$what: zipinfo -1 gave [$actual], expected [$expected]"
                fi
            fi
            if have gerbv && have unzip && [ "$side" = A ]; then
                rm -rf "$work/x" && mkdir -p "$work/x"
                unzip -q "$zip" -d "$work/x"
                for f in "$work"/x/*; do gerbv_check "$f"; done
            fi
        done
    done
done

# tracespace's layer identification of the generic names (all but the inner layers).
if have npm && have node; then
    mkdir -p "$npm_dir"
    if [ ! -d "$npm_dir/node_modules/whats-that-gerber" ] ||
        ! grep -q "\"version\": \"$wtg_version\"" "$npm_dir/node_modules/whats-that-gerber/package.json"; then
        npm install --prefix "$npm_dir" --no-audit --no-fund --silent "whats-that-gerber@$wtg_version" >"$work/npm.log" 2>&1 ||
            echo "skipping the whats-that-gerber check: npm could not install it ($(tail -1 "$work/npm.log"))"
    fi
    if [ -d "$npm_dir/node_modules/whats-that-gerber" ]; then
        names=$( (expected_names 2 A; expected_names 2 B; expected_names 1 A; expected_names 3 A) | sort -u | grep -v '\.GL[2-9]$')
        NODE_PATH="$npm_dir/node_modules" node - $names <<'JS' && pass || fail "whats-that-gerber"
const wtg = require('whats-that-gerber');
const names = process.argv.slice(2);
const want = {
  '.GTL': ['copper', 'top'], '.GBL': ['copper', 'bottom'],
  '.GTO': ['silkscreen', 'top'], '.GBO': ['silkscreen', 'bottom'],
  '.GTS': ['soldermask', 'top'], '.GBS': ['soldermask', 'bottom'],
  '.GML': ['outline', 'all'], '.TXT': ['drill', 'all'],
};
const got = wtg(names);
let bad = 0;
for (const n of names) {
  const ext = n.slice(n.lastIndexOf('.'));
  const w = want[ext];
  const g = got[n] || {};
  const ok = w && g.type === w[0] && g.side === w[1];
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${n}: ${g.type}/${g.side}` + (ok ? '' : ` (expected ${w})`));
  if (!ok) bad++;
}
if (names.length === 0) { console.log('no generic names'); bad++; }
process.exit(bad ? 1 : 0);
JS
    fi
else
    echo "skipping the whats-that-gerber check: npm or node is not installed (make test installs them)"
fi

echo "outside checks: $passes passed, $fails failed"
[ "$fails" -eq 0 ]
