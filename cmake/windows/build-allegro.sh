#!/bin/sh
# Cross-builds the static Allegro 4.4.3.1 the Windows build of the game links
# against, once per build tree: fetched by fetch-allegro.sh, patched with
# patches/*.patch, installed into BUILD_TREE/allegro/{include,lib}. Called by
# allegro.cmake when the game's Windows build is configured. A stamp records what
# the library was built from; while it matches, this returns at once.
# Usage: build-allegro.sh BUILD_TREE [JOBS]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
tree=$(mkdir -p "$1" && cd "$1" && pwd)
jobs=${2:-2}
prefix=$tree/allegro
stamp=$prefix/built-from
log=$tree/allegro-build.log

# The build depends on the source (pinned by fetch-allegro.sh), the patches, this
# script and the toolchain file: a change to any of them builds the library again.
inputs=$(cat "$here/fetch-allegro.sh" "$here/build-allegro.sh" \
    "$here/mingw-w64-x86_64.cmake" "$here"/patches/*.patch | sha256sum | cut -d' ' -f1)
if [ -f "$prefix/lib/liballeg.a" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$inputs" ]; then
    exit 0
fi

echo "Allegro for Windows: fetching the source"
tarball=$("$here/fetch-allegro.sh" "$tree/allegro-cache")

source=$tree/allegro-src
build=$tree/allegro-build
rm -rf "$source" "$build" "$prefix"
mkdir -p "$source"
tar -xzf "$tarball" -C "$source" --strip-components=1
for patch in "$here"/patches/*.patch; do
    patch -d "$source" -p1 --batch --forward --quiet < "$patch" || {
        echo "build-allegro: $patch does not apply" >&2
        exit 1
    }
done

echo "Allegro for Windows: building (log in $log)"
failed() {
    tail -n 30 "$log" >&2
    echo "build-allegro: the library's build failed; see $log" >&2
    exit 1
}
# Left alone, the library's build guesses MINGDIR from the compiler's path (/usr),
# searches it for headers and installs into it, over the host's Allegro: both it
# and the install prefix point into the build tree, and the prefix is checked
# before anything is installed.
MINGDIR=$prefix cmake -S "$source" -B "$build" \
    -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DSHARED=OFF \
    -DWANT_ALLEGROGL=OFF -DWANT_LOADPNG=OFF -DWANT_LOGG=OFF -DWANT_JPGALLEG=OFF \
    -DWANT_EXAMPLES=OFF -DWANT_TOOLS=OFF -DWANT_TESTS=OFF -DWANT_DOCS=OFF \
    >"$log" 2>&1 || failed
cmake --build "$build" -j "$jobs" >>"$log" 2>&1 || failed
grep -qxF "CMAKE_INSTALL_PREFIX:PATH=$prefix" "$build/CMakeCache.txt" || {
    echo "build-allegro: the library would install outside $prefix; not installing" >&2
    exit 1
}
cmake --install "$build" >>"$log" 2>&1 || failed
echo "$inputs" > "$stamp"
echo "Allegro for Windows: $prefix/lib/liballeg.a"
