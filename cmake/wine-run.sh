#!/usr/bin/env bash
# Runs a Windows program under Wine the way the tests expect to find Windows:
#   wine-run.sh [--prefix DIR] [--32 | --wow64] PROGRAM.exe [ARGS...]
# - the Wine prefix DIR (default: $WINEPREFIX, else ~/.wine-kesmaro, or ~/.wine-kesmaro-win32
#   with --32) is created on first use, quietly, and under a lock, so parallel test processes do
#   not race to create it;
# - --32: a 32-bit program on a 32-bit Wine (Debian's wine32), in a win32 prefix, as on 32-bit
#   Windows. This kernel cannot start 32-bit Linux programs, so that Wine's loader runs under
#   QEMU's user-mode emulator (qemu-i386): the program's x86 code is emulated, the Wine server
#   and X run natively;
# - --wow64: a 32-bit program under wine64 in Wine's WoW64 mode, at native speed, in a 64-bit
#   prefix. Wine 8 loads no display driver in such a process, so this is for console programs
#   (the benchmark's timing), not for windows;
# - LC_ALL=zh_CN.UTF-8 makes Wine report ANSI code page 936 (GBK), as a Chinese Windows does;
#   command-line arguments still arrive intact, since Wine decodes them from UTF-8
#   (KESMARO_WINE_LOCALE=en_US.UTF-8, say, gives another code page, if that locale exists);
# - stdout, stderr and the exit code are the program's own. Now and then a Wine process dies as
#   it starts, before the program's first line runs: a failure without a byte of output is run
#   once more, saying so on stderr. The programs run this way (test programs, kesmaro-cli) all
#   say something before they fail, so any other failure is the program's own and stands.
# CMake uses it as CMAKE_CROSSCOMPILING_EMULATOR, so CTest and gtest_discover_tests go through it.
set -euo pipefail

# Wine needs a home folder (it links the prefix's user folders to it).
export HOME=${HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)}
prefix=${WINEPREFIX:-}
mode=64
while (($#)); do
  case $1 in
    --prefix) prefix=$2; shift 2 ;;
    --32) mode=32; shift ;;
    --wow64) mode=wow64; shift ;;
    --) shift; break ;;
    *) break ;;
  esac
