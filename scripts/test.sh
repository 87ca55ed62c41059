#!/usr/bin/env bash
# Installs what is missing, then builds and runs the whole test suite twice:
# an optimised build and an AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

for flavour in release sanitize; do
  "$root/scripts/build.sh" "$flavour"
  echo "== tests ($flavour) =="
  ctest --test-dir "$root/build/$flavour" --output-on-failure --parallel "$(nproc)"
done
