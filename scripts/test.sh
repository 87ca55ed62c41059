#!/usr/bin/env bash
# Installs what is missing, checks that every C++ source is formatted as .clang-format says,
# then builds and runs the whole test suite twice: an optimised build and an
# AddressSanitizer + UndefinedBehaviorSanitizer build; runs the engine and simulation tests
# under ThreadSanitizer; then runs each fuzz target (project reader, text import) for 60
# seconds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# A test that hangs (a modal window nobody closes, say) fails after this many seconds
# instead of holding the run; the slowest test (a million-row import) takes under 20 s
# under the sanitizers.
timeout=300

"$root/scripts/install-deps.sh"
"$root/scripts/check-format.sh"

for flavour in release sanitize; do
  "$root/scripts/build.sh" "$flavour"
  echo "== tests ($flavour) =="
  ctest --test-dir "$root/build/$flavour" --output-on-failure --parallel "$(nproc)" --timeout "$timeout"
done
TAMSEL_TARGETS="stats_tests simulation_tests" "$root/scripts/build.sh" thread
echo "== tests (thread) =="
ctest --test-dir "$root/build/thread" --output-on-failure --parallel "$(nproc)" --timeout "$timeout" \
  --tests-regex '^(stats|simulation)\.'
"$root/scripts/fuzz.sh" 60
