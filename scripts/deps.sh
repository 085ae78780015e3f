#!/usr/bin/env bash
# Installs the Debian packages that building and running Quorvane need, skipping those already
# installed; with --tests also what the test suite, the package checks, the fuzz target, the
# static checks and the benchmark need. Run as root (or with sudo available).
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev libcanberra-dev libfontconfig-dev libgl-dev
    sound-theme-freedesktop fonts-ipafont-gothic dbus libcanberra-pulse qt6-wayland
)
if [ "${1:-}" = "--tests" ]; then
    packages+=(
        clang-format
        # the end-to-end tests' private desktops
        xvfb openbox trayer xdotool x11-utils python3-dbusmock python3-xlib faketime imagemagick
        xauth weston pulseaudio pulseaudio-utils xfce4-panel lxqt-panel
        # the package and its checks
        dpkg-dev file desktop-file-utils appstream lintian
        # the fuzz target, the sanitizers and the static checks
        clang libclang-rt-14-dev clang-tidy
        # the benchmark
        valgrind
    )
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
