#!/usr/bin/env bash
# The release, as someone who never built it gets it: installed into a fresh prefix, every
# program runs from there alone, demo-check passes in the installed show folder, the launcher
# plays the show under Xvfb until a tap of Escape; and the Debian package and the archive hold
# the same tree, with the package's name, version and library dependencies in its metadata.
#
#   tests/e2e/release.sh BUILD_DIR
set -uo pipefail
build=$(cd "${1:?usage: release.sh BUILD_DIR}" && pwd)
with_xvfb=$(cd "$(dirname "$0")/../../scripts" && pwd)/with-xvfb
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # check DESCRIPTION COMMAND...
  if "${@:2}" >"$work/out" 2>&1; then echo "ok      $1"; else
    echo "FAILED  $1"; sed 's/^/    /' "$work/out" | tail -n 8; failures=$((failures + 1)); fi
}
prefix=$work/prefix
check "cmake --install --strip into a fresh prefix" cmake --install "$build" --prefix "$prefix" --strip
check "nothing of the build tree in the installed files" bash -c "! grep -rlF '$build' '$prefix'"
for program in demo-capture demo-check demo-tracks demo-preview; do
  check "$program --help runs from the installed tree" "$prefix/bin/$program" --help
done
check "demo-check passes in the installed show folder" bash -c "cd '$prefix/share/demo/show' && '$prefix/bin/demo-check'"
cat >"$work/play.sh" <<SCRIPT
"$prefix/bin/demo-show" & pid=\$!
for i in \$(seq 300); do xwininfo -root -tree | grep -q '"Demo"' && break; sleep 0.1; done
xwininfo -root -tree | grep -q '"Demo"' || { kill \$pid; exit 91; }
sleep 2
for i in \$(seq 60); do kill -0 \$pid 2>/dev/null || break; xdotool key Escape; sleep 1; done
kill -0 \$pid 2>/dev/null && { kill \$pid; exit 92; }
wait \$pid
SCRIPT
check "the launcher plays the show until Escape" "$with_xvfb" 640x360 bash "$work/play.sh"

check "cpack makes the package and the archive" cpack --config "$build/CPackConfig.cmake" -B "$work/packages"
deb=$(ls "$work"/packages/*.deb 2>/dev/null | head -n 1)
archive=$(ls "$work"/packages/*.tar.gz 2>/dev/null | head -n 1)
check "the package is demo, version 1.0.0" test "$(dpkg-deb -f "$deb" Package Version)" = $'Package: demo\nVersion: 1.0.0'
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libglfw3 libglew2.2 libglu1-mesa libgl1 libegl1 libopenal1 libmpg123-0 libc6 libstdc++6; do
  check "it depends on $lib, which the programs link" grep -q "\b$lib\b" <<<"$depends"
done
check "the package installs the launcher on the PATH and the show under /usr/share" bash -c \
  "dpkg-deb -c '$deb' | grep -q ' ./usr/bin/demo-show\$' && dpkg-deb -c '$deb' | grep -q ' ./usr/share/demo/show/data/mirekand2013.mp3\$'"
check "the archive holds the same programs and show" bash -c \
  "tar -tzf '$archive' | grep -q '/bin/demo-show\$' && tar -tzf '$archive' | grep -q '/share/demo/show/sync_features.track\$'"
echo "$failures failed" && exit $((failures > 0))
