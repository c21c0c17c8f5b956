#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them; then prints, for every case,
# how many times faster the indexed version is than the plain walk.
set -euo pipefail
cd "$(dirname "$0")/.."

./tools/install-deps.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTRADUMAR_BENCH=ON -DTRADUMAR_TESTS=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" --target tradumar_bench

csv=build-bench/bench.csv
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} \
  build-bench/bench/tradumar_bench --benchmark_out="$csv" --benchmark_out_format=csv "$@"

echo
echo "Indexed against the walk (real time per iteration):"
# Rows look like: "Count/realistic/indexed",iterations,real_time,cpu_time,time_unit,...
awk -F, 'NR > 1 && $1 ~ /\/(indexed|walk)"?$/ {
           name = $1; gsub(/"/, "", name)
           unit = $5; gsub(/"/, "", unit)
           scale = (unit == "ns") ? 0.001 : (unit == "ms") ? 1000 : (unit == "s") ? 1000000 : 1
           n = split(name, part, "/"); kind = part[n]; base = substr(name, 1, length(name) - length(kind) - 1)
           t[base, kind] = $3 * scale; seen[base] = 1
         }
         END {
           for (b in seen) if ((b, "indexed") in t && (b, "walk") in t)
             printf "  %-20s indexed %10.1f us   walk %12.1f us   %8.0fx faster\n", b, t[b, "indexed"], t[b, "walk"], t[b, "walk"] / t[b, "indexed"]
         }' "$csv" | sort
