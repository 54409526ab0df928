#!/bin/sh
# Ends every Wine process of a test run's prefix (through its own wineserver,
# which knows them) and removes what prepare-wine-run.sh laid out. CTest runs it
# after the Windows tests; prepare-wine-run.sh runs it first on what an earlier,
# interrupted run left.
# Usage: cleanup-wine-run.sh RUN_DIR
set -eu
run=$1
if [ -f "$run/environment" ] && [ -d "$run/wine" ]; then
    (
        while IFS='=' read -r name value; do
            export "$name=$value"
        done <"$run/environment"
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
    )
fi
rm -rf "$run"
