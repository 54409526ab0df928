#!/bin/sh
# Lays out what the Windows tests of one test run play with, in RUN_DIR: the
# zip unpacked into game/, a copy in a folder named in Cyrillic with
# portable.txt beside the program, a private Wine prefix (made once for the
# run; about 15 s) and appdata.txt, the Linux path of the prefix's
# %APPDATA%\Tarvellion. CTest runs this before the tests (fixture wine_run).
# Usage: prepare-wine-run.sh ZIP RUN_DIR
set -eu
here=$(cd "$(dirname "$0")" && pwd)
if [ ! -f "$1" ]; then
    echo "prepare-wine-run: $1 is missing; build it with 'make windows'" >&2
    exit 1
fi
zip=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
run=$2
"$here/cleanup-wine-run.sh" "$run"
mkdir -p "$run/unpacked"
(cd "$run/unpacked" && cmake -E tar xf "$zip")
mv "$run/unpacked"/tarvellion-* "$run/game"
rmdir "$run/unpacked"
cp -r "$run/game" "$run/Игры Tarvellion"
: >"$run/Игры Tarvellion/portable.txt"

"$here/../../cmake/windows/wine-prefix.sh" "$run" >/dev/null
while IFS='=' read -r name value; do
    export "$name=$value"
done <"$run/environment"
appdata=$(wine cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')
winepath -u "$appdata\\Tarvellion" 2>/dev/null | sed 's|/$||' >"$run/appdata.txt"
wineserver -w
echo "Windows game under Wine: $(cat "$run/appdata.txt")"
