#!/usr/bin/env bash
# Builds the programs, makes a fresh demo machine in ./demo-machine (anew on every run) with the
# whole capture-board package installed, and starts the uninstaller on it in the terminal.
# Outside a terminal it runs the same uninstallation unattended and prints what it did.
#
# UNINST_DEMO_MACHINE puts the machine elsewhere (a relative path is taken from the checkout's
# top folder); UNINST_BUILD_DIR builds in another folder than build/release.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${UNINST_BUILD_DIR:-build/release}
machine=${UNINST_DEMO_MACHINE:-demo-machine}

scripts/install-deps.sh
# A configured build is only brought up to date: it notices new and changed files itself.
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target uninst uninst-machine

# The machine is made anew, but a folder that is not a machine is never removed: a mistyped
# UNINST_DEMO_MACHINE must not take someone's files with it.
if [ -e "$machine" ] && [ ! -f "$machine/registry.db" ] && [ -n "$(ls -A "$machine")" ]; then
  echo "demo.sh: $machine is not a machine; not removing it" >&2
  exit 1
fi
rm -rf "$machine"
"$build/tools/uninst-machine" demo "$machine" --quiet

program=$machine/drive_c/Capture/uninst.exe
if [ -t 0 ] && [ -t 1 ]; then
  exec "$build/tools/uninst" "$program"
fi
echo "made $machine; no terminal, so the uninstaller runs unattended (--silent); what it did:"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
"$build/tools/uninst" "$program" --silent --log "$log" || status=$?
cat "$log"
echo "uninst exited $status (see \"Exit status\" in README.md); in a terminal it starts with:"
echo "  $build/tools/uninst $program"
exit "$status"
