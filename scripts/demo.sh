#!/usr/bin/env bash
# Builds the programs and makes a fresh machine in ./demo-machine (made anew on every run),
# then shows what is on it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release --target uninst-machine
rm -rf demo-machine
build/release/tools/uninst-machine init demo-machine
