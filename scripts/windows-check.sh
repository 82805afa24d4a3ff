#!/usr/bin/env bash
# The Windows build of the core and zevo-cli, tried under wine (`make windows-check`):
#   windows-check.sh NATIVE_CLI [BUILD_DIR]
# Cross-builds zevo-cli.exe and zevo_tests.exe with mingw-w64 into BUILD_DIR (build/windows),
# then runs zevo-cli.exe on the example board and compares what it writes, byte for byte, with
# what the Linux zevo-cli NATIVE_CLI writes; then the unit tests. Wine runs in a scratch prefix
# under BUILD_DIR and is told to fetch nothing (no Mono, no Gecko). Ends with
# "windows-check: N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
native=${1:?usage: windows-check.sh NATIVE_CLI [BUILD_DIR]}
build=${2:-build/windows}
native=$(realpath "$native")

bash scripts/install-deps.sh windows || exit 1

if [ ! -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DZEVO_QT=OFF -DZEVO_TESTS=ON || exit 1
fi
cmake --build "$build" -j "${JOBS:-$(nproc)}" --target zevo-cli zevo_tests || exit 1
build=$(realpath "$build")
exe=$build/zevo-cli.exe
tests=$build/tests/zevo_tests.exe

export WINEPREFIX=$build/wine-prefix
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all
export WINEARCH=win64
wine=$(command -v wine || command -v wine64)
# The prefix is made once; its first start takes a while.
"$wine" wineboot --init >/dev/null 2>&1
stop_wine() { wineserver -k >/dev/null 2>&1 || true; }
trap stop_wine EXIT

work=$build/check
rm -rf "$work"
mkdir -p "$work"
passed=0
failed=0
pass() { echo "  ok   $1"; passed=$((passed + 1)); }
fail() { echo "  FAIL $1"; failed=$((failed + 1)); }
example=$root/examples/example.pcb

# Both programs in their own folder on a copy of the board, the same arguments; the folders
# must then hold the same bytes (stdout is compared without the CR of Windows' text mode and with
# / for the \ of Windows paths).
both() {
    local name=$1
    shift
    local side prog
    for side in linux windows; do
        mkdir -p "$work/$name/$side"
        cp "$example" "$work/$name/$side/example.pcb"
        prog=$native
        [ $side = windows ] && prog="$wine $exe"
        (cd "$work/$name/$side" && $prog "$@" >../$side.out 2>../$side.err)
        echo $? >"$work/$name/$side.rc"
        # Paths are printed with the system's separator.
        tr -d '\r' <"$work/$name/$side.out" | tr '\\' / >"$work/$name/$side.txt"
    done
    if ! cmp -s "$work/$name/linux.rc" "$work/$name/windows.rc"; then
        fail "$name: exit status $(cat "$work/$name/linux.rc") on Linux, $(cat "$work/$name/windows.rc") on Windows"
        cat "$work/$name/windows.err"
    elif ! diff -r "$work/$name/linux" "$work/$name/windows" >"$work/$name.diff"; then
        fail "$name: the files differ"
        head -n 20 "$work/$name.diff"
    elif ! diff "$work/$name/linux.txt" "$work/$name/windows.txt" >"$work/$name.diff"; then
        fail "$name: the output differs"
        head -n 20 "$work/$name.diff"
    else
        pass "$name"
    fi
}

echo "windows-check: zevo-cli.exe against $native"
both info info example.pcb
both convert convert example.pcb converted.pcb
both convert-old convert example.pcb old.pcb --old-format
both gerber gerber example.pcb --out .
both gerber-modern gerber example.pcb --out . --modern
both drill drill example.pcb --out .
both zevonc zevonc example.pcb --dir .
both drc drc example.pcb --rules "$root/resources/Zevo.drc" -o drc.pcb
both netlist netlist example.pcb -o example.net
both compare compare example.pcb "$root/examples/example.net" -o NetListErr.txt
both coords coords example.pcb -o coords.txt

# A Japanese file name: read, written, and the manufacturing files named after it.
jp=$work/japanese
mkdir -p "$jp/linux" "$jp/windows"
cp "$example" "$jp/linux/基板テスト.pcb"
cp "$example" "$jp/windows/基板テスト.pcb"
mkdir -p "$jp/linux/出力" "$jp/windows/出力"
(cd "$jp/linux" && "$native" convert 基板テスト.pcb 変換後の基板.pcb >/dev/null &&
    "$native" zevonc 基板テスト.pcb --dir 出力 >/dev/null)
(cd "$jp/windows" && "$wine" "$exe" convert 基板テスト.pcb 変換後の基板.pcb >../convert.out 2>&1 &&
    "$wine" "$exe" zevonc 基板テスト.pcb --dir 出力 >../zevonc.out 2>&1)
rc=$?
(cd "$jp/windows" && "$wine" "$exe" info 変換後の基板.pcb >../info.out 2>&1)
if [ $rc != 0 ]; then
    fail "japanese name: zevo-cli.exe failed"
    cat "$jp/convert.out" "$jp/zevonc.out" 2>/dev/null | head -n 20
elif ! grep -q '^file: 変換後の基板.pcb' "$jp/info.out"; then
    fail "japanese name: info does not read the converted board"
    head -n 5 "$jp/info.out"
elif ! diff -r "$jp/linux" "$jp/windows" >"$jp.diff"; then
    fail "japanese name: the files differ"
    head -n 20 "$jp.diff"
else
    pass "japanese name"
fi

# The picture of render: PNG through zlib alone on Windows, so the bytes differ from libpng's;
# the pixels must not.
mkdir -p "$work/render"
(cd "$work/render" && "$native" render "$example" -o linux.png --size 800x600 >/dev/null &&
    "$wine" "$exe" render "$example" -o windows.png --size 800x600 >render.out 2>&1)
rc=$?
differ=$(compare -metric AE "$work/render/linux.png" "$work/render/windows.png" null: 2>&1)
if [ $rc = 0 ] && [ "$differ" = 0 ]; then
    pass "render"
else
    fail "render: status $rc, $differ pixel(s) differ"
    cat "$work/render/render.out"
fi

# The unit tests, each named as it starts so that a test that hangs is named when the time is
# up (they take about a minute under wine).
(cd "$work" && timeout "${UNIT_TIMEOUT:-1200}" "$wine" "$tests" >"$work/unit.out" 2>&1)
rc=$?
grep -E '^\[==========\] [0-9]+ tests|^\[  PASSED  \]|^\[  SKIPPED \] [0-9]+ test' "$work/unit.out"
if [ $rc = 0 ]; then
    pass "unit tests"
elif [ $rc = 124 ]; then
    fail "unit tests: still running after ${UNIT_TIMEOUT:-1200} s, in $(grep -E '^\[ RUN' "$work/unit.out" | tail -n 1)"
else
    grep -E '^\[  FAILED  \]' "$work/unit.out" | head -n 40
    fail "unit tests"
fi

echo "windows-check: $passed passed, $failed failed"
[ $failed = 0 ]
