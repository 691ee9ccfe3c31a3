#!/usr/bin/env bash
# Installs what building and testing zuzar needs on Debian or Ubuntu, quietly and only when missing.
set -euo pipefail

packages=(
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine64 xvfb xauth x11-utils locales fonts-wqy-microhei fonts-wine imagemagick
  googletest cmake g++ make clang libclang-rt-14-dev e2fsprogs attr python3 binutils-mingw-w64-i686
)

sudo_if_needed() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  sudo_if_needed apt-get update -qq
  sudo_if_needed apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "bootstrap: generating zh_CN.UTF-8"
  sudo_if_needed sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | sudo_if_needed tee -a /etc/locale.gen >/dev/null
  sudo_if_needed locale-gen >/dev/null
fi
