#!/usr/bin/env bash
# Makes the Debian package zembrola_<version>_amd64.deb in the current folder: a Release build
# of the program alone (no tests, no benchmarks), installed under /usr by CPack.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${PACKAGE_BUILD_DIR:-$here/build-package}
out=$PWD
"$here/scripts/deps.sh"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DZEMBROLA_TESTS=OFF \
    -DZEMBROLA_BENCH=OFF >/dev/null
cmake --build "$build"
(cd "$build" && cpack -G DEB >/dev/null)
package=$(ls "$build"/zembrola_*_amd64.deb)
cp "$package" "$out/"
echo "$out/$(basename "$package")"
