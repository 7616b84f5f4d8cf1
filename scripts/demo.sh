#!/usr/bin/env bash
# Builds the programs, makes a fresh demo machine in ./demo-machine (anew on every run) with the
# whole capture-board package installed, and starts the uninstaller on it in the terminal.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release --target uninst uninst-machine
rm -rf demo-machine
build/release/tools/uninst-machine demo demo-machine --quiet
if [ -t 0 ] && [ -t 1 ]; then
  exec build/release/tools/uninst demo-machine/drive_c/Capture/uninst.exe
fi
echo "made ./demo-machine; start the uninstaller in a terminal with:"
echo "  build/release/tools/uninst demo-machine/drive_c/Capture/uninst.exe"
