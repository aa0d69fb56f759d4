#!/usr/bin/env bash
# Installs the Debian packages the game, its tools and its tests need, if any
# is missing. Runs apt-get through sudo unless already root.
set -euo pipefail
# `tools/install_deps.sh game` installs only what building and playing need;
# with no argument everything the tests, fuzzers and Windows builds need too.
packages=(
    build-essential cmake
    libsdl2-dev libfreetype-dev zlib1g-dev fonts-dejavu-core
)
if [[ ${1:-all} != game ]]; then
    packages+=(
        libgtest-dev libbenchmark-dev
        clang libclang-rt-14-dev
        g++-multilib qemu-user-static googletest
        xvfb xdotool x11-utils x11-xserver-utils imagemagick icewm strace clang-format
        mingw-w64 wine64 wine wine32:i386 nsis
        dpkg-dev lintian desktop-file-utils appstream
        emscripten chromium firefox-esr nodejs
    )
    # The browser test needs npm. A Node.js from elsewhere (NodeSource) brings
    # its own and refuses Debian's package beside it.
    command -v npm >/dev/null || packages+=(npm)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]} == 0)); then
    exit 0
fi
sudo=""
[[ $(id -u) -eq 0 ]] || sudo=sudo
echo "installing: ${missing[*]}"
# The 32-bit Wine for the i686 Windows build comes from the i386 architecture.
if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
