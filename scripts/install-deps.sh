#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and this
# machine lacks. Does nothing when everything is there.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config libncurses-dev libsqlite3-dev sqlite3 libcli11-dev
          libgtest-dev libgmock-dev libbenchmark-dev tmux strace bsdutils dpkg-dev file groff-base man-db
          clang libclang-rt-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
