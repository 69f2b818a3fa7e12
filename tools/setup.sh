#!/usr/bin/env bash
# Installs what building and testing need on a Debian machine (run as root).
# Idempotent and quiet when everything is already there.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev libz-mingw-w64-dev
  zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  wine64 wine xvfb xauth pulseaudio pulseaudio-utils locales fonts-ipafont-gothic
  ffmpeg imagemagick xdotool sox libx11-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The programs are tested in the Japanese locale (code page 932 under Wine).
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "setup: generating the ja_JP.UTF-8 locale"
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
