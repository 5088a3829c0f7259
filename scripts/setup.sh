#!/usr/bin/env bash
# Installs what building and testing JOV needs (Debian packages), when it is missing.
set -euo pipefail

packages=(cmake ninja-build g++ clang libclang-rt-14-dev ccache libgtest-dev libbenchmark-dev
          libxml2-utils qt6-base-dev qt6-charts-dev dbus-daemon)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -q "${missing[@]}"
fi
