#!/bin/sh
# Fuzzes a copy of a seed corpus for a number of seconds, so the corpus in the
# repository is never written to. Usage: run-fuzz.sh TARGET CORPUS SCRATCH SECONDS
# Inputs that crash land in SCRATCH as crash-* (or leak-*, timeout-*) files.
set -eu
target=$1 corpus=$2 scratch=$3 seconds=$4
rm -rf "$scratch/corpus"
mkdir -p "$scratch/corpus"
cp "$corpus"/* "$scratch/corpus/"
exec "$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$scratch/" "$scratch/corpus"
