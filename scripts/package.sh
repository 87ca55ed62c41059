#!/usr/bin/env bash
# Installs what is missing, builds the optimised flavour and makes the Debian package
# build/release/tamsel_<version>_amd64.deb from it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/build.sh" release
cd "$root/build/release"
cpack -G DEB
ls "$root"/build/release/tamsel_*_amd64.deb
