#!/usr/bin/env bash
# Builds Kesmaro and opens its window on the bundled sample series, as a user would: the
# program is copied into a folder beside the twelve sample files (GBK, three header lines) and
# started there, so it opens with the series already listed. Type 3 into step 3 and 550.0 into
# step 4, then press 执行; the output file appears in that folder.
# Without a display, the same series is consolidated with kesmaro-cli instead and the output
# shown (converted to UTF-8 for the terminal).
#   scripts/run.sh                 the sample series (and key 550.0 for kesmaro-cli)
#   scripts/run.sh FOLDER KEY      another series (same skip count and encoding)
set -euo pipefail

# --- what to run on -------------------------------------------------------------------------
SERIES=samples/series # numbered data files 1.txt … 12.txt
KEY=550.0             # every sample file has a row "550.0 <intensity>"
SKIP=3                # header lines at the top of each file
ENCODING=gbk          # encoding of the headers (and of the output's text)
# --------------------------------------------------------------------------------------------

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
if (($# == 2)); then
  SERIES=$1
  KEY=$2
elif (($# != 0)); then
  echo "usage: scripts/run.sh [FOLDER KEY]" >&2
  exit 2
fi
series=$(realpath "$SERIES")

bash scripts/install-deps.sh --run # only what the Linux window and kesmaro-cli need
cmake --preset linux >/dev/null
cmake --build --preset linux --target kesmaro_qt kesmaro_qt_table kesmaro-cli -j "$(nproc)"

if [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]; then
  # The program lists its own folder at start-up and writes its output to the working folder.
  here=$root/build/linux/sample-series
  rm -rf "$here"
  mkdir -p "$here"
  cp "$root/build/linux/ui/qt/kesmaro" "$here/"
  cp "$series"/*.txt "$series"/*.asc "$here/" 2>/dev/null || true
  cd "$here"
  echo
  echo "Starting the window in build/linux/sample-series beside $(find . -maxdepth 1 -name '*.txt' | wc -l) data files."
  echo "Step 3: type $SKIP. Step 4: type $KEY. Step 6: press 执行. The output appears in this folder."
  echo "The table window opens on the same series with: build/linux/ui/qt/kesmaro-table --encoding $ENCODING build/linux/sample-series"
  exec ./kesmaro --encoding "$ENCODING"
fi

echo
echo "run.sh: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); consolidating with kesmaro-cli instead."
cli=$root/build/linux/cli/kesmaro-cli

# The program writes NAME.txt into the current folder; give it a clean one.
out=$root/build/linux/out
mkdir -p "$out"
find "$out" -maxdepth 1 -name '*.txt' -delete
cd "$out"

echo
echo "\$ kesmaro-cli run --skip $SKIP --encoding $ENCODING $SERIES $KEY   (in build/linux/out)"
"$cli" run --skip "$SKIP" --encoding "$ENCODING" "$series" "$KEY"

shopt -s nullglob
written=("$out"/*.txt)
if ((${#written[@]} == 0)); then
  echo "run.sh: the program wrote no file into $out" >&2
  exit 1
fi
for file in "${written[@]}"; do
  echo
  echo "Output: $file ($(wc -l <"$file") lines)"
  echo "------------------------------------------------------------"
  # Shown as UTF-8; the file itself stays in the series' encoding.
  if text=$(iconv -f "$ENCODING" -t UTF-8 "$file" 2>/dev/null); then
    printf '%s\n' "$text" | tr -d '\r'
  else
    tr -d '\r' <"$file"
  fi
  echo "------------------------------------------------------------"
done
