#!/bin/bash
# Cross-builds Debian's libjpeg-turbo for the Windows build (Debian ships
# none for MinGW) and installs it into DEST (include/, lib/libjpeg.a).
# Usage: tools/build_libjpeg.sh DEST — idempotent; prints nothing on success.
set -euo pipefail

dest=${1:?usage: build_libjpeg.sh DEST}
if [ -f "$dest/lib/libjpeg.a" ] && [ -f "$dest/include/jpeglib.h" ]; then
  exit 0
fi
mkdir -p "$dest"
dest=$(cd "$dest" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
log=$work/log

run() {
  if ! "$@" >>"$log" 2>&1; then
    cat "$log" >&2
    echo "build_libjpeg.sh: failed: $*" >&2
    exit 1
  fi
}

# apt-get source needs a source entry for the configured archive.
sources=/etc/apt/sources.list.d/debian.sources
if ! apt-get source --print-uris libjpeg-turbo >/dev/null 2>&1; then
  if [ -f "$sources" ] && ! grep -q '^Types:.*deb-src' "$sources"; then
    run sed -i 's/^Types: deb$/Types: deb deb-src/' "$sources"
  fi
  run apt-get update -qq
fi

cd "$work"
run apt-get source -qq libjpeg-turbo
src=$(find "$work" -maxdepth 1 -mindepth 1 -type d -name 'libjpeg-turbo*' | head -n 1)
[ -n "$src" ] || { cat "$log" >&2; echo "build_libjpeg.sh: no source unpacked" >&2; exit 1; }

run cmake -S "$src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$work/install" \
  -DWITH_SIMD=0 -DENABLE_SHARED=0 -DWITH_TURBOJPEG=0 -DWITH_JAVA=0 \
  -DCMAKE_POSITION_INDEPENDENT_CODE=OFF
run cmake --build "$work/build" --target jpeg-static
# Only the library and the headers of its API are needed.
mkdir -p "$dest/include" "$dest/lib"
cp "$src/jpeglib.h" "$src/jerror.h" "$src/jmorecfg.h" "$work/build/jconfig.h" "$dest/include/"
cp "$work/build/libjpeg.a" "$dest/lib/libjpeg.a"