done
if (($# == 0)); then
  echo "usage: wine-run.sh [--prefix DIR] [--32 | --wow64] PROGRAM.exe [ARGS...]" >&2
  exit 2
fi

# Debian installs the loaders outside PATH (the `wine` package adds wrappers): wine64 comes with
# the wine64 package, the 32-bit wine with wine32:i386.
wine_dir=${KESMARO_WINE_DIR:-/usr/lib/wine}
if [[ $mode == 32 ]]; then
  arch=win32
  for need in "$wine_dir/wine" "$(command -v qemu-i386 || echo qemu-i386)"; do
    if [[ ! -x $need ]]; then
      echo "wine-run.sh: $need not found (packages wine32:i386, qemu-user); run scripts/install-deps.sh" >&2
      exit 127
    fi
  done
  loader=(qemu-i386 "$wine_dir/wine")
  prefix=${prefix:-$HOME/.wine-kesmaro-win32}
else
  arch=win64
  loader=("$wine_dir/wine64")
  if [[ ! -x ${loader[0]} ]]; then
    echo "wine-run.sh: ${loader[0]} not found; run scripts/install-deps.sh" >&2
    exit 127
  fi
  prefix=${prefix:-$HOME/.wine-kesmaro}
fi

prefix=$(realpath -m "$prefix") # Wine insists on an absolute path
export WINEPREFIX=$prefix WINEARCH=$arch
export WINEDEBUG=-all
# No Mono or Gecko install prompts, no desktop menu entries.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=${KESMARO_WINE_LOCALE:-zh_CN.UTF-8}
# The 64-bit server serves 32-bit Wine too, and runs natively.
export WINESERVER=$wine_dir/wineserver
# Keep the server up between the many short test processes: starting it costs far more than
# running a test. It exits by itself this many seconds after its last client.
persist=${KESMARO_WINESERVER_PERSIST:-30}

# One process at a time sets the prefix up and starts the server; the others wait here.
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
# Wine writes the prefix's word size into its registry; a 32-bit Wine cannot use a 64-bit prefix.
if [[ -f $prefix/system.reg ]] && ! grep -qx "#arch=$arch" "$prefix/system.reg"; then
  echo "wine-run.sh: the Wine prefix $prefix is not a $arch prefix; remove it, or name another with --prefix" >&2
  exit 1
fi
# The registry files appear only when the server writes them out, so a marker of our own tells
# that the prefix is complete.
if [[ ! -f $prefix/.kesmaro-ready-2 ]]; then
  if ! "${loader[@]}" wineboot --init </dev/null >"$prefix.init.log" 2>&1 9>&-; then
    echo "wine-run.sh: creating the Wine prefix $prefix failed:" >&2
    cat "$prefix.init.log" >&2
    exit 1
  fi
  # Windows draw their own frames and captions, as on Windows, since the tests' X server has no
  # window manager; the caption buttons need Wine's Marlett in the prefix.
  "${loader[@]}" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >>"$prefix.init.log" 2>&1 9>&-
  for font in /usr/share/wine/fonts/*.ttf; do
    if [[ -e $font ]]; then cp "$font" "$prefix/drive_c/windows/Fonts/"; fi
  done
  "$WINESERVER" -w 9>&- # until that server has written the registry and exited
  touch "$prefix/.kesmaro-ready-2"
fi
if [[ $mode == wow64 && ! -f $prefix/drive_c/windows/syswow64/kernel32.dll ]]; then
  echo "wine-run.sh: the Wine prefix $prefix was made without Wine's 32-bit DLLs (package libwine:i386); remove it to have it made again" >&2
  exit 1
fi
# Start a lingering server unless one is up (exit status 2). The first process of a fresh
# server also starts Wine's services, which would keep that process's stdout and stderr open
# for as long as they live and so stall whoever reads them (CTest, discovery): boot them here
# with nothing attached.
if "$WINESERVER" -p"$persist" </dev/null >/dev/null 2>&1 9>&-; then
  "${loader[@]}" wineboot </dev/null >/dev/null 2>&1 9>&- || true
fi
exec 9>&-

# pass MARK: copies its input to its output unchanged, and creates MARK once a byte has passed.
pass() {
  if dd bs=1 count=1 status=none >"$1.byte" && [[ -s $1.byte ]]; then
    touch "$1"
    cat "$1.byte" -
  fi
}

# run: the program, its stdout and stderr passed through `pass`; the exit status is the
# program's. Sets said=1 when it wrote anything. When stdout and stderr are one file (as CTest
# gives them), both go through one pipe, so that what reads them sees them in the order written.
marks=$(mktemp -d "${TMPDIR:-/tmp}/wine-run.XXXXXX")
trap 'rm -rf "$marks"' EXIT
run() {
  rm -f "$marks"/*
  local status
  set +e
  if [[ /dev/stdout -ef /dev/stderr ]]; then
    "${loader[@]}" "$@" 2>&1 | pass "$marks/out"
  else
    { "${loader[@]}" "$@" 2>&1 1>&3 3>&- | pass "$marks/err" >&2; exit "${PIPESTATUS[0]}"; } 3>&1 | pass "$marks/out"
  fi
  status=${PIPESTATUS[0]}
  set -e
  said=0
  if [[ -e $marks/out || -e $marks/err ]]; then said=1; fi
  return "$status"
}

status=0
run "$@" || status=$?
if ((status != 0 && !said)); then
  echo "wine-run.sh: $1 ended with exit status $status before writing anything, as when Wine fails to start it; running it once more" >&2
  status=0
  run "$@" || status=$?
fi
exit "$status"
