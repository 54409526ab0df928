#!/bin/bash
# The game played in a real window on a private X server (Xvfb), measured:
# passes per second, the time of a pass, the rhythm of the frames, the
# processor share and the start-up time, at two delays, two field sizes and
# three ways of showing the field (scale 1, scale 3, fullscreen); the Windows
# build under Wine at 640x480, when WINDOWS_ZIP names its zip; then the
# processor share while the level-cleared and game-over screens wait.
#
# Usage: [WINDOWS_ZIP=ZIP] bench/window-bench.sh GAME BENCH_SAVE [SECONDS] [RUNS]
#   GAME        the built game
#   BENCH_SAVE  the bench_save program, which writes the save file played
#   SECONDS     how long each case is watched (10)
#   RUNS        how often each case is played; the medians close the report (3)
#   WINDOWS_ZIP the zip `make windows` builds; its game runs in a Wine prefix
#               of this run's own (cmake/windows/wine-prefix.sh), in portable
#               mode, so its files are those of the case's folder too
# CASES and SCREENS, when set, replace the lists of cases and of screens
# below (for instance CASES="linux:640x480:30:3" SCREENS="" for one case).
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
source_dir=$(realpath "$(dirname "$0")/..")
data=$source_dir/data
# system:field:delay:view, the view being a scale (a window of that many times
# the field) or "full" (fullscreen at the screen's size, the largest scale that fits).
read -r -a cases <<<"${CASES-linux:640x480:30:1 linux:640x480:5:1 linux:1920x1080:30:1 linux:1920x1080:5:1 linux:640x480:30:3 linux:640x480:5:3 linux:640x480:30:full}"
read -r -a screens <<<"${SCREENS-won lost}"
windows_zip=${WINDOWS_ZIP:+$(realpath "$WINDOWS_ZIP")}
if [ -n "$windows_zip" ] && [ -z "${CASES+set}" ]; then
    cases+=("wine:640x480:30:1" "wine:640x480:5:1")
fi
screen_w=3840
screen_h=2160

