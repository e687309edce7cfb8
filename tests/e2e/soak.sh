#!/usr/bin/env bash
# The soak run: the real demo plays the whole show (all 6651 rows, 277 s) under Xvfb at a small
# screen size with the silent output, and must end by itself at the row limit with status 0,
# with no sanitizer report, its resident memory flat from the end of start-up to the end.
#
# Memory is sampled every 5 s as the resident total and its anonymous part (heap and other private
# memory: where a leak shows) apart from pages of files (library code first run late in the show,
# shared and reclaimable). Measured over whole shows (2 cores, llvmpipe): the anonymous part stays
# within 0.1 MB (normal build) and 0.6 MB (sanitizer build); the heap's floor is flat, and the only
# allocations while frames are drawn are the GL driver's and Xlib's, freed within the frame (at most
# 2.3 MB at once). So anonymous memory may grow by at most 4 MB, the total by at most 12 MB.
#
#   tests/e2e/soak.sh BUILD_DIR     (BUILD_DIR/bin/demo, BUILD_DIR/show)
set -uo pipefail
# Leaks: see damaged-shows.sh. No quarantine of freed memory either: it would grow the resident
# memory of a sanitizer build by itself and hide what this run measures.
export ASAN_OPTIONS=detect_leaks=0:quarantine_size_mb=0
build=$(cd "${1:?usage: soak.sh BUILD_DIR}" && pwd)
with_xvfb=$(cd "$(dirname "$0")/../../scripts" && pwd)/with-xvfb
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/run.sh" <<SCRIPT
cd "$build/show"
start=\$(date +%s)
"$build/bin/demo" >"$work/stdout.txt" 2>"$work/stderr.txt" & pid=\$!
while kill -0 \$pid 2>/dev/null; do
  rss=\$(awk '/^VmRSS/ {total = \$2} /^RssAnon/ {anon = \$2} END {if (total) print total, anon}' /proc/\$pid/status 2>/dev/null)
  [ -n "\$rss" ] && echo "\$((\$(date +%s) - start)) \$rss" >>"$work/rss.txt"
  sleep 5
  [ \$((\$(date +%s) - start)) -gt 400 ] && { kill -9 \$pid; echo "still running after 400 s"; }
done
wait \$pid; echo \$? >"$work/status.txt"
echo \$((\$(date +%s) - start)) >"$work/seconds.txt"
SCRIPT
"$with_xvfb" 320x240 bash "$work/run.sh"
status=$(cat "$work/status.txt" 2>/dev/null || echo none)
seconds=$(cat "$work/seconds.txt" 2>/dev/null || echo ?)
# Memory after start-up (the first sample at 30 s or later) against the last sample.
read -r first_t first_kb first_anon < <(awk '$1 >= 30' "$work/rss.txt" | head -n 1)
read -r last_t last_kb last_anon < <(tail -n 1 "$work/rss.txt")
growth=$(( ${last_kb:-0} - ${first_kb:-0} ))
anon_growth=$(( ${last_anon:-0} - ${first_anon:-0} ))
echo "soak: status $status after $seconds s; resident memory ${first_kb:-?} kB at ${first_t:-?} s, ${last_kb:-?} kB at ${last_t:-?} s (growth $growth kB, of it anonymous $anon_growth kB)"
failed=0
[ "$status" = 0 ] || { echo "soak: FAILED: exit status $status"; failed=1; }
[ "${seconds:-0}" -ge 270 ] 2>/dev/null || { echo "soak: FAILED: ended before the show could have played through"; failed=1; }
[ -s "$work/stdout.txt" ] && { echo "soak: FAILED: unexpected output:"; cat "$work/stdout.txt"; failed=1; }
grep -E "ERROR: AddressSanitizer|runtime error:|ERROR: LeakSanitizer" "$work/stderr.txt" && failed=1
[ -n "${first_kb:-}" ] || { echo "soak: FAILED: no memory sample after start-up"; failed=1; }
[ "$growth" -le 12288 ] || { echo "soak: FAILED: memory grew by $growth kB"; failed=1; }
[ "$anon_growth" -le 4096 ] || { echo "soak: FAILED: anonymous memory grew by $anon_growth kB"; failed=1; }
[ "$failed" -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit "$failed"
