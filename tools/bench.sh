#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them; then prints, for every case,
# how many times faster the indexed version is than the plain walk.
set -euo pipefail
cd "$(dirname "$0")/.."

./tools/install-deps.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTRADUMAR_BENCH=ON -DTRADUMAR_TESTS=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" --target tradumar_bench

out=build-bench/bench.txt
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} \
  build-bench/bench/tradumar_bench "$@" | tee "$out"

echo
echo "Indexed against the walk (real time per iteration):"
# Console rows look like: Count/realistic/indexed   801 us   800 us   828
awk '$1 ~ /\/(indexed|walk)(\/iterations:[0-9]+)?$/ && $3 ~ /^(ns|us|ms|s)$/ {
       name = $1; sub(/\/iterations:[0-9]+$/, "", name)
       scale = ($3 == "ns") ? 0.001 : ($3 == "ms") ? 1000 : ($3 == "s") ? 1000000 : 1
       n = split(name, part, "/"); kind = part[n]; base = substr(name, 1, length(name) - length(kind) - 1)
       t[base, kind] = $2 * scale; seen[base] = 1
     }
     END {
       for (b in seen) if ((b, "indexed") in t && (b, "walk") in t) {
         r = t[b, "walk"] / t[b, "indexed"]
         verdict = (r >= 1) ? sprintf("%8.0fx faster", r) : sprintf("%8.1fx slower", 1 / r)
         printf "  %-20s indexed %10.1f us   walk %12.1f us   %s\n", b, t[b, "indexed"], t[b, "walk"], verdict
       }
     }' "$out" | sort

echo
echo "Search against grep -rlF on the same files (real time per iteration):"
awk '$1 ~ /^Search\/[a-z]+\/(core|grep)(\/iterations:[0-9]+)?(\/real_time)?$/ && $3 ~ /^(ns|us|ms|s)$/ {
       name = $1; sub(/\/real_time$/, "", name); sub(/\/iterations:[0-9]+$/, "", name); split(name, part, "/")
       scale = ($3 == "ns") ? 0.000001 : ($3 == "us") ? 0.001 : ($3 == "s") ? 1000 : 1
       t[part[2], part[3]] = $2 * scale; seen[part[2]] = 1
     }
     END {
       for (c in seen) if ((c, "core") in t && (c, "grep") in t)
         printf "  Search/%-6s core %8.1f ms   grep %8.1f ms   core/grep %5.2fx\n", c, t[c, "core"], t[c, "grep"], t[c, "core"] / t[c, "grep"]
     }' "$out" | sort
