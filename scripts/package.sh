#!/usr/bin/env bash
# Installs what is missing, builds the programs optimised (no tests, no benchmarks) and
# makes the Debian package build/package/tamsel_<version>_amd64.deb from them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/build.sh" package
cd "$root/build/package"
cpack -G DEB
ls "$root"/build/package/tamsel_*_amd64.deb
