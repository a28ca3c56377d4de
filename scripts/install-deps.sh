#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing Quillmar needs, when missing.
set -euo pipefail

packages=(build-essential cmake pkg-config googletest libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl-dev libqt6svg6 fonts-noto-cjk clang libclang-rt-14-dev
  librsvg2-bin help2man desktop-file-utils appstream libfluidsynth-dev timgm6mb-soundfont)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}"
