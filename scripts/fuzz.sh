#!/usr/bin/env bash
# Runs one fuzz target for longer than the tests do: scripts/fuzz.sh TARGET SECONDS
#   TARGET: ini, reg, path, cmdline, actions or packages (tests/fuzz/corpus/TARGET holds its seeds)
# Builds build/fuzz with clang when needed. The inputs it finds are kept in
# build/fuzz/long/TARGET/found and used again by the next run; crash reproducers go to
# build/fuzz/long/TARGET/. The committed corpus is only read. Extra arguments go to libFuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 2 ]; then
  echo "usage: scripts/fuzz.sh TARGET SECONDS [libFuzzer options...]" >&2
  exit 2
fi
target=$1 seconds=$2
shift 2
corpus=tests/fuzz/corpus/$target
if [ ! -d "$corpus" ]; then
  echo "no fuzz target '$target': targets are $(ls tests/fuzz/corpus | tr '\n' ' ')" >&2
  exit 2
fi

scripts/install-deps.sh
dir=build/fuzz
if [ ! -f "$dir/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DUNINST_FUZZ=ON \
    -DUNINST_BENCHMARKS=OFF >/dev/null
fi
cmake --build "$dir" --target "fuzz_$target"

work=$dir/long/$target
mkdir -p "$work/found"
exec "$dir/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=25 -print_final_stats=1 \
  -artifact_prefix="$work/" "$@" "$work/found" "$corpus"
