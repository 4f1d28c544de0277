#!/usr/bin/env bash
# Takes the README's screenshots: each editor started in a virtual X display with the sample
# machine given on its command line, one picture of each window and of each specboard page,
# saved into docs/. Rerun it after a change to a window.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${SCREENSHOTS_IN_XVFB:-}" ]; then
  ./scripts/install-deps.sh
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j2 --target reelboard stopboard specboard posboard
  SCREENSHOTS_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

sample=examples/sample-machine
out=docs
mkdir -p "$out"
# A runtime folder of our own: an editor already running on the desktop must not refuse ours.
XDG_RUNTIME_DIR="$(mktemp -d)"
export XDG_RUNTIME_DIR
chmod 700 "$XDG_RUNTIME_DIR"
export SDL_AUDIODRIVER=dummy
pid=""
window=""
# A window manager draws each window's frame and caption into the pictures.
openbox >/dev/null 2>&1 &
wm=$!
finish() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  kill "$wm" 2>/dev/null || true
  rm -rf "$XDG_RUNTIME_DIR"
}
trap finish EXIT
sleep 1

fail() { echo "screenshots: $*" >&2; exit 1; }

# Starts an editor with its files and waits until its window is up and painted.
start() {
  local program="$1"; shift
  "build/$program/$program" "$@" &
  pid=$!
  window="$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -n 1)" ||
    fail "$program showed no window"
  [ -n "$window" ] || fail "$program showed no window"
  sleep 2
  # Anything beside the main window is a message box: the sample did not load cleanly.
  local shown
  shown="$(xdotool search --onlyvisible --pid "$pid" | wc -l)"
  [ "$shown" -eq 1 ] || fail "$program shows a message box over its window"
}

shoot() {
  xdotool mousemove 0 0
  import -frame -window "$window" "$out/$1.png"
  echo "screenshots: $out/$1.png"
}

stop() {
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=""
}

start reelboard "$sample/machine.sdf"
shoot reelboard
stop

start stopboard "$sample/machine.sdf" "$sample/machine.rcf"
shoot stopboard
stop

start posboard "$sample/machine.ppf"
shoot posboard
stop

# specboard's pages are chosen by clicking their tabs: the centre of each tab on the strip,
# as the IPA Gothic captions place them.
start specboard "$sample/machine.orf"
tabs=(35 94 158 228)
for i in 0 1 2 3; do
  xdotool mousemove --window "$window" "${tabs[$i]}" 14 click 1
  xdotool mousemove 0 0
  sleep 1
  shoot "specboard-$((i + 1))"
  # A click beside a tab changes nothing: the page must differ from the one before.
  if [ "$i" -gt 0 ]; then
    differing="$(compare -metric AE "$out/specboard-$i.png" "$out/specboard-$((i + 1)).png" null: 2>&1 || true)"
    [ "$differing" != "0" ] || fail "the click on tab $((i + 1)) did not open its page"
  fi
done
xdotool mousemove --window "$window" "${tabs[0]}" 14 click 1
stop
