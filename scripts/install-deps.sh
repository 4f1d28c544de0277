#!/usr/bin/env bash
# Installs the Debian packages the suite builds, tests and runs with, only when missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
  qt6-tools-dev qt6-l10n-tools
  liblhasa-dev zlib1g-dev
  lhasa 7zip libarchive-tools unar jlha-utils
  libsdl2-mixer-dev libfluidsynth-dev timgm6mb-soundfont
  fonts-ipafont-gothic
  clang libclang-rt-14-dev clang-format
  xvfb xauth
  desktop-file-utils shared-mime-info xdg-utils libglib2.0-bin
  xdotool imagemagick openbox
  chromium
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: these packages are missing: ${missing[*]}" >&2
  echo "install-deps: run as root, or install them with apt-get" >&2
  exit 1
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
