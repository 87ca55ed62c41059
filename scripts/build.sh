#!/usr/bin/env bash
# Configures and builds one flavour of Tamsel into build/<flavour>.
#   scripts/build.sh release   optimised build (the default)
#   scripts/build.sh sanitize  AddressSanitizer + UndefinedBehaviorSanitizer, with assertions
#   scripts/build.sh thread    ThreadSanitizer, headless (the threaded code and its tests)
#   scripts/build.sh package   optimised, the programs only (what the Debian package holds)
# Further arguments are passed to cmake's configure step. TAMSEL_TARGETS, when set, names
# the targets to build instead of all.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
flavour=${1:-release}
shift || true

"$root/scripts/install-deps.sh"

case "$flavour" in
  release)  options=(-DCMAKE_BUILD_TYPE=Release) ;;
  sanitize) options=(-DCMAKE_BUILD_TYPE=Debug -DENABLE_ASAN=ON -DENABLE_UBSAN=ON -DBUILD_BENCHMARKS=OFF) ;;
  thread)   options=(-DCMAKE_BUILD_TYPE=Debug -DENABLE_TSAN=ON -DBUILD_BENCHMARKS=OFF -DBUILD_DESKTOP=OFF) ;;
  package)  options=(-DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DBUILD_BENCHMARKS=OFF) ;;
  *) echo "unknown flavour '$flavour' (release, sanitize, thread or package)" >&2; exit 2 ;;
esac
if [ "${CI:-}" = "true" ]; then
  options+=(-DWARNINGS_AS_ERRORS=ON)
fi

# Paths below the checkout are hashed relative to it, so that a second clone of the
# repository reuses the compiler cache of the first.
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1

build="$root/build/$flavour"
cmake -S "$root" -B "$build" -G Ninja "${options[@]}" "$@" >/dev/null
targets=()
if [ -n "${TAMSEL_TARGETS:-}" ]; then
  read -r -a names <<<"$TAMSEL_TARGETS"
  targets=(--target "${names[@]}")
fi
cmake --build "$build" --parallel "$(nproc)" "${targets[@]}"
