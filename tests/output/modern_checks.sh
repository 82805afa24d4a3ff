#!/usr/bin/env bash
# The current-format files (zevo-cli gerber|drill|zevonc --modern) checked by readers nobody here
# wrote:
#   - gerbv reads every file without a CRITICAL or WARNING line;
#   - every Gerber layer of the fabrication set (copper and the others) renders at 1000 dpi the
#     same as the same layer in the extended format: gerbv's PNG of both in one fixed window,
#     compared with ImageMagick; pixels may differ only within one pixel of a stroke's edge;
#   - tracespace's parser and plotter (gerber-parser, gerber-plotter; npm, pinned, installed into
#     the build folder) read every file with no warning and no error, and find the drill
#     programs where the drill Gerber files are.
# Two boards: the example, and the example with arcs in every quadrant, full circles, turned
# rectangles (areas) and coordinates off the 0.001 mm grid. A missing tool skips its part with a
# message; with none at all the test is skipped.
#
# Usage: modern_checks.sh ZEVO_CLI EXAMPLE.pcb NPM_DIR
set -uo pipefail
cli=$1
board_src=$2
npm_dir=$3
# The versions the checks below were made with.
parser_version=4.2.7
plotter_version=4.2.8

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fails=0
passes=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
pass() { passes=$((passes + 1)); }
have() { command -v "$1" >/dev/null 2>&1; }

have gerbv || echo "skipping the gerbv checks: gerbv is not installed (make test installs it)"
# ImageMagick's own convert (a program of that name elsewhere on the path may be another).
im=""
for c in /usr/bin/convert /usr/bin/convert-im6.q16 /usr/bin/magick; do
    [ -x "$c" ] && { im=$c; break; }
done
have compare && [ -n "$im" ] ||
    echo "skipping the render comparison: ImageMagick is not installed (make test installs it)"
tracespace=0
if have npm && have node; then
    want="gerber-parser@$parser_version gerber-plotter@$plotter_version"
    if ! grep -qs "\"version\": \"$parser_version\"" "$npm_dir/node_modules/gerber-parser/package.json" ||
        ! grep -qs "\"version\": \"$plotter_version\"" "$npm_dir/node_modules/gerber-plotter/package.json"; then
        mkdir -p "$npm_dir"
        # shellcheck disable=SC2086
        npm install --no-save --prefix "$npm_dir" --no-audit --no-fund --silent $want >"$work/npm.log" 2>&1 ||
            echo "skipping the tracespace checks: npm could not install $want ($(tail -1 "$work/npm.log"))"
    fi
    [ -d "$npm_dir/node_modules/gerber-plotter" ] && [ -d "$npm_dir/node_modules/gerber-parser" ] && tracespace=1
else
    echo "skipping the tracespace checks: node or npm is not installed (make test installs them)"
fi
if ! have gerbv && [ "$tracespace" = 0 ]; then
    echo "no outside reader is installed"
    exit 77
fi

