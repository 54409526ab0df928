#!/bin/bash
# The game played in a real window on a private X server (Xvfb), measured:
# passes per second, the time of a pass, the rhythm of the frames, the
# processor share and the start-up time, at two delays and two window sizes.
#
# Usage: bench/window-bench.sh GAME BENCH_SAVE [SECONDS] [RUNS]
#   GAME        the built game
#   BENCH_SAVE  the bench_save program, which writes the save file played
#   SECONDS     how long each case is watched (10)
#   RUNS        how often each case is played; the medians close the report (3)
#
# Each case plays a crafted save (a first level, fruit away from the player, a
# million lives) with the player standing still, so no screen between levels
# comes. The game writes the start and end of every pass to the file named by
# TARVELLION_FRAME_LOG; the processor time is utime + stime of the game's
# process from /proc over the watched seconds.
set -euo pipefail

game=$(realpath "$1")
bench_save=$(realpath "$2")
seconds=${3:-10}
runs=${4:-3}
data=$(realpath "$(dirname "$0")/../data")
cases=("640 480 30" "640 480 5" "1920 1080 30" "1920 1080 5")

work=$(mktemp -d)
started=()
cleanup() {
    local pid
    for pid in "${started[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

now_us() { date +%s%6N; }

# utime + stime of a process, in clock ticks (the name in field 2 may hold
# spaces, so the fields are counted from its closing bracket).
cpu_ticks() {
    sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'
}

# The screen is as large as the largest window; at depth 24 X stores pixels in
# 32 bits, as the game draws them.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.err" &
started+=($!)
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
[ -s "$work/display" ] || { echo "Xvfb did not start: $(cat "$work/xvfb.err")" >&2; exit 1; }
DISPLAY=":$(cat "$work/display")"
export DISPLAY

hold() { # hold a key or the left button long enough for a once-a-pass poll
    xdotool "${1}down" "$2"
    sleep 0.2
    xdotool "${1}up" "$2"
}

# Plays one case and ends the game; leaves "launch_us t1_us t2_us cpu_ticks"
# in $dir/marks.
play() {
    local width=$1 height=$2 delay=$3 dir=$4
    mkdir -p "$dir"
    cp "$data"/* "$dir"
    echo "1 $delay 5 5 10 32 2 $width $height" >"$dir/setting.ini"
    "$bench_save" "$width" "$height" "$dir/save.dat"
    (
        cd "$dir"
        now_us >launch
        TARVELLION_FRAME_LOG="$dir/frames.log" HOME="$dir" exec "$game" >out 2>err
    ) &
    local pid=$!
    started+=("$pid")

    # X requests from other clients while the game connects can make its
    # start fail: wait for its connection, then give it a moment.
    for _ in $(seq 200); do
        find "/proc/$pid/fd" -lname 'socket:*' 2>/dev/null | grep -q . && break
        sleep 0.05
    done
    sleep 0.5
    local window=""
    for _ in $(seq 50); do
        window=$(xdotool search --name '^Tarvellion$' 2>/dev/null | tail -n 1) || true
        [ -n "$window" ] && break
        sleep 0.2
    done
    [ -n "$window" ] || { echo "no game window for $width x $height" >&2; exit 1; }
    xdotool windowfocus "$window"

    # Continue: the menu's top button loads the crafted save. The pointer
    # enters the window first, then moves onto the button.
    xdotool mousemove 100 100
    sleep 0.2
    xdotool mousemove 320 182
    sleep 0.3
    hold mouse 1
    # The click completes only when a pass sees the button up with the
    # pointer still over it.
    sleep 0.3
    xdotool mousemove 600 470
    sleep 1

    local t1 c1 t2 c2
    t1=$(now_us)
    c1=$(cpu_ticks "$pid")
    sleep "$seconds"
    t2=$(now_us)
    c2=$(cpu_ticks "$pid")
    echo "$(cat "$dir/launch") $t1 $t2 $((c2 - c1))" >"$dir/marks"

    # Esc brings the menu back, End ends the game and writes the log.
    hold key Escape
    sleep 0.3
    xdotool mousemove 320 242
    sleep 0.3
    hold mouse 1
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "the game did not end for $width x $height" >&2
        exit 1
    fi
    # The saved pass count (unit.timer, bytes 28..31) shows the rules ran:
    # Continue was taken and the game played.
    local timer
    timer=$(od -An -tu4 -j28 -N4 "$dir/save.dat" | tr -d ' ')
    if [ "$timer" -lt $((seconds * 1000 / (delay + 10))) ]; then
        echo "the game hardly played for $width x $height (timer $timer)" >&2
        return 1
    fi
}

# Statistics of sorted numbers, one a line.
median_of() { awk '{ a[NR] = $1 } END { print NR % 2 ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }' "$1"; }
percentile_of() { awk -v p="$2" '{ a[NR] = $1 } END { print a[int(p * (NR - 1) + 0.5) + 1] }' "$1"; }
mean_of() { awk '{ s += $1 } END { print s / NR }' "$1"; }

# One row of figures for a case, from its frame log and marks.
report() {
    local width=$1 height=$2 delay=$3 dir=$4
    local launch t1 t2 ticks top_real top_mono
    read -r launch t1 t2 ticks <"$dir/marks"
    read -r _ top_real top_mono < <(grep '^top ' "$dir/frames.log")
    local m1=$((t1 - top_real + top_mono)) m2=$((t2 - top_real + top_mono))
    # Each pass begun in the watched span: its period to the next pass and
    # its own time, in ms.
    awk -v m1="$m1" -v m2="$m2" '$1 == "pass" {
            if (have && b >= m1 && b < m2) print ($2 - b) / 1000, (e - b) / 1000
            b = $2; e = $3; have = 1
        }' "$dir/frames.log" >"$dir/periods"
    cut -d' ' -f1 "$dir/periods" | sort -g >"$dir/period.sorted"
    cut -d' ' -f2 "$dir/periods" | sort -g >"$dir/pass.sorted"
    local mid
    mid=$(median_of "$dir/period.sorted")
    awk -v mid="$mid" '{ d = $1 - mid; print d < 0 ? -d : d }' "$dir/period.sorted" |
        sort -g >"$dir/off.sorted"
    local first_end
    first_end=$(awk '$1 == "pass" { print $3; exit }' "$dir/frames.log")
    awk -v w="$width" -v h="$height" -v delay="$delay" -v span=$((t2 - t1)) \
        -v passes="$(wc -l <"$dir/periods")" -v mean_pass="$(mean_of "$dir/pass.sorted")" \
        -v median_pass="$(median_of "$dir/pass.sorted")" \
        -v mean_period="$(mean_of "$dir/period.sorted")" -v median_period="$mid" \
        -v spread="$(percentile_of "$dir/off.sorted" 0.99)" \
        -v ticks="$ticks" -v hz="$(getconf CLK_TCK)" -v to_main=$((top_real - launch)) \
        -v startup=$((first_end - top_mono + top_real - launch)) 'BEGIN {
            rate = passes / (span / 1e6)
            expected = 1000 / (delay + mean_pass)
            printf "%s %d %.1f %.1f %.1f %.3f %.3f %.3f %.3f %.3f %.1f %.0f %.0f\n",
                w "x" h, delay, rate, expected, 100 * (rate - expected) / expected,
                mean_pass, median_pass, mean_period - delay, median_period - delay, spread,
                100 * ticks / hz / (span / 1e6), to_main / 1000, startup / 1000
        }'
}

table() {
    printf "%-9s %5s %7s %7s %6s %7s %7s %8s %8s %7s %6s %5s %6s\n" window delay "pass/s" \
        expect "off %" "pass" "pass" "T-D" "T-D" "99% +-" "cpu %" "main" "first"
    printf "%-9s %5s %7s %7s %6s %7s %7s %8s %8s %7s %6s %5s %6s\n" "" ms "" "" "" "mean ms" \
        "med ms" "mean ms" "med ms" ms "" ms "ms"
    awk '{ printf "%-9s %5d %7.1f %7.1f %+6.1f %7.3f %7.3f %8.3f %8.3f %7.3f %6.1f %5.0f %6.0f\n",
        $1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, $13 }' "$1"
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for run in $(seq "$runs"); do
    for c in "${cases[@]}"; do
        read -r width height delay <<<"$c"
        # A click the game missed leaves it in the menu: that case is played again.
        for attempt in 1 2 3; do
            dir="$work/$run-$width-$delay-$attempt"
            play "$width" "$height" "$delay" "$dir" && break
            [ "$attempt" -lt 3 ] || exit 1
        done
        report "$width" "$height" "$delay" "$dir" >>"$work/rows.$run"
    done
    echo "run $run of $runs (load now $(cut -d' ' -f1-3 /proc/loadavg)):"
    table "$work/rows.$run"
done

# Each figure's median over the runs, column by column.
for c in "${cases[@]}"; do
    read -r width height delay <<<"$c"
    for k in $(seq 3 13); do
        cat "$work"/rows.* | awk -v w="${width}x$height" -v d="$delay" -v k="$k" \
            '$1 == w && $2 == d { print $k }' | sort -g >"$work/column"
        median_of "$work/column"
    done | paste -sd' ' | sed "s/^/${width}x$height $delay /"
done >"$work/medians"
echo "median of $runs runs:"
table "$work/medians"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
cat <<'EOF'
pass/s: passes begun per watched second; expect: 1000 / (delay + mean pass); off: the difference.
pass: run_pass() alone; T-D: frame period minus the delay, so the pass plus the wait's overshoot.
99% +-: 99% of frame periods lie within this of the median period.
cpu: utime + stime of all the game's threads over the watched seconds, in % of one core.
main: exec to the top of main(); first: exec to the end of the first pass, which presents a frame.
EOF
