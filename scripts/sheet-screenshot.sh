#!/usr/bin/env bash
# Takes the README's picture of the sample machine's sheet: machinecheck writes the sheet in
# Japanese, headless Chromium (the command the tests use) shows its first screen, saved as
# docs/machinecheck-sheet.png. Rerun it after a change to the sheet.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target machinecheck

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
LANG=ja_JP.UTF-8 LC_ALL= LC_MESSAGES= LANGUAGE= \
  build/machinecheck/machinecheck sheet examples/sample-machine -o "$work/sheet.html"
chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
  --disable-background-networking --disable-component-update --disable-sync \
  --user-data-dir="$work/profile" --hide-scrollbars --window-size=820,1300 \
  --screenshot="$work/sheet.png" "file://$work/sheet.html" 2>/dev/null
# Fewer colours keep the picture small; the pictures of the sheet have few of them.
convert "$work/sheet.png" -colors 128 -strip docs/machinecheck-sheet.png
ls -l docs/machinecheck-sheet.png
