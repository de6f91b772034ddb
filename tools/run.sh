#!/bin/sh
# Starts the tool against the device simulator, linked as COM1 in the build's ports folder.
# With a display the technician works in the window (Autodetect or Open, then the pages);
# without one the window runs on a virtual display, finds the simulator by itself and saves
# screenshots of each step.
set -eu

build=${1:-build}
bin="$build/bin"
link="$bin/ports/COM1"

for program in "$bin/zovuz-sim" "$bin/Korvex"; do
    if [ ! -x "$program" ]; then
        echo "run.sh: $program is missing; build first (make run does)" >&2
        exit 1
    fi
done

mkdir -p "$bin/ports"
"$bin/zovuz-sim" --com 1 &
sim_pid=$!
stop_simulator() {
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
}
trap stop_simulator EXIT
trap 'exit 130' INT TERM

tries=0
while [ ! -e "$link" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 50 ] || ! kill -0 "$sim_pid" 2>/dev/null; then
        echo "run.sh: the simulator did not appear at $link" >&2
        exit 1
    fi
    sleep 0.1
done
echo "Simulator running as COM1 ($link)"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    "$bin/Korvex"
else
    shots="$build/screenshots"
    echo "No display: running the window on a virtual display; screenshots go to $shots"
    xvfb-run -a -s "-screen 0 2600x1800x24" "$bin/Korvex" --demo-screenshots "$shots"
    echo "Screenshots of each step are in $shots"
fi
