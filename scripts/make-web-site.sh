#!/usr/bin/env bash
# Puts the browser site together in BUILD/site: the page (web/), the compiled model (kazoru.js, .wasm),
# the font subset with its licence, the help pages and the icons; the service worker gets the list of
# files and a version made from their contents.
set -euo pipefail
BUILD=${1:-build-web}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SITE=$BUILD/site

rm -rf "$SITE.new"
mkdir -p "$SITE.new/fonts" "$SITE.new/icons" "$SITE.new/help"
cp "$ROOT"/web/*.html "$ROOT"/web/*.css "$ROOT"/web/*.js "$ROOT"/web/manifest.webmanifest "$SITE.new/"
cp "$BUILD/src/web/kazoru.js" "$BUILD/src/web/kazoru.wasm" "$SITE.new/"
# The program packed: a server that does not compress still sends few bytes, and the page unpacks them as
# they arrive (DecompressionStream); a browser without that fetches kazoru.wasm itself. Zopfli writes the
# gzip format some 5 % smaller than gzip -9.
zopfli --i15 -c "$SITE.new/kazoru.wasm" > "$SITE.new/kazoru.wasm.gz"
# The page's script as one file: the loader emscripten wrote, then app.js with every module it imports,
# both minified (kazoru-page.js), and packed as the program is (kazoru-page.js.gz). The modules stay in the
# site as they are for the other pages.
esbuild --log-level=warning --minify "$SITE.new/kazoru.js" > "$SITE.new/kazoru-page.js"
printf ";\n" >> "$SITE.new/kazoru-page.js"
esbuild --log-level=error --bundle --minify --format=iife --target=es2020 "$ROOT/web/app.js" >> "$SITE.new/kazoru-page.js"
zopfli --i15 -c "$SITE.new/kazoru-page.js" > "$SITE.new/kazoru-page.js.gz"
# The views the first screen does not show (web/views.js: the assignment, the class summary, the
# practice-sheet maker) in a script of their own, packed the same way, asked for when one first opens.
esbuild --log-level=error --bundle --minify --format=iife --global-name=kazoruViews --target=es2020 "$ROOT/web/views.js" \
  > "$SITE.new/kazoru-views.js"
zopfli --i15 -c "$SITE.new/kazoru-views.js" > "$SITE.new/kazoru-views.js.gz"
# The keypad is written into the page, so that it shows before the program has arrived, and so is the
# style sheet, minified: the first picture needs no file but the page.
node --input-type=module - "$ROOT/web/panel.js" "$SITE.new/index.html" "$SITE.new/style.css" <<'EOF_NODE'
import { readFileSync, writeFileSync } from 'node:fs';
import { execFileSync } from 'node:child_process';
import { pathToFileURL } from 'node:url';
const [panel, page, style] = process.argv.slice(2);
const { panelHtml } = await import(pathToFileURL(panel));
const css = execFileSync('esbuild', ['--log-level=warning', '--minify', '--loader=css'], { input: readFileSync(style) }).toString().trim();
const sheet = '<link rel="stylesheet" href="style.css">';
let html = readFileSync(page, 'utf8');
if (!html.includes(sheet)) throw new Error(`${page} has no ${sheet}`);
html = html.replace(sheet, () => `<style>${css}</style>`).replace('<!--KEYPAD-->', () => panelHtml());
writeFileSync(page, html);
EOF_NODE
# The libraries the page ships (web/package.json, pinned by its lock file) come from the registry through
# npm ci, again only when the lock file changed, and are copied into the site (the QR encoder's file keeps
# its licence notice at its head): the site needs no other server.
NPM_DIR=$BUILD/site-npm
if [ ! -f "$NPM_DIR/node_modules/.package-lock.json" ] || [ "$ROOT/web/package-lock.json" -nt "$NPM_DIR/node_modules/.package-lock.json" ]; then
  mkdir -p "$NPM_DIR"
  cp "$ROOT/web/package.json" "$ROOT/web/package-lock.json" "$NPM_DIR/"
  (cd "$NPM_DIR" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
fi
mkdir -p "$SITE.new/lib"
cp "$NPM_DIR/node_modules/qrcode-generator/dist/qrcode.mjs" "$SITE.new/lib/qrcode.mjs"
cp "$ROOT"/src/ui/help/html/* "$SITE.new/help/"
# The help names the browser edition's own keys where a browser keeps the desktop's (src/screen's
# ScreenBrowserKeys, src/notebook's NoteBrowserKeys; tests/web/keys.test.mjs checks every key named).
sed -i -e 's|<kbd>Ctrl</kbd>+<kbd>\([TWNQ]\)</kbd>|<kbd>Alt</kbd>+<kbd>\1</kbd>|g' \
  -e 's|<kbd>Ctrl</kbd>+<kbd>\(PageUp\|PageDown\)</kbd>|<kbd>Alt</kbd>+<kbd>\1</kbd>|g' "$SITE.new"/help/*.html
cp "$ROOT/data/icons/kazoru.svg" "$SITE.new/icons/"
for size in 192 512; do
  rsvg-convert -w $size -h $size "$ROOT/data/icons/kazoru.svg" -o "$SITE.new/icons/kazoru-$size.png"
done
# The font is remade only when the program's texts changed.
FONT_STAMP=$BUILD/font-stamp
sources=$(cd "$ROOT" && find src web -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.html' -o -name '*.js' \) \
  -newer "$FONT_STAMP" 2>/dev/null | head -1 || true)
if [ ! -f "$BUILD/fonts/KazoruGothic.woff2" ] || [ ! -f "$FONT_STAMP" ] || [ -n "$sources" ]; then
  "$ROOT/scripts/make-web-font.py" "$BUILD/fonts" "$ROOT/src" "$ROOT/web"
  touch "$FONT_STAMP"
fi
cp "$BUILD"/fonts/* "$SITE.new/fonts/"

# The service worker's list: every file of the site but itself.
files=$(cd "$SITE.new" && find . -type f ! -name sw.js | sed 's|^\./||' | sort)
version=$(cd "$SITE.new" && cat $files | sha256sum | cut -c1-16)
list="[\"./\""
for f in $files; do list="$list, \"$f\""; done
list="$list]"
sed -e "s|@SITE_VERSION@|$version|" -e "s|@SITE_FILES@|$list|" "$ROOT/web/sw.js" > "$SITE.new/sw.js"

rm -rf "$SITE"
mv "$SITE.new" "$SITE"
echo "web: site in $SITE ($(du -sk "$SITE" | cut -f1) KB)"
