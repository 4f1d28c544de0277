#!/usr/bin/env bash
# Installs what is missing, builds, and opens one editor (reelboard when none is named).
set -euo pipefail
cd "$(dirname "$0")"
program="${1:-reelboard}"
case "$program" in
  reelboard|stopboard|specboard|posboard) ;;
  *) echo "usage: ./run.sh [reelboard|stopboard|specboard|posboard]" >&2; exit 2 ;;
esac
./scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target "$program"
binary="build/$program/$program"
if [ ! -x "$binary" ]; then
  echo "$program is not built yet in this version of the suite." >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting $program in a virtual X display (Xvfb)." >&2
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$binary"
fi
exec "$binary"
