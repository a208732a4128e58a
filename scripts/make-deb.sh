#!/usr/bin/env bash
# Builds the Debian package from the source tree with Debian's own tools
# (dpkg-buildpackage and debhelper) in build-deb/, then checks it with lintian.
# The package and its lintian report end up in build-deb/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --packaging

version=$(dpkg-parsechangelog -S Version)
out=build-deb
tree="$out/dovetail-$version"
rm -rf "$out"
mkdir -p "$tree"
# The files of the tree as git knows them (tracked, or new and not ignored):
# never a build folder or a player's files.
git ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
  xargs -0 cp --parents -t "$tree"

(cd "$tree" && dpkg-buildpackage -us -uc -b -j"${JOBS:-$(nproc)}")
changes=$(ls "$out"/dovetail_"$version"_*.changes)
lintian --fail-on error --info "$changes" | tee "$out/lintian.txt"
echo "Built: $(ls "$out"/*.deb | grep -v dbgsym)"
