#!/usr/bin/env bash
# The damaged-show matrix: copies of the show folder with one kind of damage each, every one run
# by the real demo under Xvfb for a few seconds and ended with Escape. Each case must end without
# a crash or a sanitizer report, with the exit status and standard output the program promises:
# a missing or undecodable song prints its one "FMOD error!" line and exits 255; shader damage
# prints the compiler's logs; everything else runs silently and exits 0.
#
#   tests/e2e/damaged-shows.sh BUILD_DIR     (BUILD_DIR/bin/demo, BUILD_DIR/show)
set -uo pipefail
build=$(cd "${1:?usage: damaged-shows.sh BUILD_DIR}" && pwd)
demo=$build/bin/demo
show=$build/show
with_xvfb=$(cd "$(dirname "$0")/../../scripts" && pwd)/with-xvfb
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Memory errors are checked, leaks are not: once GLFW shuts down, the GL driver is unloaded and its
# few remaining blocks can no longer be told apart from the program's.
export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

runs=0 failures=0
report() { printf '%-44s %s\n' "$1" "$2"; }

# run_case NAME EXPECTED_STATUS STDOUT_RULE DAMAGE_COMMANDS...
#   STDOUT_RULE: "empty", "logs" (shader logs), or the exact expected line
# Nothing is run twice: a demo still running a minute after the first tap of Escape fails as hung,
# and one whose window never appeared fails as such (without a window it cannot see Escape and
# plays to the end of the show).
run_case() {
  local name=$1 expected=$2 rule=$3; shift 3
  local dir=$work/$name
  cp -r "$show" "$dir"
  (cd "$dir" && eval "$*")
  cat >"$dir/run.sh" <<SCRIPT
cd "$dir"
"$demo" >stdout.txt 2>stderr.txt & pid=\$!
# A tap of Escape once the window is up and the show has played a moment, again every second
# until the demo ends; start-up takes longer on a busy machine and in a sanitizer build.
for i in \$(seq 600); do xwininfo -root -tree | grep -q '"Demo"' && { : >"$dir/window"; break; }; kill -0 \$pid 2>/dev/null || break; sleep 0.1; done
sleep 3
for i in \$(seq 600); do
  kill -0 \$pid 2>/dev/null || break
  [ \$((i % 10)) = 1 ] && xdotool key Escape
  sleep 0.1
done
kill -0 \$pid 2>/dev/null && { : >"$dir/hung"; kill -9 \$pid; }
wait \$pid; echo \$? >status.txt
SCRIPT
  "$with_xvfb" 320x240 bash "$dir/run.sh" >/dev/null 2>&1
  local status out problems=""
  status=$(cat "$dir/status.txt" 2>/dev/null || echo none)
  out=$(cat "$dir/stdout.txt" 2>/dev/null)
  if [ -e "$dir/hung" ]; then
    if [ -e "$dir/window" ]; then problems+=" still running a minute after Escape;"
    else problems+=" no window appeared, so Escape could not end it;"; fi
  fi
  [ "$status" = "$expected" ] || problems+=" status $status, not $expected;"
  grep -qE "ERROR: AddressSanitizer|runtime error:|ERROR: LeakSanitizer" "$dir/stderr.txt" && problems+=" sanitizer report;"
  case $rule in
    empty) [ -z "$out" ] || problems+=" unexpected output;" ;;
    logs) grep -q "Info Log: " "$dir/stdout.txt" || problems+=" no shader log;" ;;
    *) [ "$out" = "$rule" ] || problems+=" output '$out';" ;;
  esac
  runs=$((runs + 1))
  if [ -z "$problems" ]; then report "$name" "ok (status $status)"; else
    report "$name" "FAILED:$problems"
    [ -s "$dir/stderr.txt" ] && tail -n 5 "$dir/stderr.txt" | sed 's/^/    /'
    failures=$((failures + 1))
  fi
  rm -rf "$dir"
}

