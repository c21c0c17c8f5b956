#!/usr/bin/env bash
# Builds Tradumar and runs every test: the core and window tests, then the
# core tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
# Installs whatever Debian packages are missing first.
set -euo pipefail
cd "$(dirname "$0")"

./tools/install-deps.sh

jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRADUMAR_BENCH=ON >/dev/null
cmake --build build -j"$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTRADUMAR_CORE_ONLY=ON -DTRADUMAR_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs" --target tradumar_core_tests
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"
