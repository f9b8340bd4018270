#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then configures and builds.
# Usage: scripts/setup.sh [build-dir] [extra cmake options...]
# KESTRIN_TARGETS, when set, names the targets to build instead of all of them.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"
shift || true

packages=(cmake g++ make pkg-config qt6-base-dev qt6-serialport-dev libgtest-dev libgmock-dev
          libbenchmark-dev fonts-dejavu-core qt6-translations-l10n qt6-l10n-tools xvfb)
# A device server that is not ours, for the network-port tests (raw TCP and RFC 2217).
packages+=(ser2net)
# lrelease, for the English translation and the layout test that installs it.
packages+=(qt6-l10n-tools)
# The Debian package and its checks: dependencies from the binaries, file types, the desktop entry.
packages+=(dpkg-dev file desktop-file-utils)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
targets=()
for t in ${KESTRIN_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$build" -j "$(nproc)" "${targets[@]}"