work=$(mktemp -d)
started=()
wine_env=()
cleanup() {
    local pid
    for pid in "${started[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    # Every process of the Wine prefix, ended by its own server.
    if [ ${#wine_env[@]} -gt 0 ]; then
        env "${wine_env[@]}" wineserver -k 2>/dev/null || true
        env "${wine_env[@]}" wineserver -w 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

now_us() { date +%s%6N; }

# utime + stime of a process, in clock ticks (the name in field 2 may hold
# spaces, so the fields are counted from its closing bracket).
cpu_ticks() {
    sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'
}

# The same for every process of the Wine prefix (the game, wineserver and
# Wine's own services), or the game alone when it runs natively.
# Usage: all_ticks SYSTEM PID
all_ticks() {
    if [ "$1" != wine ]; then
        cpu_ticks "$2"
        return
    fi
    local total=0 stat ticks
    for stat in /proc/[0-9]*/stat; do
        grep -qzxF "${wine_env[0]}" "${stat%stat}environ" 2>/dev/null || continue
        ticks=$(sed 's/.*) //' "$stat" 2>/dev/null | awk '{ print $12 + $13 }') || continue
        total=$((total + ${ticks:-0}))
    done
    echo "$total"
}

# The Windows game unpacked once, and a Wine prefix made for this run.
if [ -n "$windows_zip" ]; then
    mkdir -p "$work/windows"
    (cd "$work/windows" && cmake -E tar xf "$windows_zip")
    "$source_dir/cmake/windows/wine-prefix.sh" "$work/wine" >/dev/null
    mapfile -t wine_env <"$work/wine/environment"
fi

# The screen is as large as a 4K display; at depth 24 X stores pixels in
# 32 bits, as the game draws them.
Xvfb -displayfd 3 -screen 0 "${screen_w}x${screen_h}x24" -nolisten tcp 3>"$work/display" \
    2>"$work/xvfb.err" &
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

# Starts the game on a crafted save and clicks Continue; leaves the game's
# process id in $pid and defines point() for field pixels. Arguments: system
# width height delay view dir [won|lost].
launch() {
    local system=$1 width=$2 height=$3 delay=$4 view=$5 dir=$6 screen=${7:-}
    mkdir -p "$dir"
    if [ "$system" = wine ]; then
        cp "$work"/windows/tarvellion-*/* "$dir"
        : >"$dir/portable.txt"
    else
        cp "$data"/* "$dir"
    fi
    echo "1 $delay 5 5 10 32 2 $width $height" >"$dir/setting.ini"
    "$bench_save" "$width" "$height" "$dir/save.dat" $screen
    local display_args=(--scale "$view")
    [ "$view" = full ] && display_args=(--fullscreen)
    (
        cd "$dir"
        if [ "$system" = wine ]; then
            # Each case starts Wine afresh, as a player's first start of the
            # day does. Wine reaches the Linux file system as drive Z:.
            env "${wine_env[@]}" wineserver -k 2>/dev/null || true
            env "${wine_env[@]}" wineserver -w
            now_us >launch
            exec env "${wine_env[@]}" TARVELLION_FRAME_LOG="Z:${dir//\//\\}\\frames.log" \
                wine tarvellion.exe "${display_args[@]}" >out 2>err
        fi
        now_us >launch
        TARVELLION_FRAME_LOG="$dir/frames.log" HOME="$dir" exec "$game" "${display_args[@]}" \
            >out 2>err
    ) &
    pid=$!
    started+=("$pid")

    # X requests from other clients while the game connects can make its
    # start fail: wait for its connection, then give it a moment.
    for _ in $(seq 200); do
        find "/proc/$pid/fd" -lname 'socket:*' 2>/dev/null | grep -q . && break
        sleep 0.05
    done
    sleep 0.5
    # The search ignores case, and under Wine the window is first named after
    # the program: only the title the game sets counts.
    local window="" id
    for _ in $(seq 100); do
        for id in $(xdotool search --name '^Tarvellion$' 2>/dev/null); do
            [ "$(xdotool getwindowname "$id" 2>/dev/null)" = Tarvellion ] && window=$id
        done
        [ -n "$window" ] && break
        sleep 0.2
    done
    [ -n "$window" ] || { echo "no game window for $system $width x $height" >&2; exit 1; }
    # The window's corner: the library puts it at the top left on X11, Windows
    # centres it on the screen. Fullscreen centres the field on the screen,
    # and holds the keyboard: its own window cannot take the focus.
    if [ "$view" = full ]; then
        k=$((screen_w / width < screen_h / height ? screen_w / width : screen_h / height))
        left=$(((screen_w - width * k) / 2))
        top=$(((screen_h - height * k) / 2))
    else
        xdotool windowfocus "$window"
        eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y)=' |
            sed 's/^X=/left=/; s/^Y=/top=/')"
        k=$view
    fi

    # Continue: the menu's top button loads the crafted save. The pointer
    # enters the window first, then moves onto the button.
    point 100 100
    sleep 0.2
    point 320 182
    sleep 0.3
    hold mouse 1
    # The click completes only when a pass sees the button up with the
    # pointer still over it.
    sleep 0.3
    point 600 470
}

# Moves the pointer to a field pixel of the game launched last.
point() { xdotool mousemove $((left + $1 * k)) $((top + $2 * k)); }

# Esc brings the menu back, End ends the game and writes the log.
finish() {
    local what=$1
    hold key Escape
    sleep 0.3
    point 320 242
    sleep 0.3
    hold mouse 1
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "the game did not end for $what" >&2
        exit 1
    fi
}

# Plays one case and ends the game; leaves "launch_us t1_us t2_us cpu_ticks
# all_ticks" in $dir/marks.
play() {
    local system=$1 width=$2 height=$3 delay=$4 view=$5 dir=$6
    launch "$system" "$width" "$height" "$delay" "$view" "$dir"
    sleep 1

    local t1 c1 a1 t2 c2 a2
    t1=$(now_us)
    c1=$(cpu_ticks "$pid")
    a1=$(all_ticks "$system" "$pid")
    sleep "$seconds"
    t2=$(now_us)
    c2=$(cpu_ticks "$pid")
    a2=$(all_ticks "$system" "$pid")
    echo "$(cat "$dir/launch") $t1 $t2 $((c2 - c1)) $((a2 - a1))" >"$dir/marks"
    finish "$system $width x $height at $view"
    # The Windows C library writes the log in text mode, with CR LF.
    sed -i 's/\r$//' "$dir/frames.log"
    # The saved pass count (unit.timer, bytes 28..31) shows the rules ran:
    # Continue was taken and the game played.
    local timer
    timer=$(od -An -tu4 -j28 -N4 "$dir/save.dat" | tr -d ' ')
    if [ "$timer" -lt $((seconds * 1000 / (delay + 10))) ]; then
        echo "the game hardly played for $system $width x $height at $view (timer $timer)" >&2
        return 1
    fi
}

# Share of one core, in %, from ticks over microseconds.
cpu_share() {
    awk -v t="$1" -v us="$2" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.1f", 100 * t / hz / (us / 1e6) }'
}

# The processor share of a span of seconds from now on, in %.
share_over() {
    local t1 c1 t2 c2
    t1=$(now_us)
    c1=$(cpu_ticks "$pid")
    sleep "$1"
    t2=$(now_us)
    c2=$(cpu_ticks "$pid")
    cpu_share $((c2 - c1)) $((t2 - t1))
}

# The screens between levels at scale 1: "won" shows "Great!  Go on!" for
# 1.5 s and the next level's number for 2 s, both sparkling; "lost" the
# game-over picture, sparkling for 2 s, then waiting for a key. Prints the
# share while the sparkle waits, and while the key wait waits ("-" for none).
play_screen() {
    local screen=$1 dir=$2 sparkle key_wait="-"
    launch linux 640 480 30 1 "$dir" "$screen"
    # The click is taken about 0.3 s before this; the measure starts after the
    # first presentation and ends before the last wait does.
    if [ "$screen" = won ]; then
        sparkle=$(share_over 2.9)
        sleep 0.6
    else
        sparkle=$(share_over 1.5)
        sleep 0.6
        key_wait=$(share_over 3)
        hold key space
        sleep 0.5
    fi
    finish "the $screen screens"
    echo "$screen $sparkle $key_wait"
}

# Statistics of sorted numbers, one a line.
median_of() { awk '{ a[NR] = $1 } END { print NR % 2 ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }' "$1"; }
percentile_of() { awk -v p="$2" '{ a[NR] = $1 } END { print a[int(p * (NR - 1) + 0.5) + 1] }' "$1"; }
mean_of() { awk '{ s += $1 } END { print s / NR }' "$1"; }

# One row of figures for a case, from its frame log and marks.
report() {
    local system=$1 width=$2 height=$3 delay=$4 view=$5 dir=$6
    local launch t1 t2 ticks all top_real top_mono
    read -r launch t1 t2 ticks all <"$dir/marks"
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
    awk -v sys="$system" -v w="$width" -v h="$height" -v view="$view" -v delay="$delay" \
        -v span=$((t2 - t1)) \
        -v passes="$(wc -l <"$dir/periods")" -v mean_pass="$(mean_of "$dir/pass.sorted")" \
        -v median_pass="$(median_of "$dir/pass.sorted")" \
        -v mean_period="$(mean_of "$dir/period.sorted")" -v median_period="$mid" \
        -v spread="$(percentile_of "$dir/off.sorted" 0.99)" \
        -v ticks="$ticks" -v all="$all" -v hz="$(getconf CLK_TCK)" \
        -v to_main=$((top_real - launch)) \
        -v startup=$((first_end - top_mono + top_real - launch)) 'BEGIN {
            rate = passes / (span / 1e6)
            expected = 1000 / (delay + mean_pass)
            printf "%s %s %s %d %.1f %.1f %.1f %.3f %.3f %.3f %.3f %.3f %.1f %.1f %.0f %.0f\n",
                sys, w "x" h, view, delay, rate, expected, 100 * (rate - expected) / expected,
                mean_pass, median_pass, mean_period - delay, median_period - delay, spread,
                100 * ticks / hz / (span / 1e6), 100 * all / hz / (span / 1e6),
                to_main / 1000, startup / 1000
        }'
}

table() {
    printf "%-5s %-9s %4s %5s %7s %7s %6s %7s %7s %8s %8s %7s %6s %6s %5s %6s\n" on field view \
        delay "pass/s" expect "off %" "pass" "pass" "T-D" "T-D" "99% +-" "cpu %" "all %" "main" \
        "first"
    printf "%-5s %-9s %4s %5s %7s %7s %6s %7s %7s %8s %8s %7s %6s %6s %5s %6s\n" "" "" "" ms "" "" \
        "" "mean ms" "med ms" "mean ms" "med ms" ms "" "" ms "ms"
    awk '{ printf "%-5s %-9s %4s %5d %7.1f %7.1f %+6.1f %7.3f %7.3f %8.3f %8.3f %7.3f %6.1f %6.1f %5.0f %6.0f\n",
        $1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, $13, $14, $15, $16 }' "$1"
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for run in $(seq "$runs"); do
    : >"$work/rows.$run"
    for c in "${cases[@]}"; do
        IFS=: read -r system field delay view <<<"$c"
        IFS=x read -r width height <<<"$field"
        # A click the game missed leaves it in the menu: that case is played again.
        for attempt in 1 2 3; do
            dir="$work/$run-$system-$width-$delay-$view-$attempt"
            play "$system" "$width" "$height" "$delay" "$view" "$dir" && break
            [ "$attempt" -lt 3 ] || exit 1
        done
        report "$system" "$width" "$height" "$delay" "$view" "$dir" >>"$work/rows.$run"
    done
    for s in "${screens[@]}"; do
        play_screen "$s" "$work/$run-screen-$s" >>"$work/screens.$run"
    done
    echo "run $run of $runs (load now $(cut -d' ' -f1-3 /proc/loadavg)):"
    [ ${#cases[@]} -eq 0 ] || table "$work/rows.$run"
    [ ${#screens[@]} -eq 0 ] || cat "$work/screens.$run"
done

# Each figure's median over the runs, column by column.
: >"$work/medians"
if [ ${#cases[@]} -gt 0 ]; then
    for c in "${cases[@]}"; do
        IFS=: read -r system field delay view <<<"$c"
        for k in $(seq 5 16); do
            cat "$work"/rows.* | awk -v s="$system" -v f="$field" -v v="$view" -v d="$delay" \
                -v k="$k" '$1 == s && $2 == f && $3 == v && $4 == d { print $k }' |
                sort -g >"$work/column"
            median_of "$work/column"
        done | paste -sd' ' | sed "s/^/$system $field $view $delay /"
    done >"$work/medians"
    echo "median of $runs runs:"
    table "$work/medians"
fi
if [ ${#screens[@]} -gt 0 ]; then
    echo "screens between levels, cpu % while the sparkle waits and while the key wait waits,"
    echo "median of $runs runs:"
    for s in "${screens[@]}"; do
        for k in 2 3; do
            cat "$work"/screens.* | awk -v s="$s" -v k="$k" '$1 == s { print $k }' |
                sort -g >"$work/column"
            if grep -q -- - "$work/column"; then echo -; else median_of "$work/column"; fi
        done | paste -sd' ' | sed "s/^/$s /"
    done
fi
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
# Under Wine the frame period is held to DELAY plus the pass within 5 %: the
# waits on Windows must not fall back to the system's 15.6 ms sleeps.
pace_met=1
if [ -n "$windows_zip" ]; then
    read -r period pass off < <(awk '$1 == "wine" && $4 == 30 {
            period = 30 + $11; target = 30 + $9
            print period, $8, 100 * (period - target) / target }' "$work/medians")
    echo "Wine at DELAY 30: median frame period $period ms against 30 + pass $pass ms," \
        "$(printf '%+.1f' "$off") %"
    awk -v off="$off" 'BEGIN { exit !(off <= 5 && off >= -5) }' || pace_met=0
fi
cat <<'EOF'
view: the scale of a window, or full for fullscreen on the 3840 x 2160 screen (scale 4 for 640 x 480).
pass/s: passes begun per watched second; expect: 1000 / (delay + mean pass); off: the difference.
pass: run_pass() alone; T-D: frame period minus the delay, so the pass plus the wait's overshoot.
99% +-: 99% of frame periods lie within this of the median period.
cpu: utime + stime of all the game's threads over the watched seconds, in % of one core.
all: the same for every process of the Wine prefix (wineserver and Wine's services too); on linux the game's.
main: exec to the top of main(); first: exec to the end of the first pass, which presents a frame.
EOF
[ "$pace_met" = 1 ] || { echo "the frame pace under Wine is off by more than 5 %" >&2; exit 1; }
