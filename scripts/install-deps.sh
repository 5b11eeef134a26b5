#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the sample run need, and generates the
# Chinese locales the Windows tests run under. Only what is missing is installed, so running it
# again on a prepared machine costs a few dpkg-query calls and nothing else.
#   install-deps.sh          everything: also the Windows cross builds, Wine and the benchmark
#   install-deps.sh --run    only what building the Linux window and kesmaro-cli needs
set -euo pipefail

# What the Linux window and kesmaro-cli need to build (the linux preset builds its tests too).
packages=(
  cmake ninja-build g++           # native toolchain
  libgtest-dev googletest         # GoogleTest: library for native builds, sources for cross builds
  qt6-base-dev                    # the Linux window (Qt 6 Widgets, QTest, platform plugins)
  qt6-translations-l10n           # Qt's own dialogs and buttons in the user's language
  desktop-file-utils              # checks the window's menu entry
  fonts-wqy-microhei              # a Chinese font for both windows
)
case ${1:-} in
  --run) windows=0 ;;
  "") windows=1 ;;
  *) echo "usage: install-deps.sh [--run]" >&2; exit 2 ;;
esac
if ((windows)); then
  packages+=(
    g++-mingw-w64-x86-64-posix    # Windows 64-bit, with the posix thread model (std::thread)
    g++-mingw-w64-i686-posix      # Windows 32-bit
    wine64                        # the 64-bit programs, and the benchmark's 32-bit one in WoW64
    wine32:i386 qemu-user         # the 32-bit programs on 32-bit Wine, whose loader qemu-i386 runs
    xvfb xauth fonts-wine         # an X display for the windows; Wine's own fonts (captions)
    locales                       # zh_CN.UTF-8 makes Wine report code page 936
    gawk time                     # benchmark baseline and GNU time for peak memory
    dpkg-dev file                 # cpack -G DEB: dpkg-shlibdeps finds the package's dependencies
    clang-format                  # the format gate (scripts/check-format.sh)
    clang libclang-rt-dev         # the fuzz preset: clang++ and libFuzzer's runtime (not in clang's Depends)
  )
  # The sample and benchmark generators are Python; any python3 on PATH will do.
  command -v python3 >/dev/null 2>&1 || packages+=(python3)
fi

as_root() {
  if [[ $(id -u) -eq 0 ]]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    echo "install-deps: need root (or sudo) to run: $*" >&2
    return 1
  fi
}

missing=()
for pkg in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
  [[ $status == installed ]] || missing+=("$pkg")
done

if ((${#missing[@]})); then
  echo "install-deps: installing ${missing[*]}"
  # wine32:i386 comes from the i386 architecture, which apt must know of before its update.
  if [[ " ${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  as_root apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Locales, for Wine: `locale -a` spells them in lower case without the dash (zh_CN.utf8, zh_CN.gbk).
if ((windows)); then
  want_locales=("zh_CN.UTF-8 UTF-8:zh_CN.utf8" "zh_CN.GBK GBK:zh_CN.gbk")
  have=$(locale -a 2>/dev/null || true)
  regen=0
  for entry in "${want_locales[@]}"; do
    line=${entry%%:*}
    name=${entry##*:}
    if ! grep -qx "$name" <<<"$have"; then
      regen=1
      if ! grep -qx "$line" /etc/locale.gen 2>/dev/null; then
        # Uncomment the stock entry when there is one, otherwise append it.
        if grep -qx "# *$line" /etc/locale.gen 2>/dev/null; then
          as_root sed -i "s/^# *$line\$/$line/" /etc/locale.gen
        else
          echo "$line" | as_root tee -a /etc/locale.gen >/dev/null
        fi
      fi
    fi
  done
  if ((regen)); then
    echo "install-deps: generating locales"
    as_root locale-gen
  fi
fi
