#!/usr/bin/env bash
# Installs what the build needs on Debian/Ubuntu. Quiet and quick when everything is there.
# `install-deps.sh windows` installs only what the Windows cross build and its tests under wine
# need (`make windows-check`); the plain build never pulls those.
set -euo pipefail

# The mingw-w64 cross compiler with the posix thread model (std::thread), its zlib, wine to run
# the programs and GoogleTest's sources to build the unit tests with the cross compiler.
windows_packages() {
    packages=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine wine64 googletest libcli11-dev
        cmake ninja-build ccache)
}

if [ "${1:-}" = windows ]; then
    windows_packages
else
packages=(
    cmake ninja-build clang libclang-rt-14-dev ccache pkg-config clang-format-14 python3
    zlib1g-dev libpng-dev libcli11-dev
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    gerbv poppler-utils unzip desktop-file-utils appstream-util dpkg-dev imagemagick
    qt6-base-dev qt6-svg-dev qt6-translations-l10n qt6-l10n-tools fonts-noto-cjk
    xvfb xauth xdotool
)
# node and npm for the layer identification check of the estimate archives; a node from elsewhere
# (with its own npm) is used as it is.
if ! command -v npm >/dev/null 2>&1; then
    packages+=(nodejs npm)
fi

# The Hershey stroke data, only for rebuilding the shipped font (`make font`).
if [ "${ZEVO_WITH_FONTGEN:-0}" = 1 ]; then
    packages+=(hershey-fonts-data)
fi
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null 2>&1; then
    echo "install-deps: apt-get not found; please install: ${missing[*]}" >&2
    exit 1
fi
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then sudo="sudo"; else
        echo "install-deps: not root and no sudo; please install: ${missing[*]}" >&2
        exit 1
    fi
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# Another apt or dpkg run (unattended upgrades, a second shell) may hold a lock: wait for it
# rather than fail. apt waits on the dpkg lock itself; the lists lock of 'update' is retried.
apt() {
    local try
    for try in $(seq 1 90); do
        if $sudo apt-get -o DPkg::Lock::Timeout=600 "$@"; then return 0; fi
        echo "install-deps: apt-get $1 failed (lock held?), retrying in 10 s" >&2
        sleep 10
    done
    return 1
}
apt update -qq
apt install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
