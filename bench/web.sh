#!/usr/bin/env bash
# The browser build beside the desktop demo, at 1280x720, in one run on this machine: the native
# demo under Xvfb (its frames a second as Mesa's own counter dumps them each second) and the page
# in a headless chromium (bench/web_fps.mjs), both over the same seconds of the show from its
# start; and the page's load time and transfer. Run from the repository after `cmake --build
# build` and `scripts/web`:  bench/web.sh [FROM_S TO_S]    (default 5 25)
set -euo pipefail
cd "$(dirname "$0")/.."
from=${1:-5} to=${2:-25}
work=$(mktemp -d)
server=
trap '[ -n "$server" ] && kill $server 2>/dev/null; rm -rf "$work"' EXIT

(cd build/show && GALLIUM_HUD=fps GALLIUM_HUD_DUMP_DIR="$work" GALLIUM_HUD_VISIBLE=false \
  timeout $((to + 2)) ../../scripts/with-xvfb 1280x720 ../bin/demo >/dev/null 2>&1) || true
awk -v from="$from" -v to="$to" 'NR > from && NR <= to { sum += $1; n++ }
  END { printf "native: %.1f frames a second over %d-%d s of the show (Xvfb, llvmpipe)\n", sum / n, from, to }' "$work/fps"

python3 -u -m http.server 0 --bind 127.0.0.1 -d build-web >"$work/server.log" 2>&1 &
server=$!
port=
for _ in $(seq 100); do
  port=$(sed -n 's/^Serving HTTP on 127\.0\.0\.1 port \([0-9]*\).*/\1/p' "$work/server.log")
  [ -n "$port" ] && break
  sleep 0.1
done
node --experimental-websocket --no-warnings bench/web_fps.mjs "http://127.0.0.1:$port/index.html" "$from" "$to" |
  sed 's/^/browser /'
