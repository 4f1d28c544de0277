#!/usr/bin/env bash
# Checks an installed suite: every file there, the menu entries valid, and each file of the
# sample machine (and LZH archives that are not control files) taken for its own type by the
# desktop's type detection with the installed file types.
# Usage: desktop/check-install.sh PREFIX
set -euo pipefail
cd "$(dirname "$0")/.."
prefix="${1:?usage: desktop/check-install.sh PREFIX}"
prefix="$(cd "$prefix" && pwd)"
failed=0
fail() { echo "check-install: $*" >&2; failed=1; }

editors=(reelboard stopboard specboard posboard)
expected=(bin/machinecheck share/mime/packages/machine-data-editors.xml)
for e in "${editors[@]}"; do
  expected+=("bin/$e" "share/applications/$e.desktop" "share/icons/hicolor/scalable/apps/$e.svg")
done
for f in "${expected[@]}"; do
  [ -f "$prefix/$f" ] || fail "missing $f"
done
for b in "${editors[@]}" machinecheck; do
  [ -x "$prefix/bin/$b" ] || fail "bin/$b is not a program"
done

for e in "${editors[@]}"; do
  entry="$prefix/share/applications/$e.desktop"
  [ -f "$entry" ] || continue
  desktop-file-validate "$entry" || fail "$e.desktop does not validate"
  grep -qx "Exec=$prefix/bin/$e %f" "$entry" || fail "$e.desktop does not start $prefix/bin/$e"
done

# The types as the desktop sees them: only the prefix's share folder and the system's own.
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
# No choices of this user's (mimeapps.list) either. The GNOME route of xdg-mime asks gio,
# which reads the shared-mime-info database; the generic route would ask file(1), which does not.
export XDG_DATA_HOME="$home" XDG_DATA_DIRS="$prefix/share:/usr/share"
export XDG_CONFIG_HOME="$home" XDG_CONFIG_DIRS="$home" XDG_CURRENT_DESKTOP=GNOME
update-mime-database "$prefix/share/mime"
typeof() { xdg-mime query filetype "$1"; }
expect() {
  local file="$1" type="$2" got
  got="$(typeof "$file")"
  if [ "$got" = "$type" ]; then echo "check-install: $(basename "$file"): $got"; else fail "$file is $got, not $type"; fi
}
sample=examples/sample-machine
expect "$sample/machine.sdf" application/x-orvane-reel-data
expect "$sample/machine.rcf" application/x-orvane-reel-control
expect "$sample/machine.orf" application/x-orvane-machine
expect "$sample/machine.ppf" application/x-orvane-picture-positions
# A control file without its extension is still one; other LZH archives stay archives, and
# a name ending in .lzh is an archive whatever it holds.
cp "$sample/machine.rcf" "$home/control"
expect "$home/control" application/x-orvane-reel-control
cp tests/lzh/data/jpname_level2.lzh "$home/archive"
expect "$home/archive" application/x-lha
cp "$sample/machine.rcf" "$home/packed.lzh"
expect "$home/packed.lzh" application/x-lha
# An Olympus raw picture shares the .orf extension: its own header keeps it a picture.
printf 'IIRO\x08\x00\x00\x00' > "$home/photo.orf"
expect "$home/photo.orf" image/x-olympus-orf
# Reel data and machine files without extension, known by their first lines.
cp "$sample/machine.sdf" "$home/reels"
expect "$home/reels" application/x-orvane-reel-data
cp "$sample/machine.orf" "$home/machine"
expect "$home/machine" application/x-orvane-machine

# Each file type opens in its own editor.
for pair in reel-data:reelboard reel-control:stopboard machine:specboard picture-positions:posboard; do
  type="application/x-orvane-${pair%%:*}"
  got="$(xdg-mime query default "$type")"
  [ "$got" = "${pair#*:}.desktop" ] || fail "$type opens in '$got', not ${pair#*:}.desktop"
done

[ "$failed" -eq 0 ] || exit 1
echo "check-install: $prefix: every file there, entries valid, file types known"
