#!/usr/bin/env bash
# Builds the command-line program and consolidates the bundled sample series with it:
# twelve GBK files with three header lines, consolidated on the key below. The result is
# written to build/linux/out/ and shown (converted to UTF-8 for the terminal).
#   scripts/run.sh                 the sample series and key below
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

bash scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target kesmaro-cli -j2
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
