#!/usr/bin/env bash
# Builds the Debian package and checks it as a user of a clean system would meet it:
#   scripts/check-package.sh                  build, install and check here
#   scripts/check-package.sh --fresh-system   the same, but first removes every package the
#                                             build installed, so that the package's own
#                                             dependencies must bring what it needs
# The second form is for a throw-away system only, e.g.
#   ../shared/tools/fresh-machine-check --run 'scripts/check-package.sh --fresh-system'
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
fresh=false
case "${1:-}" in
  --fresh-system) fresh=true ;;
  "") ;;
  *) echo "usage: $0 [--fresh-system]" >&2; exit 2 ;;
esac
export DEBIAN_FRONTEND=noninteractive
installed() { dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | awk '$1 == "ii" { print $2 }' | sort; }
fail() { echo "check-package: $*" >&2; exit 1; }

before=$(mktemp)
installed >"$before"
"$root/scripts/package.sh"
deb=$(ls "$root"/build/package/tamsel_*_amd64.deb)
if $fresh; then
  echo "== removing the packages the build installed"
  installed | comm -13 "$before" - | xargs -r apt-get purge -y -qq --auto-remove >/dev/null
fi
rm -f "$before"

echo "== installing $deb"
apt-get install -y -qq "$deb" >/dev/null
apt-get install -y -qq --no-install-recommends man-db >/dev/null

echo "== dpkg -s tamsel: runtime libraries only"
depends=$(dpkg-query -W -f='${Depends}' tamsel)
echo "$depends"
if grep -q -- '-dev\b' <<<"$depends"; then fail "the package depends on a -dev package"; fi

echo "== dpkg -L tamsel"
listing=$(dpkg -L tamsel)
for file in /usr/bin/tamsel /usr/bin/tamsel-cli "/usr/share/doc/tamsel/Tamsel User Manual.pdf" \
            /usr/share/tamsel/examples/reaction-times.vlt /usr/share/applications/tamsel.desktop \
            /usr/share/icons/hicolor/scalable/apps/tamsel.svg \
            /usr/share/icons/hicolor/256x256/apps/tamsel.png \
            /usr/share/mime/packages/tamsel-project.xml /usr/share/man/man1/tamsel-cli.1; do
  grep -qxF "$file" <<<"$listing" || fail "$file is not in the package"
  echo "   $file"
done

echo "== every library of both programs is found"
for program in /usr/bin/tamsel /usr/bin/tamsel-cli; do
  if ldd "$program" | grep 'not found'; then fail "$program misses a library"; fi
done

echo "== tamsel-cli compute /usr/share/tamsel/examples/reaction-times.vlt"
output=$(cd / && tamsel-cli compute /usr/share/tamsel/examples/reaction-times.vlt)
echo "$output"
grep -q 'MANOVA (Pillai)' <<<"$output" || fail "no results table"

echo "== man tamsel-cli"
page=$(MANPAGER=cat MANWIDTH=80 man tamsel-cli)
head -n 12 <<<"$page"
grep -q 'tamsel-cli compute' <<<"$page" || fail "the man page does not show"
echo "== the package checks out"
