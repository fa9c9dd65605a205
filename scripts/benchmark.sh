#!/usr/bin/env bash
# Builds the tester and its benchmarks (benchmarks/, a Release build in
# build/bench) and prints one table: start-up and peak memory against a bare
# window with the same controls, the overhead of a complete run beyond its two
# designed pauses, the cost of a device library call through modHeader, and
# the busy pause. With --save the table is also written to
# benchmarks/RESULTS.md.
#
# Counts can be lowered for a quick look (the defaults are for figures to keep):
#   BENCH_LAUNCHES  launches of each window for start-up and memory (15)
#   BENCH_RUNS      complete runs timed in one process (7)
#   BENCH_AFTER_RUN launches measured after one complete run (3)
#   BENCH_CALL_REPS repetitions of each call benchmark (10)
#   BENCH_PAUSES    rounds of the busy pause timing (5)
# A quiet machine matters: the load average at the start is part of the table,
# and BENCH_QUIET_LOAD=0.5 waits (up to BENCH_QUIET_WAIT seconds, 1200) after
# the build for the one-minute load average to fall below 0.5.
set -euo pipefail
cd "$(dirname "$0")/.."

save=0
for argument in "$@"; do
    case "$argument" in
        --save) save=1 ;;
        *) echo "usage: scripts/benchmark.sh [--save]" >&2; exit 2 ;;
    esac
done

launches=${BENCH_LAUNCHES:-15}
runs=${BENCH_RUNS:-7}
after_run=${BENCH_AFTER_RUN:-3}
call_reps=${BENCH_CALL_REPS:-10}
pauses=${BENCH_PAUSES:-5}
quiet_load=${BENCH_QUIET_LOAD:-}
quiet_wait=${BENCH_QUIET_WAIT:-1200}

scripts/install-deps.sh xvfb xdotool libbenchmark-dev libx11-dev valgrind
cmake -S benchmarks -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench

bench="$PWD/build/bench"
program="$bench/watchdog-tester/console/watchdog-tester"
floor="$bench/floor-window"
empty="$bench/empty-window"
export LD_LIBRARY_PATH="$bench/softboard${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
unset SOFTBOARD_TRACE SOFTBOARD_SCENARIO QT_QPA_PLATFORM

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

if [ -n "$quiet_load" ]; then
    waited=0
    until awk -v limit="$quiet_load" '{ exit !($1 < limit) }' /proc/loadavg; do
        if ((waited >= quiet_wait)); then
            echo "The load average stayed at or above $quiet_load for $quiet_wait s; measuring anyway." >&2
            break
        fi
        echo "Waiting for a load average below $quiet_load (now $(cut -d' ' -f1 /proc/loadavg))..." >&2
        sleep 30
        waited=$((waited + 30))
    done
fi
load_at_start=$(cut -d' ' -f1-3 /proc/loadavg)

# value KEY TEXT: the value of KEY=value in TEXT.
value() {
    sed -n "s/.*\\b$1=\\([^ ]*\\).*/\\1/p" <<<"$2" | head -n1
}
# calc FORMAT EXPRESSION: floating-point arithmetic, printed with the printf FORMAT.
calc() {
    awk "BEGIN { printf \"$1\", $2 }"
}
# met VALUE OPERATOR LIMIT: yes or no.
met() {
    awk "BEGIN { print ($1 $2 $3) ? \"yes\" : \"no\" }"
}
peak_kb() {
    sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\).*/\1/p' "/proc/$1/status"
}

# --- An X server of our own -------------------------------------------------
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

# --- 1 and 2: start-up and peak memory once shown ---------------------------
echo "Start-up and memory once shown: $launches launches of each window..." >&2
windows=$("$bench/window-timer" "$launches" 500 Form1 "$program" "$floor" "$empty" 2>"$work/window-timer.log") || {
    cat "$work/window-timer.log" >&2
    exit 1
}
program_line=$(grep -F "$program " <<<"$windows")
floor_line=$(grep -F "$floor " <<<"$windows")
empty_line=$(grep -F "$empty " <<<"$windows")
startup_program=$(value startup_ms "$program_line")
startup_floor=$(value startup_ms "$floor_line")
startup_empty=$(value startup_ms "$empty_line")
shown_program=$(value hwm_kb "$program_line")
shown_floor=$(value hwm_kb "$floor_line")
shown_empty=$(value hwm_kb "$empty_line")

