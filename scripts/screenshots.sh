#!/usr/bin/env bash
# Draws the README's pictures of the windows, docs/kesmaro-qt.png and docs/kesmaro-win32.png:
# the six-step window opened on the sample series, with 3 header lines and the value 550.0 typed;
# and docs/kesmaro-table-qt.png and docs/kesmaro-table-win32.png: the table window after a run
# on it, its chart drawn.
# The Qt window draws itself offscreen; the Win32 window is shown under Wine on an Xvfb display
# (started here), grabbed with its frame as a BMP and converted to PNG by the icon script's
# encoder. Needs what scripts/install-deps.sh installs.
#   scripts/screenshots.sh
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
scratch=$(mktemp -d /tmp/kesmaro-XXXXXX)
trap 'rm -rf "$scratch"' EXIT

# The Qt window, beside a copy of the series in a folder as a user would name it.
mkdir -p "$scratch/数据"
cp samples/series/*.txt "$scratch/数据/"
cmake --preset linux >/dev/null
cmake --build --preset linux --target kesmaro_qt_screenshot -j2
qt_shot=(env LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen build/linux/ui/screenshot/kesmaro-qt-screenshot)
"${qt_shot[@]}" "$scratch/数据" docs/kesmaro-qt.png
"${qt_shot[@]}" --table "$scratch/数据" docs/kesmaro-table-qt.png

# The Win32 window, on the sample series copied to C:\数据 in the build's Wine prefix.
cmake --preset mingw-x64 >/dev/null
cmake --build --preset mingw-x64 --target kesmaro_win32_screenshot -j2
prefix=$root/build/mingw-x64/wineprefix
wine_run=(bash cmake/wine-run.sh --prefix "$prefix")
"${wine_run[@]}" wineboot # makes the prefix on first use
mkdir -p "$prefix/drive_c/数据"
cp samples/series/*.txt "$prefix/drive_c/数据/"
for shot in "" --table; do
  name=kesmaro${shot:+-table}-win32
  xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
    "${wine_run[@]}" build/mingw-x64/ui/screenshot/kesmaro-win32-screenshot.exe ${shot:+"$shot"} 'C:\数据' "$scratch/$name.bmp"
  python3 - "$scratch/$name.bmp" "docs/$name.png" <<'PY'
import importlib.util, struct, sys
module_spec = importlib.util.spec_from_file_location("make_icon", "ui/icon/make-icon.py")
icon = importlib.util.module_from_spec(module_spec)
module_spec.loader.exec_module(icon)
bmp = open(sys.argv[1], "rb").read()
offset, = struct.unpack_from("<I", bmp, 10)
width, height = struct.unpack_from("<ii", bmp, 18)
rows = []
for y in range(height - 1, -1, -1):  # bottom-up BGRX rows
    start = offset + y * width * 4
    rows.append([(bmp[i + 2], bmp[i + 1], bmp[i], 255) for i in range(start, start + width * 4, 4)])
open(sys.argv[2], "wb").write(icon.encode_png(rows))
PY
done
echo "screenshots.sh: wrote docs/kesmaro-qt.png, docs/kesmaro-win32.png, docs/kesmaro-table-qt.png and docs/kesmaro-table-win32.png"
