#!/usr/bin/env bash
# Installs what is missing, builds the optimised flavour and runs the main job on a
# shipped example project: every effect's ANOVA and MANOVA analyses, as the results table
# of the desktop program shows them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/build.sh" release
"$root/build/release/cli/tamsel-cli" compute "$root/examples/reaction-times.vlt"
