#!/usr/bin/env bash
# Draws the README's trend chart, docs/kesmaro-chart.svg, and a browser's rendering of it,
# docs/kesmaro-chart.png: `kesmaro-cli table --plot` on the sample series copied to a folder
# named as a user would name it (数据), following the first band across the twelve files (the
# value at 520.25 nm, interpolated between 520.0 and 520.5; the band's height and where it sits,
# max:480:560) and the second band's area (area:580:660). Chromium, headless, draws the PNG, so
# that it shows what a reader of the README sees, Chinese title included. Installs Chromium and a
# Chinese font when they are missing.
#   scripts/chart.sh
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
scratch=$(mktemp -d /tmp/kesmaro-XXXXXX)
trap 'rm -rf "$scratch"' EXIT

bash scripts/install-deps.sh --run # the build, and fonts-wqy-microhei for the Chinese title
if ! command -v chromium >/dev/null 2>&1; then
  as_root=()
  [[ $(id -u) -eq 0 ]] || as_root=(sudo)
  "${as_root[@]}" apt-get install -y --no-install-recommends chromium
fi

cmake --preset linux >/dev/null
cmake --build --preset linux --target kesmaro-cli -j2
mkdir -p "$scratch/数据" "$scratch/out"
cp samples/series/*.txt "$scratch/数据/"
(cd "$scratch/out" &&
  "$root/build/linux/cli/kesmaro-cli" table --skip 3 --encoding gbk --interpolate --plot \
    --output kesmaro-chart "$scratch/数据" 520.25 max:480:560 area:580:660)
cp "$scratch/out/kesmaro-chart.svg" docs/kesmaro-chart.svg

# The browser's window is the picture's size, so that the screenshot holds it whole.
size=$(sed -n 's/^<svg [^>]* width="\([0-9.]*\)" height="\([0-9.]*\)".*/\1,\2/p' docs/kesmaro-chart.svg)
chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking \
  --disable-component-update --disable-sync --hide-scrollbars --user-data-dir="$scratch/browser" \
  --window-size="$size" --screenshot="$root/docs/kesmaro-chart.png" "file://$root/docs/kesmaro-chart.svg" \
  2>"$scratch/browser.log" || {
  cat "$scratch/browser.log" >&2
  exit 1
}
echo "chart.sh: wrote docs/kesmaro-chart.svg and docs/kesmaro-chart.png"
