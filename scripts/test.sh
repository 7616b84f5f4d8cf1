#!/usr/bin/env bash
# Installs what the build needs (when missing), builds the normal and the sanitizer
# configuration, and runs every test of both with ctest; then builds the fuzz targets with
# clang and runs each for a short fixed time from its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."

"$(dirname "$0")/install-deps.sh"

jobs=$(nproc)
build() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

build build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
build build/sanitize -DCMAKE_BUILD_TYPE=Debug -DUNINST_SANITIZE=ON -DUNINST_BENCHMARKS=OFF
# Only the fuzz targets (and the layers they link) are built with clang.
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DUNINST_FUZZ=ON \
  -DUNINST_BENCHMARKS=OFF >/dev/null
cmake --build build/fuzz -j "$jobs" --target uninst_fuzzers

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
echo "== ctest in build/release"
ctest --test-dir build/release --output-on-failure -j "$jobs" --timeout 300 || status=1
# The big-input tests bound memory and time against the normal build; under the sanitizers
# they would measure the sanitizers' own overhead for many minutes, so they run once.
echo "== ctest in build/sanitize (without the big-input tests)"
ctest --test-dir build/sanitize --output-on-failure -j "$jobs" --timeout 300 -LE bigdata || status=1
# One target at a time: each uses a whole core for its fixed time.
echo "== ctest -L fuzz in build/fuzz"
ctest --test-dir build/fuzz -L fuzz --output-on-failure --timeout 300 || status=1
exit $status
