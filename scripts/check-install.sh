#!/usr/bin/env bash
# Checks an installed tree: `check-install.sh ROOT BINDIR` where ROOT/BINDIR holds the programs
# (ROOT is a scratch root for `cmake --install --prefix` or `dpkg -x`). The menu entries and the
# software centre's file pass their validators, and the batch program run from a read-only
# installation finds its shipped files and keeps its own in the user's folder.
# Exit 77 (skipped) when a validator is missing.
set -euo pipefail
root=$1
bin=$2
share=$(dirname "$bin")/share
fail() { echo "check-install: $*" >&2; exit 1; }

for f in "$bin/zevo-cli" "$share/zevo/zevofont.dat" "$share/zevo/Parts.lib" "$share/zevo/Zevo.drc"; do
    [ -e "$f" ] || fail "missing $f"
done
skipped=0
if [ -d "$share/applications" ]; then
    for f in "$share/icons/hicolor/scalable/apps/org.zevo.Zevo.svg" "$share/metainfo/org.zevo.Zevo.metainfo.xml" \
        "$share/zevo/zevo_en.qm"; do
        [ -e "$f" ] || fail "missing $f"
    done
    if command -v desktop-file-validate >/dev/null 2>&1; then
        desktop-file-validate "$share"/applications/*.desktop || fail "desktop entries"
    else
        echo "check-install: desktop-file-validate not installed, entries not validated"; skipped=1
    fi
    if command -v appstream-util >/dev/null 2>&1; then
        appstream-util validate-relax --nonet "$share"/metainfo/*.xml >/dev/null || fail "metainfo"
    else
        echo "check-install: appstream-util not installed, metainfo not validated"; skipped=1
    fi
fi

# A read-only installation: what the program writes goes to the user's folder.
chmod -R a-w "$root"
user=$(mktemp -d)
trap 'chmod -R u+w "$root"; rm -rf "$user"' EXIT
out=$(HOME=$user XDG_DATA_HOME=$user/data "$bin/zevo-cli" info "${ZEVO_EXAMPLE:-examples/example.pcb}") ||
    fail "zevo-cli info failed"
echo "$out" | grep -q '^board: ' || fail "zevo-cli info printed no board"
HOME=$user XDG_DATA_HOME=$user/data "$bin/zevo-cli" font-info >/dev/null || fail "no font found"
echo "check-install: $bin works from a read-only installation"
[ $skipped = 0 ] || exit 77