tracks='sync_*.track'
img=data/avatars/basic.png
run_case tracks-missing 0 empty "rm -f $tracks"
run_case tracks-empty 0 empty "for f in $tracks; do : >\"\$f\"; done"
run_case tracks-truncated 0 empty "for f in $tracks; do truncate -s 11 \"\$f\"; done"
run_case tracks-garbage 0 empty "for f in $tracks; do head -c 333 /dev/urandom >\"\$f\"; done"
run_case tracks-huge-count 0 empty "for f in $tracks; do printf '\\xff\\xff\\xff\\x7f' | dd of=\"\$f\" bs=1 conv=notrunc 2>/dev/null; done"
run_case images-missing 0 empty "rm -f data/avatars/*.png data/features/3.png data/zemlogo.png data/tunnel/tex6.png"
run_case images-zero-bytes 0 empty "for f in data/pictograms/*.png data/refrain/*.png; do : >\"\$f\"; done"
run_case images-truncated 0 empty "for f in data/good_lyrics/*.png data/tunnel/*.png; do truncate -s 300 \"\$f\"; done"
run_case images-garbage 0 empty "for f in data/evil_lyrics/*.png data/credits/*.png; do head -c 5000 /dev/urandom >\"\$f\"; done"
run_case images-grey 0 empty "convert $img -colorspace Gray -type Grayscale $img; convert data/zemlogo.png -colorspace Gray -type GrayscaleAlpha data/zemlogo.png"
run_case images-16-bit 0 empty "convert $img -depth 16 PNG48:$img; convert data/tunnel/tex9.png -depth 16 data/tunnel/tex9.png"
run_case images-huge-header 0 empty "printf '\\x00\\x01\\x86\\xa0\\x00\\x01\\x86\\xa0' | dd of=$img bs=1 seek=16 conv=notrunc 2>/dev/null"
run_case images-other-formats 0 empty "printf '#?RADIANCE\\nFORMAT=32-bit_rle_rgbe\\n\\n-Y 1 +X 16\\n\\x02\\x02\\x00\\x10\\x82' >data/zemlogo.png; printf 'P6\\n1024 256\\n255\\n' >data/features/1.png"
run_case files-that-block 0 empty "rm -f data/avatars/basic.png sync_features.track && mkfifo data/avatars/basic.png sync_features.track && ln -sf /dev/zero data/refrain/mirekand-o-sol.png"
run_case shaders-missing 0 logs "rm -f data/shaders/*"
run_case shaders-empty 0 logs ": >data/shaders/default.vs; : >data/shaders/noise.fs"
run_case shaders-syntax-error 0 logs "echo 'void main() { gl_FragColor = ; }' >data/shaders/noise.fs"
run_case song-missing 255 "FMOD error! (23) File not found. " "rm -f data/mirekand2013.mp3"
run_case song-garbage 255 "FMOD error! (25) Unsupported file or audio format. " "head -c 200000 /dev/urandom >data/mirekand2013.mp3"
run_case song-empty 255 "FMOD error! (25) Unsupported file or audio format. " ": >data/mirekand2013.mp3"
run_case song-fifo 255 "FMOD error! (19) Error loading file. " "rm -f data/mirekand2013.mp3 && mkfifo data/mirekand2013.mp3"
run_case song-truncated 0 empty "truncate -s 1000000 data/mirekand2013.mp3"
run_case song-too-short 0 empty "head -c 200000 data/mirekand2013.mp3 >short.mp3 && mv short.mp3 data/mirekand2013.mp3"
run_case song-48k-mono 0 empty "ffmpeg -v error -t 20 -i data/mirekand2013.mp3 -ar 48000 -ac 1 -c:a libmp3lame x.mp3 && mv x.mp3 data/mirekand2013.mp3"
run_case nothing-damaged 0 empty ":"

echo "$runs cases, $failures failed"
[ "$failures" -eq 0 ]
