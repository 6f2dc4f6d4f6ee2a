#!/bin/sh
# Builds and runs the benchmarks; each prints its ratio against the bare reads.
set -eu
cd "$(dirname "$0")/.."
scripts/build.sh
for b in build/bench/bench_*; do
  [ -x "$b" ] && "$b" --benchmark_min_time=0.2
done