# --- 2: peak memory after one complete run, Start clicked with xdotool ------
echo "Memory after a complete run: $after_run launches..." >&2
after_samples=()
for _ in $(seq "$after_run"); do
    SOFTBOARD_TRACE=1 "$program" 2>"$work/trace.log" &
    pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Form1$' | head -n1)
    # The Start button is 121x33 at 32,632: click its middle.
    xdotool mousemove --window "$window" 92 648 click 1
    # The run is over when the software board reports the close.
    for _ in $(seq 600); do
        grep -q '^softboard: WD_Close' "$work/trace.log" && break
        sleep 0.05
    done
    if ! grep -q '^softboard: WD_Close' "$work/trace.log"; then
        kill "$pid"; wait "$pid" 2>/dev/null || true
        echo "The run did not close the board within 30 s" >&2
        exit 1
    fi
    sleep 0.5 # the last repaint
    after_samples+=("$(peak_kb "$pid")")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
done
after_program=$(printf '%s\n' "${after_samples[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')

kill "$xvfb_pid"
wait "$xvfb_pid" 2>/dev/null || true
xvfb_pid=

# --- 3: run overhead ---------------------------------------------------------
echo "Run overhead: $runs complete runs..." >&2
overhead=$(QT_QPA_PLATFORM=offscreen "$bench/run-overhead" "$runs" 2>"$work/run-overhead.log") || {
    cat "$work/run-overhead.log" >&2
    exit 1
}

# --- 4: call cost -------------------------------------------------------------
echo "Call cost: $call_reps repetitions of each..." >&2
calls=$("$bench/call-cost" --benchmark_repetitions="$call_reps" --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true --benchmark_color=false 2>"$work/call-cost.log") || {
    cat "$work/call-cost.log" >&2
    exit 1
}
version_line=$(grep '^WD_GetDllVersion ' <<<"$calls")
tickle_line=$(grep '^WD_GetTempTickle ' <<<"$calls")

# --- 5: the busy pause -------------------------------------------------------
echo "Busy pause: $pauses rounds, then an instruction count under callgrind..." >&2
pause=$("$bench/busy-pause" "$pauses")
instructions() { # instructions() WHAT FUNCTION: instructions executed inside FUNCTION
    valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.$1" --toggle-collect="$2" \
        "$bench/busy-pause" "$1" >/dev/null 2>&1
    sed -n 's/^summary: *//p' "$work/callgrind.$1"
}
pause_instructions=$(instructions pause 'buzzerPause()')
short_instructions=$(instructions short '(anonymous namespace)::shortCount()')

# --- The table ------------------------------------------------------------------
cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)
memory=$(awk '/^MemTotal:/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
qt=$(qmake6 -query QT_VERSION 2>/dev/null || dpkg-query -W -f='${Version}' libqt6core6)
compiler=$(c++ --version | head -n1)

startup_ratio=$(calc %.3f "$startup_program / $startup_floor")
shown_ratio=$(calc %.3f "$shown_program / $shown_floor")
run_overhead=$(value overhead_ms "$overhead")
version_ratio=$(value ratio "$version_line")
tickle_ratio=$(value ratio "$tickle_line")
# The pause and the short loop are the same loop with counts 268,435,456 and
# 16,777,216: instructions per step and outside the loop follow from the two
# counts, and a pause that ran all its steps executes 16 times the short
# loop's steps.
steps=268435456
short_steps=16777216
per_step=$(calc %.4f "($pause_instructions - $short_instructions) / ($steps - $short_steps)")
outside=$(calc %.0f "$pause_instructions - $per_step * $steps")
instruction_ratio=$(calc %.4f "$pause_instructions / $short_instructions")

table=$(cat <<EOF
## Benchmark results

$(date -u '+%Y-%m-%d %H:%M UTC') · $cpu · $(nproc) cores · $memory · $(uname -sr) · Qt $qt · $compiler · load average at start $load_at_start

| measure | tester | reference | ratio | target | met |
|---|---:|---:|---:|---:|:---:|
| start-up to window shown, Xvfb, median of $launches | $startup_program ms | floor $startup_floor ms | $startup_ratio | ≤ 1.1 | $(met "$startup_ratio" '<=' 1.1) |
| start-up, empty QWidget of the same size (context) | | $startup_empty ms | | | |
| peak resident memory once shown, median of $launches | $(calc %.1f "$shown_program / 1024") MiB | floor $(calc %.1f "$shown_floor / 1024") MiB | $shown_ratio | ≤ 1.1 | $(met "$shown_ratio" '<=' 1.1) |
| peak resident memory once shown, empty QWidget (context) | | $(calc %.1f "$shown_empty / 1024") MiB | | | |
| peak resident memory after one complete run, median of $after_run | $(calc %.1f "$after_program / 1024") MiB | floor once shown $(calc %.1f "$shown_floor / 1024") MiB | $(calc %.3f "$after_program / $shown_floor") | | |
| run overhead: run − busy pause − 1 s sleep, median of $runs | $run_overhead ms | | | < 10 ms | $(met "$run_overhead" '<' 10) |
| … complete run / busy pause / sleep, medians | $(value run_ms "$overhead") / $(value pause_ms "$overhead") / $(value sleep_ms "$overhead") ms | | | | |
| … overhead range; overhead seen from inside the run | $(value overhead_min_ms "$overhead") to $(value overhead_max_ms "$overhead") ms; $(value inside_overhead_ms "$overhead") ms | | | | |
| … first run (loads the library), overhead | $(value first_overhead_ms "$overhead") ms | | | | |
| call cost, WD_GetDllVersion, median of $call_reps | modHeader $(value modheader_ns "$version_line") ns | pointer $(value pointer_ns "$version_line") ns | $version_ratio | ≤ 1.1 | $(met "$version_ratio" '<=' 1.1) |
| call cost, WD_GetTempTickle, median of $call_reps | modHeader $(value modheader_ns "$tickle_line") ns | pointer $(value pointer_ns "$tickle_line") ns | $tickle_ratio | ≤ 1.1 | $(met "$tickle_ratio" '<=' 1.1) |
| busy pause, total and per step, median of $pauses | $(value pause_ms "$pause") ms, $(value ns_per_step "$pause") ns/step | 1/16 loop × 16: $(value short_x16_ms "$pause") ms | $(value ratio "$pause") | | |
| busy pause, instructions executed (callgrind) | $pause_instructions | 1/16 loop: $short_instructions | $instruction_ratio | 16: all $steps steps run | $(met "$instruction_ratio" '==' 16) |
| … instructions per step; outside the loop | $per_step; $outside | | | | |
EOF
)

notes=$(cat <<'EOF'

How each figure is taken (`scripts/benchmark.sh`, sources in `benchmarks/`):

- Start-up: `window-timer` launches the tester, the floor (`floor-window`: the
  same window, size, title and three controls, nothing else) and an empty
  QWidget in turn under Xvfb, and times each from just before `fork()` to the
  X server's map notification of the top-level window titled "Form1" (the
  moment `xdotool search --sync --onlyvisible` looks for; xdotool itself polls
  every half second, too coarse for a 10 % comparison).
- Memory: VmHWM from `/proc/PID/status` 500 ms after the map; after a run,
  the tester is started with `SOFTBOARD_TRACE=1`, Start is clicked with
  xdotool, and VmHWM is read 500 ms after the software board reports
  `WD_Close`.
- Run overhead: `run-overhead` (links `tester_core`, offscreen platform)
  clicks the real Start button of a shown Form1 and times the run until its
  queued repaint is handled, then times `buzzerPause()` and
  `modHeader::Sleep(1000)` on their own; overhead = run − pause − sleep per
  repetition, median. The software board is reset between runs. "Seen from
  inside" subtracts instead the stretches between the two WD_SetBuzzer calls
  and the two WD_GetSetPowerModule calls of the same run, stamped by the
  software board's call hook, so it does not depend on the pause taking as
  long twice.
- Call cost: `call-cost` (Google Benchmark) times batches of 1,000 calls
  through modHeader and through a pointer from its own dlopen/dlsym of
  Brenvik.dll, interleaved at random, the board reset between batches.
- Busy pause: `busy-pause` times `buzzerPause()` from the Release build
  against the same loop with 1/16 of the count; callgrind counts the
  instructions executed inside each.
EOF
)

echo
echo "$table"
if ((save)); then
    printf '%s\n%s\n' "$table" "$notes" >benchmarks/RESULTS.md
    echo
    echo "Written to benchmarks/RESULTS.md"
fi
