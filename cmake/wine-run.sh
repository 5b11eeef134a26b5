#!/usr/bin/env bash
# Runs a Windows program under Wine the way the tests expect to find Windows:
#   wine-run.sh [--prefix DIR] [--32] PROGRAM.exe [ARGS...]
# - the Wine prefix DIR (default: $WINEPREFIX, else ~/.wine-kesmaro) is created on first use,
#   quietly, and under a lock, so parallel test processes do not race to create it;
# - --32: a 32-bit program. It runs under wine64 too, in Wine's WoW64 mode, with Wine's 32-bit
#   Windows-side DLLs from the folder scripts/install-deps.sh unpacks them into
#   ($KESMARO_WINE32_DIR, default /var/cache/kesmaro/wine-i386); no 32-bit Linux Wine is needed;
# - LC_ALL=zh_CN.UTF-8 makes Wine report ANSI code page 936 (GBK), as a Chinese Windows does;
#   command-line arguments still arrive intact, since Wine decodes them from UTF-8
#   (KESMARO_WINE_LOCALE=en_US.UTF-8, say, gives another code page, if that locale exists);
# - stdout, stderr and the exit code are the program's own.
# CMake uses it as CMAKE_CROSSCOMPILING_EMULATOR, so CTest and gtest_discover_tests go through it.
set -euo pipefail

# Wine needs a home folder (it links the prefix's user folders to it).
export HOME=${HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)}
prefix=${WINEPREFIX:-$HOME/.wine-kesmaro}
bits=64
while (($#)); do
  case $1 in
    --prefix) prefix=$2; shift 2 ;;
    --32) bits=32; shift ;;
    --) shift; break ;;
    *) break ;;
  esac
done
if (($# == 0)); then
  echo "usage: wine-run.sh [--prefix DIR] [--32] PROGRAM.exe [ARGS...]" >&2
  exit 2
fi

# Debian's wine64 package installs the loader outside PATH; the `wine` package adds a wrapper.
wine_dir=${KESMARO_WINE_DIR:-/usr/lib/wine}
wine=$wine_dir/wine64
# Wherever they are installed, so that a prefix first made by a 64-bit program gets its 32-bit
# half (C:\windows\syswow64) too.
dlls=${KESMARO_WINE32_DIR:-/var/cache/kesmaro/wine-i386}/usr/lib/i386-linux-gnu/wine
if [[ -f $dlls/i386-windows/kernel32.dll ]]; then
  export WINEDLLPATH=$dlls${WINEDLLPATH:+:$WINEDLLPATH}
elif ((bits == 32)); then
  echo "wine-run.sh: Wine's 32-bit DLLs are not in $dlls; run scripts/install-deps.sh" >&2
  exit 127
fi
if [[ ! -x $wine ]]; then
  echo "wine-run.sh: $wine not found; run scripts/install-deps.sh" >&2
  exit 127
fi

prefix=$(realpath -m "$prefix") # Wine insists on an absolute path
export WINEPREFIX=$prefix
export WINEDEBUG=-all
# No Mono or Gecko install prompts, no desktop menu entries.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=${KESMARO_WINE_LOCALE:-zh_CN.UTF-8}
export WINESERVER=$wine_dir/wineserver
# Keep the server up between the many short test processes: starting it costs far more than
# running a test. It exits by itself this many seconds after its last client.
persist=${KESMARO_WINESERVER_PERSIST:-30}

# One process at a time sets the prefix up and starts the server; the others wait here.
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
# The registry files appear only when the server writes them out, so a marker of our own tells
# that the prefix is complete.
if [[ ! -f $prefix/.kesmaro-ready-2 ]]; then
  if ! "$wine" wineboot --init </dev/null >"$prefix.init.log" 2>&1 9>&-; then
    echo "wine-run.sh: creating the Wine prefix $prefix failed:" >&2
    cat "$prefix.init.log" >&2
    exit 1
  fi
  # Windows draw their own frames and captions, as on Windows, since the tests' X server has no
  # window manager; the caption buttons need Wine's Marlett in the prefix.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >>"$prefix.init.log" 2>&1 9>&-
  for font in /usr/share/wine/fonts/*.ttf; do
    if [[ -e $font ]]; then cp "$font" "$prefix/drive_c/windows/Fonts/"; fi
  done
  "$WINESERVER" -w 9>&- # until that server has written the registry and exited
  touch "$prefix/.kesmaro-ready-2"
fi
if ((bits == 32)) && [[ ! -f $prefix/drive_c/windows/syswow64/kernel32.dll ]]; then
  echo "wine-run.sh: the Wine prefix $prefix was made without Wine's 32-bit DLLs; remove it to have it made again" >&2
  exit 1
fi
# Start a lingering server unless one is up (exit status 2). The first process of a fresh
# server also starts Wine's services, which would keep that process's stdout and stderr open
# for as long as they live and so stall whoever reads them (CTest, discovery): boot them here
# with nothing attached.
if "$WINESERVER" -p"$persist" </dev/null >/dev/null 2>&1 9>&-; then
  "$wine" wineboot </dev/null >/dev/null 2>&1 9>&- || true
fi
exec 9>&-

exec "$wine" "$@"
