#!/usr/bin/env bash
# Builds the game for web browsers into build-web/site (`make web`):
#   1. the native build (its generated sources, the bundled game, the
#      glyph table's drawing tool, and the runner the page's test compares with),
#   2. the synthesizer and the test driver from npm (web/package-lock.json),
#   3. the program with Debian's emscripten (build-web/cmake),
#   4. the page: index.html, its style, its modules (web/page/ with the
#      generated seam.js, from the native build's page/), the program, the
#      synthesizer, the General MIDI soundfont (TimGM6mb), the glyph table
#      (gzip) and the bundled game with its list of files.
set -euo pipefail
cd "$(dirname "$0")/.."
NATIVE="${NATIVE_BUILD:-build}"
OUT=build-web
SITE="$OUT/site"
JOBS="${JOBS:-$(nproc)}"

bash scripts/install-deps.sh --web

cmake -S . -B "$NATIVE" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$NATIVE" -j "$JOBS" --target dovetail-make-glyphs packaged_game dovetail_sound dovetail_base \
  dovetail-run page_modules

(cd web && npm ci --no-audit --no-fund --loglevel=error)

# Debian's emscripten finds its JavaScript helpers through NODE_PATH.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B "$OUT/cmake" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DDOVETAIL_NATIVE_BUILD="$PWD/$NATIVE" >/dev/null
cmake --build "$OUT/cmake" -j "$JOBS"

mkdir -p "$SITE"
cp web/index.html web/page.css "$OUT/cmake/web/dovetail.js" "$SITE/"
rm -rf "$SITE/page"
mkdir -p "$SITE/page"
cp "$NATIVE"/page/*.js "$SITE/page/"
# The page unpacks what it fetches (DecompressionStream), so that any plain
# file server sends the program and the game's uncompressed pictures small.
gzip -9 -n -c "$OUT/cmake/web/dovetail.wasm" >"$SITE/dovetail.wasm.gz"
cp web/node_modules/js-synthesizer/dist/js-synthesizer.min.js "$SITE/"
cp web/node_modules/js-synthesizer/externals/libfluidsynth-2.4.6.js "$SITE/libfluidsynth.js"
cp /usr/share/sounds/sf2/TimGM6mb.sf2 "$SITE/soundfont.sf2"

game="$NATIVE/packaged-game"
glyphs="$SITE/glyphs.bin.gz"
if [ ! -f "$glyphs" ] || [ "$NATIVE/tools/dovetail-make-glyphs" -nt "$glyphs" ] ||
   [ "$NATIVE/packaged-game.stamp" -nt "$glyphs" ]; then
  "$NATIVE/tools/dovetail-make-glyphs" "$game" "$OUT/glyphs.bin"
  gzip -9 -n -c "$OUT/glyphs.bin" >"$glyphs.part"
  mv "$glyphs.part" "$glyphs"
fi

rm -rf "$SITE/game"
mkdir -p "$SITE/game"
(cd "$game" && find . -type f -printf '%P\n') | while IFS= read -r name; do
  mkdir -p "$(dirname "$SITE/game/data/$name")"
  gzip -9 -n -c "$game/$name" >"$SITE/game/data/$name.gz"
done
(cd "$SITE/game" && find data -type f -name '*.gz' | sed 's/\.gz$//' | LC_ALL=C sort |
  node -e 'const lines = require("fs").readFileSync(0, "utf8").split("\n").filter(Boolean);
           console.log(JSON.stringify(lines));' >files.json)

echo "make web: $SITE ($(du -sh "$SITE" | cut -f1)); serve it with: python3 -m http.server -d $SITE"
