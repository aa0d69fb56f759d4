#!/usr/bin/env bash
# Builds every package into dist/, each named with the project's version (set
# once, in CMakeLists.txt):
#   dist/dellomar_<version>_amd64.deb                 the game for Debian
#   dist/dellomar-<version>-windows-i686.zip          Windows on x86
#   dist/dellomar-<version>-windows-x86_64.zip        Windows on x86_64
#   dist/dellomar-<version>-windows-x86_64-setup.exe  the setup program for 64-bit Windows
#   dist/dellomar-<version>-windows-i686-setup.exe    the setup program for 32-bit Windows
#   dist/dellomar-<version>-web.zip                   the web page
# Usage: tools/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}
source tools/lib/common.sh

step "Debian package"
# Debian's own hardening flags, all of them, as a Debian build would use.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake --preset package \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build --preset package -j"$jobs"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-package/CMakeCache.txt)
[[ -n $version ]] || { echo "no project version in build-package/CMakeCache.txt" >&2; exit 1; }
rm -rf build-package/cpack
(cd build-package && cpack -G DEB >/dev/null)
mkdir -p dist
deb=dist/dellomar_${version}_$(dpkg --print-architecture).deb
mv build-package/cpack/dellomar_"${version}"_*.deb "$deb"
echo "$deb"

step "Windows packages"
JOBS=$jobs tools/build_windows.sh
# The setup program of an earlier layout, for both kinds of Windows, would
# mislead next to the two of today.
rm -f "dist/dellomar-$version-windows-setup.exe"
for arch in i686 x86_64; do
    mv "build-win32-$arch/dellomar-windows-$arch.zip" "dist/dellomar-$version-windows-$arch.zip"
    echo "dist/dellomar-$version-windows-$arch.zip"
    # Copied: the Wine smoke test installs it from the build folder.
    cp "build-win32-$arch/dellomar-windows-setup.exe" "dist/dellomar-$version-windows-$arch-setup.exe"
    echo "dist/dellomar-$version-windows-$arch-setup.exe"
done

# The browser build leaves its page and data in build-web/site/.
step "web package"
JOBS=$jobs tools/build_web.sh
zip_folder build-web/site dellomar "dist/dellomar-$version-web.zip"
echo "dist/dellomar-$version-web.zip"
