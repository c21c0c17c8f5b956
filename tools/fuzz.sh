#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS seconds
# (default 60), starting from the saved inputs in fuzz/corpus/<target>/.
# Naming targets after SECONDS runs only those: tools/fuzz.sh 600 insertion_journal
# New inputs that raise coverage go to build-fuzz/corpus/<target>/; a crash
# is written to fuzz/findings/ — copy it into fuzz/corpus/<target>/ once fixed
# so the regular tests replay it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=${*:-ini_profile thingy_table script_codec numbers insertion_journal word_list bps_patch ips_patch text_file width_table glossary pointer_file pointer_codec extraction_input}

./tools/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTRADUMAR_CORE_ONLY=ON -DTRADUMAR_FUZZ=ON -DTRADUMAR_TESTS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)"

mkdir -p fuzz/findings
status=0
for target in $targets; do
  echo "== fuzz_$target for ${seconds}s"
  mkdir -p "build-fuzz/corpus/$target"
  if ! "build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=4096 \
      -artifact_prefix="fuzz/findings/${target}-" "build-fuzz/corpus/$target" "fuzz/corpus/$target" \
      2>"build-fuzz/fuzz_$target.log"; then
    echo "   FAILED: see build-fuzz/fuzz_$target.log and fuzz/findings/"
    status=1
  else
    grep -E "^Done [0-9]+ runs" "build-fuzz/fuzz_$target.log" || tail -n 1 "build-fuzz/fuzz_$target.log"
  fi
done
exit $status
