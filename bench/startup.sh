#!/usr/bin/env bash
# Times the real demo's start-up under Xvfb, through a preloaded probe: from exec to the first
# (black) frame presented, and to the song starting. Also reports the CPU the demo uses over
# ten seconds of its main loop. Run from the repository after a build:  bench/startup.sh
set -euo pipefail
build=$(cd "$(dirname "$0")/../build" && pwd)
scripts=$(cd "$(dirname "$0")/../scripts" && pwd)
probe=$build/bench/libstartup_probe.so
show=$build/show
runs=${1:-5}
cat >"$build/startup-run.sh" <<'SCRIPT'
start=$(date +%s.%N)
LD_PRELOAD=$1 $2 2>"$4" & pid=$!
sleep "$3"
cpu=$(awk '{print $14 + $15}' /proc/$pid/stat)
xdotool key Escape; wait $pid
grep probe "$4" | awk -v s="$start" -v cpu="$cpu" -v hz="$(getconf CLK_TCK)" -v run="$3" \
  '{printf "%s %.0f ms  ", $2, ($3 - s) * 1000} END {printf "cpu %.0f%% of one core\n", cpu / hz / run * 100}'
SCRIPT
# A private sound server with a null sink, so that the song really starts on an output device.
export XDG_RUNTIME_DIR=$(mktemp -d)
HOME=$XDG_RUNTIME_DIR pulseaudio -n -D --exit-idle-time=-1 -L module-native-protocol-unix \
  -L module-null-sink >/dev/null 2>&1
trap 'pulseaudio --kill >/dev/null 2>&1; rm -rf "$XDG_RUNTIME_DIR"' EXIT
for i in $(seq 50); do [ -S "$XDG_RUNTIME_DIR/pulse/native" ] && break; sleep 0.1; done
cd "$show"
for i in $(seq "$runs"); do
  "$scripts/with-xvfb" 1280x720 bash "$build/startup-run.sh" "$probe" "$build/bin/demo" 10 "$XDG_RUNTIME_DIR/probe.err"
done
