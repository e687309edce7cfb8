#!/usr/bin/env bash
# How live the preview is: the time from a saved choreography source to the first frame drawn
# with its tracks, and from a moving key (Right) to the frame at the new row, as demo-preview
# --trace reports them, at 1280x720 under Xvfb. Runs in a copy of the built show.
#
#   bench/preview_latency.sh [BUILD_DIR]    (default build; KEEP=1 keeps the work folder)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
source_file=$PWD/show/choreography.tracks
scripts=$PWD/scripts
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -n "${KEEP:-}" ] && trap - EXIT && echo "work: $work"
cp -r "$build/show" "$work/show"
cd "$work/show"
cp "$source_file" show.tracks
# The same source with the black fade at 1 everywhere, to alternate with the original.
awk '/^track fade:fg_black$/ {print; print "0 1"; skip=1; next} skip && /^$/ {skip=0} !skip' \
  "$source_file" >black.tracks
cat >run.sh <<SCRIPT
"$build/bin/demo-preview" --from 1200 --paused --source show.tracks --size 1280x720 --trace 2>trace.txt & pid=\$!
for i in \$(seq 300); do id=\$(xdotool search --name 'Demo preview' 2>/dev/null | head -n1); [ -n "\$id" ] && break; sleep 0.1; done
sleep 2
for i in \$(seq 10); do xdotool key --window \$id Right; sleep 0.5; done
for i in \$(seq 5); do
  cp black.tracks new.tracks && mv new.tracks show.tracks; sleep 0.5
  cp "$source_file" new.tracks && mv new.tracks show.tracks; sleep 0.5
done
xdotool key --window \$id space; sleep 1
for i in \$(seq 5); do
  cp black.tracks new.tracks && mv new.tracks show.tracks; sleep 0.5
  cp "$source_file" new.tracks && mv new.tracks show.tracks; sleep 0.5
done
xdotool key --window \$id Escape
wait \$pid
SCRIPT
"$scripts/with-xvfb" 1280x720 bash run.sh >/dev/null 2>&1
summary() {  # summary LABEL PATTERN: median and largest of the trace's figures for it
  grep "$2" trace.txt | awk '{print $(NF-2)}' | sort -n |
    awk -v label="$1" '{v[NR]=$1} END {if (NR) printf "%-30s %3d samples, median %6.1f ms, largest %6.1f ms\n", label, NR, v[int((NR+1)/2)], v[NR]; else print label ": no samples"}'
}
summary "key (Right) to frame, paused" "key to frame .* paused"
summary "save to frame, paused" "save to frame .* paused"
summary "save to frame, playing" "save to frame .* playing"
