#!/usr/bin/env bash
# The demo in a browser against the desktop's own frames: the browser build (scripts/web) is
# served on the loopback and opened in a headless chromium at still frames across the show
# (?row=ROW&paused: the song held at that row, the frame drawn at the capture's frame time), and
# each screenshot must match what demo-capture draws for that row at the same size, within a
# small tolerance (the browser draws through its own GL on the CPU). The page's console may hold
# only the GL emulation's three start-up notices and the shader linker's empty log: anything else
# (a WebGL error, a program error, an exception) fails the row.
#
# Then damaged shows: the page's packed show files, and a copy of the show folder beside them,
# damaged alike (the files' bytes overwritten, their sizes kept, as the package's index holds
# them): undecodable images must leave the same holes as in demo-capture's frame of the damaged
# folder, with a clean console; an undecodable song must print the desktop demo's own lines on
# the console and end the show. Then web_play.mjs plays the show with its sound (see there).
#
#   tests/e2e/web.sh BUILD_DIR WEB_DIR     (BUILD_DIR/bin/demo, demo-capture, BUILD_DIR/show, WEB_DIR/index.html)
#
# Rows are even: the song's position is a whole frame at 44100 a second, which an odd row is not.
set -uo pipefail
build=$(cd "${1:?usage: web.sh BUILD_DIR WEB_DIR}" && pwd)
web=$(cd "${2:?usage: web.sh BUILD_DIR WEB_DIR}" && pwd)
capture=$build/bin/demo-capture
demo=$build/bin/demo
show=$build/show
rows=(96 600 1200 1300 2000 2600 3200 3900 4500 5000 5600 6200 6600)
width=1280 height=720
# Tolerances, per row: the root mean square difference over all channels, and the share of
# pixels that differ by more than 5 % of full scale in some channel (the two rasterisers round
# differently where an edge falls on half a pixel: a jittering sprite's edge may land a row apart).
max_rmse=0.01 max_share_over_5pc=0.003

for need in "$capture" "$demo" "$web/index.html" "$web/demo.js" "$web/demo.wasm" "$web/demo.data"; do
  [ -f "$need" ] || { echo "web: $need is missing (build it: cmake --build build; scripts/web)" >&2; exit 1; }
done
work=$(mktemp -d)
server=
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# What is served: the page at the root, and a copy with damaged show files in damaged/ (filled in
# below), each file but the packed show a link to the build's.
site=$work/site
mkdir -p "$site/damaged"
for file in index.html demo.js demo.wasm demo.data; do
  ln -s "$web/$file" "$site/$file"
  [ $file = demo.data ] || ln -s "$web/$file" "$site/damaged/$file"
done

# The server on a port of the system's choosing, which it names on its first line.
python3 -u -m http.server 0 --bind 127.0.0.1 -d "$site" >"$work/server.log" 2>&1 &
server=$!
port=
for _ in $(seq 100); do
  port=$(sed -n 's/^Serving HTTP on 127\.0\.0\.1 port \([0-9]*\).*/\1/p' "$work/server.log")
  [ -n "$port" ] && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.1
done
[ -n "$port" ] || { echo "web: the page server did not start:" >&2; cat "$work/server.log" >&2; exit 1; }

# The notices the page's console may hold; every other line of it fails the row.
allowed_console='^"WARNING: using emscripten GL (emulation|emulation unsafe opts|immediate mode emulation)[^"]*"$|^"Prog Info Log: "$|^""$'

# open_page QUERY SHOT: chromium's screenshot of the page at the address, its log in
# $work/chromium.log and its console's messages (each from its first line: a message of several
# lines, such as an exception with its stack, is never one of the allowed ones) in $work/console.
# The window is taller than the canvas (the headless window keeps room for a browser's bars); the
# canvas is the page's top left corner.
open_page() {
  timeout 120 chromium --headless=new --no-sandbox --enable-unsafe-swiftshader --use-angle=swiftshader \
    --user-data-dir="$work/profile" --window-size=$width,$((height + 200)) --virtual-time-budget=15000 \
    --enable-logging=stderr --v=0 --screenshot="$2" "http://127.0.0.1:$port/$1" >"$work/chromium.log" 2>&1
  local status=$?
  grep ':CONSOLE' "$work/chromium.log" | sed 's/.*:CONSOLE[^]]*\] //; s/, source: .*//' >"$work/console"
  return $status
}

