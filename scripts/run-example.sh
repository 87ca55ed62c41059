#!/usr/bin/env bash
# Installs what is missing, builds the optimised flavour and runs the main job on a
# shipped example project.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/build.sh" release
"$root/build/release/cli/tamsel-demo" "$root/examples/reaction-times.json"
