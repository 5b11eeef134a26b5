#!/usr/bin/env bash
# Checks the C++ files' layout (scripts/check-format.sh) and includes (scripts/check-includes.sh),
# then runs every configuration's CMake workflow preset (configure, build, test): native
# (RelWithDebInfo, with the Qt window), native with AddressSanitizer and UBSan, the core's
# threaded tests with ThreadSanitizer, the fuzz targets for a few seconds each (clang, libFuzzer),
# and 64-bit and 32-bit Windows (tests under Wine with a Chinese code page; the 32-bit ones on
# 32-bit Wine under qemu-i386). Warnings are errors everywhere. One Xvfb display serves the
# Windows window tests. Builds and tests use every processor (CMAKE_BUILD_PARALLEL_LEVEL and
# CTEST_PARALLEL_LEVEL, when not set already). Keeps going after a failing configuration so one
# run reports all of them; exits non-zero if any step failed.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh || { echo "test.sh: installing dependencies failed" >&2; exit 1; }

# Every processor, for the builds and the tests of each workflow.
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)}
logdir=$root/build/test-logs
mkdir -p "$logdir"

xvfb_pid=
cleanup() {
  for prefix in "$root"/build/mingw-x64/wineprefix "$root"/build/mingw-x86/wineprefix-win32; do
    if [[ -d $prefix ]]; then WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true; fi
  done
  if [[ -n $xvfb_pid ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

start_xvfb() {
  local fdfile=$logdir/xvfb.display
  : >"$fdfile"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" >"$logdir/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    if [[ -s $fdfile ]]; then
      export DISPLAY=:$(tr -d '\n' <"$fdfile")
      echo "test.sh: Xvfb on $DISPLAY"
      return 0
    fi
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "test.sh: Xvfb did not start:" >&2
  cat "$logdir/xvfb.log" >&2
  return 1
}

failed=()
total_passed=0
total_failed=0
total_skipped=0
summary=()

step() { # step NAME COMMAND...
  local name=$1
  shift
  echo
  echo "=== $name: $*"
  local start=$SECONDS
  if "$@"; then
    echo "=== $name: ok ($((SECONDS - start)) s)"
  else
    echo "=== $name: FAILED ($((SECONDS - start)) s)"
    failed+=("$name")
    return 1
  fi
}

workflow_logged() { # workflow_logged PRESET LOG
  cmake --workflow --preset "$1" 2>&1 | tee "$2"
}

workflow() { # workflow PRESET: configure, build and test, as the preset's workflow says
  local log=$logdir/workflow-$1.log
  step "$1" workflow_logged "$1" "$log"
  local rc=$?
  # "100% tests passed, 0 tests failed out of 8"
  local line
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [[ $line =~ ([0-9]+)\ tests?\ failed\ out\ of\ ([0-9]+) ]]; then
    local nfail=${BASH_REMATCH[1]} ntotal=${BASH_REMATCH[2]}
    # Skipped tests count as passed in CTest's line; they are listed after it, each with its reason
    # in the log.
    local nskip
    nskip=$(grep -cE '^[[:space:]]+[0-9]+ - .* \(Skipped\)$' "$log")
    total_failed=$((total_failed + nfail))
    total_skipped=$((total_skipped + nskip))
    total_passed=$((total_passed + ntotal - nfail - nskip))
    summary+=("$1: $line, $nskip skipped")
  else
    summary+=("$1: no test summary, configuring or building failed (see $log)")
  fi
  return $rc
}

step format bash scripts/check-format.sh
step includes bash scripts/check-includes.sh
display=1
start_xvfb || { display=0; failed+=("Xvfb"); }
workflow linux
workflow linux-asan
workflow linux-tsan
workflow fuzz
if ((display)); then
  workflow mingw-x64
  workflow mingw-x86
fi

echo
echo "=== Summary"
for line in "${summary[@]}"; do echo "  $line"; done
if ((${#failed[@]})); then
  echo "FAILED steps: ${failed[*]}"
fi
echo "total: $total_passed passed, $total_failed failed, $total_skipped skipped"
((${#failed[@]} == 0))
