#!/usr/bin/env bash
# Fails, naming the files, when a C++ source of the repository differs from what
# clang-format makes of it with the repository's .clang-format.
#   scripts/check-format.sh          check
#   scripts/check-format.sh --fix    reformat in place
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${sources[@]}"
  exit 0
fi
unformatted=()
for source in "${sources[@]}"; do
  if ! clang-format --dry-run --Werror "$source" >/dev/null 2>&1; then
    unformatted+=("$source")
  fi
done
if [ "${#unformatted[@]}" -ne 0 ]; then
  echo "Not formatted as .clang-format says (scripts/check-format.sh --fix mends it):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "== formatting: ${#sources[@]} sources as .clang-format says"
