#!/bin/sh
# Makes a private Wine prefix for one test run of the Windows build and prints its
# path (SCRATCH_DIR/wine). SCRATCH_DIR/environment then holds, one NAME=VALUE a
# line, what every later Wine command of the run is started with (the prefix
# among them). The first start of a prefix takes Wine about 15 s, so a test run
# makes one and shares it. Called by tests/windows/prepare-wine-run.sh and
# bench/window-bench.sh.
# Nothing is written outside SCRATCH_DIR: Wine starts with a home folder inside it
# (its Documents, Desktop and other folders link there, not to the real home), and
# the prefix never writes menu entries or file associations, nor offers to download
# Mono or Gecko. Direct3D is drawn with GDI, which costs a tenth of a core where the
# default renderer, on software OpenGL, costs more than half of one.
# Usage: wine-prefix.sh SCRATCH_DIR
set -eu
scratch=$(mkdir -p "$1" && cd "$1" && pwd)
prefix=$scratch/wine
if [ -e "$prefix" ]; then
    echo "wine-prefix: $prefix exists already" >&2
    exit 1
fi
mkdir -p "$scratch/home"
cat >"$scratch/environment" <<EOF
WINEPREFIX=$prefix
WINEARCH=win64
WINEDEBUG=-all
HOME=$scratch/home
XDG_CONFIG_HOME=$scratch/home/.config
XDG_DATA_HOME=$scratch/home/.local/share
XDG_CACHE_HOME=$scratch/home/.cache
WINEDLLOVERRIDES=winemenubuilder.exe=d;mscoree=d;mshtml=d
EOF
while IFS='=' read -r name value; do
    export "$name=$value"
done <"$scratch/environment"

# Wine's "wine32 is missing" note and the like say nothing about the prefix.
quietly() {
    "$@" >>"$scratch/wineboot.log" 2>&1 || {
        cat "$scratch/wineboot.log" >&2
        echo "wine-prefix: '$*' failed" >&2
        exit 1
    }
}
quietly wine wineboot --init
# The same choices for every later run, whatever its environment.
for dll in winemenubuilder.exe mscoree mshtml; do
    quietly wine reg add 'HKCU\Software\Wine\DllOverrides' /v "$dll" /d "" /f
done
quietly wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d gdi /f
# The registry reaches the prefix's files when the server ends.
quietly wineserver -w
echo "$prefix"