failures=0
# compare_row LABEL ROW SHOW_DIR PAGE: the page's still frame of the row against demo-capture's in
# the show folder; prints the row's line and counts a failure.
compare_row() {
  local label=$1 row=$2 dir=$3 path=$4
  local native=$work/native-$label.png shot=$work/shot-$label.png page=$work/page-$label.png
  # A damaged folder's frame is written with its holes, and the capture ends with status 1.
  (cd "$dir" && "$capture" --row "$row" --size "${width}x$height" --out "$native" >"$work/capture.log" 2>&1)
  local captured=$?
  if [ $captured -ne 0 ] && { [ "$dir" = "$show" ] || [ $captured -ne 1 ] || [ ! -s "$native" ]; }; then
    echo "web: demo-capture failed at row $row:" >&2; cat "$work/capture.log" >&2; failures=$((failures + 1)); return
  fi
  open_page "$path?row=$row&paused&size=${width}x$height" "$shot"
  local status=$?
  local console
  console=$(grep -Ev "$allowed_console" "$work/console")
  if [ $status -ne 0 ] || [ ! -s "$shot" ]; then
    printf '%-14s %-10s %-14s %s\n' "$label" - - "FAILED: chromium ended with status $status and no screenshot"
    failures=$((failures + 1)); return
  fi
  convert "$shot" -crop "${width}x$height+0+0" +repage -alpha off "$page"
  convert "$native" -alpha off "$native"
  local rmse over share verdict=ok
  rmse=$(compare -metric RMSE "$page" "$native" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p')
  over=$(compare -metric AE -fuzz 5% "$page" "$native" null: 2>&1)
  share=$(awk -v n="$over" -v all=$((width * height)) 'BEGIN { printf "%.6f", n / all }')
  if [ -z "$rmse" ] || ! [[ "$over" =~ ^[0-9]+$ ]]; then
    verdict="FAILED: the pictures could not be compared ($rmse / $over)"
  elif awk -v r="$rmse" -v s="$share" -v mr=$max_rmse -v ms=$max_share_over_5pc 'BEGIN { exit !(r > mr || s > ms) }'; then
    verdict="FAILED: the page differs from the capture (at most rmse $max_rmse, $max_share_over_5pc over 5%)"
  fi
  if [ -n "$console" ]; then
    verdict="FAILED: the console holds: $(echo "$console" | head -5 | tr '\n' ' ')"
  fi
  [ "$verdict" = ok ] || failures=$((failures + 1))
  printf '%-14s %-10s %-14s %s\n' "$label" "$rmse" "$over ($share)" "$verdict"
}

printf '%-14s %-10s %-14s %s\n' row rmse 'over 5%' result
for row in "${rows[@]}"; do
  compare_row "$row" "$row" "$show" index.html
done
[ $failures -eq 0 ] && echo "web: ${#rows[@]} rows match the captures, the console clean"

# damage PATTERN...: the show's files under data/ that match, overwritten with the same text in a
# copy of the show folder ($work/show-damaged) and in a copy of the packed show
# (damaged/demo.data), sizes kept. Each call starts from undamaged copies.
damage() {
  rm -rf "$work/show-damaged"
  cp -r "$show" "$work/show-damaged"
  cp "$web/demo.data" "$site/damaged/demo.data"
  python3 - "$web/demo.js" "$site/damaged/demo.data" "$work/show-damaged" "$@" <<'PYTHON'
import fnmatch, re, sys
program, packed, folder, patterns = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
index = re.findall(r'"filename":"/([^"]+)","start":(\d+),"end":(\d+)', open(program).read())
hit = 0
with open(packed, 'r+b') as data:
    for name, start, end in index:
        if not any(fnmatch.fnmatch(name, pattern) for pattern in patterns):
            continue
        size = int(end) - int(start)
        garbage = (b'damaged ' * (size // 8 + 1))[:size]
        data.seek(int(start))
        data.write(garbage)
        open(f'{folder}/{name}', 'wb').write(garbage)
        hit += 1
if hit == 0:
    sys.exit(f'web: no packed file matches {patterns}')
PYTHON
}

printf '%-14s %-10s %-14s %s\n' damaged rmse 'over 5%' result
if damage 'data/avatars/*.png' 'data/good_lyrics/*.png'; then
  compare_row images-1300 1300 "$work/show-damaged" damaged/index.html
  # The damage must show: Pip and his lyric gone from the frame.
  holes=$(compare -metric AE -fuzz 5% "$work/native-1300.png" "$work/native-images-1300.png" null: 2>&1)
  if ! [[ "$holes" =~ ^[0-9]+$ ]] || [ "$holes" -lt 20000 ]; then
    echo "web: the damaged images changed only $holes pixels of row 1300"; failures=$((failures + 1))
  fi
else
  failures=$((failures + 1))
fi
# The song: the page's console must hold the lines the desktop demo prints for the same folder
# (run without a display: it opens the song before anything is drawn), and the show must end.
if damage 'data/mirekand2013.mp3'; then
  expected=$(cd "$work/show-damaged" && env -u DISPLAY -u WAYLAND_DISPLAY "$demo" 2>/dev/null)
  open_page "damaged/index.html?row=1200&size=320x180" "$work/shot-song.png"
  verdict=ok
  while IFS= read -r line; do
    grep -qxF "\"$line\"" "$work/console" || verdict="FAILED: the console lacks the desktop's \"$line\""
  done <<<"$expected"
  grep -qxF '"demo: the show ended with status -1"' "$work/console" || verdict="FAILED: the show did not end (status -1)"
  [ -n "$expected" ] || verdict="FAILED: the desktop demo printed nothing"
  [ "$verdict" = ok ] || { failures=$((failures + 1)); cat "$work/console"; }
  printf '%-14s %-10s %-14s %s\n' song - - "$verdict: \"$expected\""
else
  failures=$((failures + 1))
fi

if [ $failures -ne 0 ]; then
  echo "web: $failures of $((${#rows[@]} + 2)) rows and damaged shows failed"
  exit 1
fi
echo "web: the damaged shows' holes and lines are the desktop's"

# The show playing with its sound: to its end by itself, and ended by Escape.
node --experimental-websocket --no-warnings "$(dirname "$0")/web_play.mjs" "http://127.0.0.1:$port/index.html"