# The boards.
mkdir -p "$work/boards"
cp "$board_src" "$work/boards/example.pcb"
{
    iconv -f CP932 -t UTF-8 "$board_src" |
        sed $'/^42:NAME/i 12:NAME=内層1,COLOR=7,DISP=ON,ACTIV=ON,PRINT=ON\r'
    printf 'ARC:X=20,Y=30,R=4,ST=10,END=80,LE=1,AP=9\r\n'
    printf 'ARC:X=20,Y=30,R=6,ST=100,END=260,LE=1,AP=9\r\n'
    printf 'ARC:X=30.0004,Y=30.0007,R=3.3333,ST=200,END=350,LE=1,AP=4\r\n'
    printf 'ARC:X=60,Y=30,R=5,ST=0,END=360,LE=2,AP=20\r\n'
    printf 'ARC:X=45,Y=50,R=2.5,ST=-60,END=60,LE=2,AP=9\r\n'
    printf 'RECT:X=25,Y=45,DX=10,DY=6,ANG=30,LE=1,AP=4\r\n'
    printf 'RECT:X=60.0003,Y=45.0006,DX=7.77,DY=5.55,ANG=-17,LE=2,AP=9\r\n'
    printf 'RECT:X=40,Y=40,DX=8,DY=8,ANG=45,LE=12,AP=4\r\n'
    printf 'LINE:XS=10.0004,YS=12.0006,XE=33.3333,YE=23.4567,LE=1,AP=9\r\n'
    printf 'LINE:XS=10,YS=30,XE=60,YE=30,LE=12,AP=9\r\n'
    printf 'ARC:X=30,Y=20,R=3,ST=45,END=315,LE=12,AP=9\r\n'
    printf 'LAND:X=15,Y=15,LE=5,AP=28\r\nLAND:X=15,Y=15,LE=6,AP=28\r\n'
    printf 'LAND:X=60,Y=50,LE=42,AP=40\r\nLAND:X=70,Y=12.3456,LE=42,AP=30\r\n'
} | iconv -f UTF-8 -t CP932 >"$work/boards/gen.pcb" || { echo "cannot make the test board"; exit 1; }

gerbv_check() {  # file
    local err="$work/gerbv.err"
    gerbv -x png -D 100 -o "$work/gerbv.png" "$1" >/dev/null 2>"$err"
    local rc=$?
    local complaints
    complaints=$(grep -E 'CRITICAL|WARNING' "$err" || true)
    if [ $rc -ne 0 ] || [ -n "$complaints" ] || [ ! -s "$work/gerbv.png" ]; then
        fail "gerbv on $1: exit $rc ${complaints}"
    else
        pass
    fi
}

# One fixed window for both formats, so that the pictures compare pixel by pixel.
render() {  # file png [extra gerbv options]
    local f=$1 png=$2
    shift 2
    gerbv -x png -D 1000 -O 0x0 -W 3.5x2.6 -b '#000000' -f '#FFFFFFFF' "$@" -o "$png" "$f" \
        >/dev/null 2>&1
}

# A pixel may differ only on a stroke's edge: gerbv snaps the ends of what it draws to the pixel
# grid, so where the extended file rounded a coordinate to 0.001 mm (0.04 pixel) an edge can land
# one pixel over. Differing pixels are counted outside the one-pixel band around every edge of
# the extended picture (dilated minus eroded, 3 x 3): there must be none.
compare_layer() {  # name default-file modern-file
    local name=$1 old=$2 new=$3
    render "$old" "$work/old.png" && render "$new" "$work/new.png" ||
        { fail "$name: gerbv could not render"; return; }
    local lit
    lit=$("$im" "$work/new.png" -format '%[fx:mean>0]' info: 2>/dev/null)
    [ "$lit" = 1 ] || { fail "$name: the rendering is empty"; return; }
    local ae
    ae=$(compare -metric AE "$work/old.png" "$work/new.png" null: 2>&1)
    if [ "$ae" = 0 ]; then
        pass
        echo "  $name: identical"
        return
    fi
    local outside
    outside=$("$im" \( "$work/old.png" "$work/new.png" -compose difference -composite \
        -colorspace gray -threshold 0 \) \( "$work/old.png" -colorspace gray -threshold 50% \
        -morphology Edge Square:1 -negate \) -compose multiply -composite \
        -format '%[fx:round(mean*w*h)]' info: 2>&1)
    if [ "$outside" = 0 ]; then
        pass
        echo "  $name: $ae pixels differ, every one on a stroke's edge"
    else
        fail "$name: $ae pixels differ, $outside of them away from any edge"
    fi
}

