#!/usr/bin/env bash
# The demo in a browser against the desktop's own frames: the browser build (scripts/web) is
# served on the loopback and opened in a headless chromium at still frames across the show
# (?row=ROW&paused: the song held at that row, the frame drawn at the capture's frame time), and
# each screenshot must match what demo-capture draws for that row at the same size, within a
# small tolerance (the browser draws through its own GL on the CPU). The page's console may hold
# only the GL emulation's three start-up notices and the shader linker's empty log: anything else
# (a WebGL error, a program error, an exception) fails the row. Then web_play.mjs plays the show
# with its sound (see there).
#
#   tests/e2e/web.sh BUILD_DIR WEB_DIR     (BUILD_DIR/bin/demo-capture, BUILD_DIR/show, WEB_DIR/index.html)
#
# Rows are even: the song's position is a whole frame at 44100 a second, which an odd row is not.
set -uo pipefail
build=$(cd "${1:?usage: web.sh BUILD_DIR WEB_DIR}" && pwd)
web=$(cd "${2:?usage: web.sh BUILD_DIR WEB_DIR}" && pwd)
capture=$build/bin/demo-capture
show=$build/show
rows=(96 600 1200 1300 2000 2600 3200 3900 4500 5000 5600 6200 6600)
width=1280 height=720
# Tolerances, per row: the root mean square difference over all channels, and the share of
# pixels that differ by more than 5 % of full scale in some channel (the two rasterisers round
# differently where an edge falls on half a pixel: a jittering sprite's edge may land a row apart).
max_rmse=0.01 max_share_over_5pc=0.003

for need in "$capture" "$web/index.html" "$web/demo.js" "$web/demo.wasm" "$web/demo.data"; do
  [ -f "$need" ] || { echo "web: $need is missing (build it: cmake --build build; scripts/web)" >&2; exit 1; }
done
work=$(mktemp -d)
server=
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# The server on a port of the system's choosing, which it names on its first line.
python3 -u -m http.server 0 --bind 127.0.0.1 -d "$web" >"$work/server.log" 2>&1 &
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

failures=0
printf '%-6s %-10s %-14s %s\n' row rmse 'over 5%' result
for row in "${rows[@]}"; do
  native=$work/native-$row.png shot=$work/shot-$row.png page=$work/page-$row.png
  if ! (cd "$show" && "$capture" --row "$row" --size "${width}x$height" --out "$native" >"$work/capture.log" 2>&1); then
    echo "web: demo-capture failed at row $row:" >&2; cat "$work/capture.log" >&2; failures=$((failures + 1)); continue
  fi
  # The window is taller than the canvas (the headless window keeps room for a browser's bars);
  # the canvas is the page's top left corner.
  timeout 120 chromium --headless=new --no-sandbox --enable-unsafe-swiftshader --use-angle=swiftshader \
    --user-data-dir="$work/profile" --window-size=$width,$((height + 200)) --virtual-time-budget=15000 \
    --enable-logging=stderr --v=0 --screenshot="$shot" \
    "http://127.0.0.1:$port/index.html?row=$row&paused&size=${width}x$height" >"$work/chromium.log" 2>&1
  status=$?
  # Each console message, from its first line (a message of several lines, such as an exception
  # with its stack, is never one of the allowed ones).
  console=$(grep ':CONSOLE' "$work/chromium.log" | sed 's/.*:CONSOLE[^]]*\] //; s/, source: .*//' | grep -Ev "$allowed_console")
  if [ $status -ne 0 ] || [ ! -s "$shot" ]; then
    printf '%-6s %-10s %-14s %s\n' "$row" - - "FAILED: chromium ended with status $status and no screenshot"
    failures=$((failures + 1)); continue
  fi
  convert "$shot" -crop "${width}x$height+0+0" +repage -alpha off "$page"
  convert "$native" -alpha off "$native"
  rmse=$(compare -metric RMSE "$page" "$native" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p')
  over=$(compare -metric AE -fuzz 5% "$page" "$native" null: 2>&1)
  share=$(awk -v n="$over" -v all=$((width * height)) 'BEGIN { printf "%.6f", n / all }')
  verdict=ok
  if [ -z "$rmse" ] || ! [[ "$over" =~ ^[0-9]+$ ]]; then
    verdict="FAILED: the pictures could not be compared ($rmse / $over)"
  elif awk -v r="$rmse" -v s="$share" -v mr=$max_rmse -v ms=$max_share_over_5pc 'BEGIN { exit !(r > mr || s > ms) }'; then
    verdict="FAILED: the page differs from the capture (at most rmse $max_rmse, $max_share_over_5pc over 5%)"
  fi
  if [ -n "$console" ]; then
    verdict="FAILED: the console holds: $(echo "$console" | head -5 | tr '\n' ' ')"
  fi
  [ "$verdict" = ok ] || failures=$((failures + 1))
  printf '%-6s %-10s %-14s %s\n' "$row" "$rmse" "$over ($share)" "$verdict"
done

if [ $failures -ne 0 ]; then
  echo "web: $failures of ${#rows[@]} rows failed"
  exit 1
fi
echo "web: ${#rows[@]} rows match the captures, the console clean"

# The show playing with its sound: to its end by itself, and ended by Escape.
node --experimental-websocket --no-warnings "$(dirname "$0")/web_play.mjs" "http://127.0.0.1:$port/index.html"
