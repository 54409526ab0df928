#!/bin/sh
# Unpacks Allegro 4.4.3.1's source for the browser build into
# BUILD_TREE/allegro-src and applies patches/*.patch, once per build tree:
# the tarball comes from the Windows build's fetch-allegro.sh (same source,
# same checksum). The web platform's own headers and drivers are not copied:
# allegro.cmake compiles them from cmake/web/allegro/ in place. Called by
# allegro.cmake when the web build is configured; while the stamp matches,
# this returns at once and the library's objects in the tree are reused.
# Usage: prepare-allegro.sh BUILD_TREE
set -eu
here=$(cd "$(dirname "$0")" && pwd)
tree=$(mkdir -p "$1" && cd "$1" && pwd)
source=$tree/allegro-src
stamp=$source/prepared-from

inputs=$(cat "$here/../windows/fetch-allegro.sh" "$here/prepare-allegro.sh" \
    "$here"/patches/*.patch | sha256sum | cut -d' ' -f1)
if [ -f "$source/cmake/FileList.cmake" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$inputs" ]; then
    exit 0
fi

echo "Allegro for the browser: fetching the source"
tarball=$("$here/../windows/fetch-allegro.sh" "$tree/allegro-cache")
rm -rf "$source"
mkdir -p "$source"
tar -xzf "$tarball" -C "$source" --strip-components=1
for patch in "$here"/patches/*.patch; do
    patch -d "$source" -p1 --batch --forward --quiet < "$patch" || {
        echo "prepare-allegro: $patch does not apply" >&2
        exit 1
    }
done
echo "$inputs" > "$stamp"