files=()
for b in example gen; do
    board="$work/boards/$b.pcb"
    mkdir -p "$work/$b/old" "$work/$b/new" "$work/$b/out" "$work/$b/single"
    "$cli" zevonc "$board" --dir "$work/$b/old" >/dev/null 2>&1 || fail "$b: zevonc"
    "$cli" zevonc "$board" --dir "$work/$b/new" --modern >/dev/null 2>&1 || fail "$b: zevonc --modern"
    "$cli" gerber "$board" --out "$work/$b/out" --layers 1,2,3,4,5,6,7,8,12,42 --modern \
        >/dev/null 2>&1 || fail "$b: gerber --modern"
    "$cli" drill "$board" --out "$work/$b/out" --layers 8,42 --modern >/dev/null 2>&1 ||
        fail "$b: drill --modern"
    "$cli" drill "$board" --out "$work/$b/out" --layers 8,42 --modern --single \
        "$work/$b/single/$b.hol" >/dev/null 2>&1 || fail "$b: drill --modern --single"
    for f in "$work/$b/new/ZevoNC"/* "$work/$b/out"/*.grb "$work/$b/out"/*.hol "$work/$b/single"/*; do
        [ -f "$f" ] && files+=("$f")
    done
    if have gerbv && have compare && [ -n "$im" ]; then
        echo "$b: the set's Gerber layers, extended against current format at 1000 dpi"
        for f in "$work/$b/new/ZevoNC"/*; do
            n=$(basename "$f")
            case $n in DrillNC*) continue ;; esac
            compare_layer "$b/$n" "$work/$b/old/ZevoNC/$n" "$f"
        done
    fi
done
echo "${#files[@]} current-format files"
[ "${#files[@]}" -ge 30 ] || fail "only ${#files[@]} files were written"

if have gerbv; then
    for f in "${files[@]}"; do gerbv_check "$f"; done
fi

if [ "$tracespace" = 1 ]; then
    NODE_PATH="$npm_dir/node_modules" node - "${files[@]}" <<'JS' && pass || fail "tracespace"
// Every file through the parser and the plotter; a warning or an error of either fails it. The
// drill programs of the set must cover the same box as the drill Gerber files they go with.
const fs = require('fs');
const gerberParser = require('gerber-parser');
const gerberPlotter = require('gerber-plotter');
let bad = 0;
const boxes = {};
function check(file) {
  return new Promise((resolve) => {
    const warnings = [];
    const parser = gerberParser();
    const plotter = gerberPlotter();
    let objects = 0, error = null;
    parser.on('warning', (w) => warnings.push(`parser: ${w.message} (line ${w.line})`));
    plotter.on('warning', (w) => warnings.push(`plotter: ${w.message} (line ${w.line})`));
    parser.on('error', (e) => { error = e; });
    plotter.on('error', (e) => { error = e; });
    plotter.on('data', (d) => {
      if (d.type === 'size') boxes[file] = d.box;
      else if (d.type === 'shape' || d.type === 'stroke' || d.type === 'pad' || d.type === 'fill') objects++;
    });
    const done = () => {
      const ok = !error && warnings.length === 0 && objects > 0;
      if (!ok) {
        bad++;
        console.log(`FAIL ${file}: ${objects} objects` + (error ? `, error ${error.message}` : '') +
                    warnings.map((w) => '\n  ' + w).join(''));
      }
      resolve();
    };
    plotter.on('end', done);
    fs.createReadStream(file).pipe(parser).pipe(plotter);
  });
}
(async () => {
  const files = process.argv.slice(2);
  for (const f of files) await check(f);
  for (const f of files) {
    const m = f.match(/^(.*\/ZevoNC\/)DrillNC([12])$/);
    if (!m) continue;
    const g = m[1] + (m[2] === '1' ? 'Drill' : 'DrillNTH');
    const a = boxes[f], b = boxes[g];
    const same = a && b && a.every((v, i) => Math.abs(v - b[i]) < 0.001);
    if (!same) { bad++; console.log(`FAIL ${f}: box ${a} against ${g}: ${b}`); }
  }
  console.log(`tracespace: ${files.length} files read, ${bad} failed`);
  process.exit(bad ? 1 : 0);
})();
JS
fi

echo "modern checks: $passes passed, $fails failed"
[ "$fails" -eq 0 ]
