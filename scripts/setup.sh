#!/usr/bin/env bash
# Installs the Debian packages that the build and the tests need; only what is missing.
set -euo pipefail
packages=(build-essential cmake ninja-build ccache pkg-config
          libxerces-c-dev libsqlite3-dev libfmt-dev libgtest-dev libgmock-dev
          qt6-base-dev locales clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
