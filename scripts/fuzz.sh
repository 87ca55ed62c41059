#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer, assertions on) into build/fuzz and runs each of them.
#   scripts/fuzz.sh [seconds]   seconds per target, 60 by default
# New inputs collect in build/fuzz/corpus/<target>; the seeds come from tests/fuzz/corpus.
# A finding stops the script with the fuzzer's report and leaves the input that caused it
# in build/fuzz/findings.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build="$root/build/fuzz"
targets=(project_reader text_import)

"$root/scripts/install-deps.sh"

# RelWithDebInfo without -DNDEBUG, so that the assertions of the code under test hold too.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DTAMSEL_FUZZ=ON -DENABLE_ASAN=ON -DENABLE_UBSAN=ON \
  -DBUILD_TESTING=OFF -DBUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]/#/fuzz_}"

mkdir -p "$build/findings"
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  echo "== fuzz_$target for $seconds s =="
  "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$build/findings/$target-" "$corpus" "$root/tests/fuzz/corpus/$target"
done
