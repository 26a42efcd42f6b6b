#!/usr/bin/env bash
# Installs the Debian packages Kazoru needs to build, test and run. Idempotent and quiet:
# packages already present are skipped, and apt-get runs only when something is missing.
set -euo pipefail

PACKAGES=(
  cmake g++ ninja-build make pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  fonts-ipafont-gothic fontconfig
  clang clang-format libclang-rt-dev valgrind
  xvfb xauth x11-utils imagemagick openbox xdotool poppler-utils
  appstream desktop-file-utils dpkg-dev file
  emscripten chromium nodejs gzip zopfli esbuild fonttools python3-brotli librsvg2-bin
  espeak-ng
  firefox-esr webkit2gtk-driver libqrcodegencpp-dev shared-mime-info zbar-tools
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then SUDO="sudo"; else
    echo "install-deps: missing packages (${missing[*]}) and no root or sudo to install them" >&2
    exit 1
  fi
fi

echo "install-deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq >/dev/null
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
