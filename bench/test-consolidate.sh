#!/usr/bin/env bash
# Checks bench/consolidate.awk against hand-worked series, and, when a built kesmaro-cli is
# around (KESMARO_CLI, or build/linux/cli/kesmaro-cli), that the CLI writes the same bytes.
# The CLI runs with --force: several series here start with a key its check calls ambiguous.
# bench/run.sh trusts the awk output as its second opinion, so it has to be right.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
awk_prog="$root/bench/consolidate.awk"
cli="${KESMARO_CLI:-$root/build/linux/cli/kesmaro-cli}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

# case NAME KEY SKIP EXPECTED — the series is whatever the caller put in $work/NAME.
case_() {
    local name="$1" key="$2" skip="$3" expected="$4" dir="$work/$1"
    local -a files
    mapfile -t files < <(find "$dir" -maxdepth 1 -type f -name '*.txt' -printf '%f\n' | sort -n | sed "s|^|$dir/|")
    printf '%b' "$expected" > "$work/$name.expected"
    LC_ALL=C gawk -v key="$key" -v skip="$skip" -v enc=gbk -f "$awk_prog" "${files[@]}" > "$work/$name.awk"
    if ! cmp -s "$work/$name.expected" "$work/$name.awk"; then
        echo "FAIL awk  $name"; diff <(od -c "$work/$name.expected") <(od -c "$work/$name.awk") || true
        failures=$((failures + 1))
    fi
    if [[ -x "$cli" ]]; then
        mkdir -p "$work/out-$name"
        if ! (cd "$work/out-$name" && "$cli" run --skip "$skip" --encoding gbk --output got --force "$dir" "$key" 2>/dev/null); then
            echo "FAIL cli  $name (exit status)"; failures=$((failures + 1)); return
        fi
        if ! cmp -s "$work/$name.expected" "$work/out-$name/got.txt"; then
            echo "FAIL cli  $name"; diff <(od -c "$work/$name.expected") <(od -c "$work/out-$name/got.txt") || true
            failures=$((failures + 1))
        fi
    fi
}

series() { mkdir -p "$work/$1"; }

# Exact rows from every file in numeric order; the separator after the key is dropped, the
# rest of the row (further columns, trailing blanks) is kept.
series order
printf 'a\r\nb\r\nc\r\n5.0 x1\r\n' > "$work/order/1.txt"
printf 'a\r\nb\r\nc\r\n5.0\ty2\tz  \r\n' > "$work/order/2.txt"
printf 'a\r\nb\r\nc\r\n5.0,y10\r\n5.05 no\r\n' > "$work/order/10.txt"
case_ order 5.0 3 '1 x1\r\n2 y2\tz  \r\n10 y10\r\n'

# Prefix rows count only until the first exact hit of the run, in any file; rows cut at the
# first separator, lines without one give nothing; header lines are never rows.
series prefix
printf '550.0 header\r\nh\r\nh\r\n550.01 p1\r\n550.02-p2 q\r\n550.03\r\n55 no\r\n' > "$work/prefix/1.txt"
printf 'h\r\nh\r\nh\r\n550.04 p3\r\n550.0 exact\r\n550.05 late\r\n' > "$work/prefix/2.txt"
printf 'h\r\nh\r\nh\r\n550.06 later\r\n550.0 again\r\n' > "$work/prefix/3.txt"
case_ prefix 550.0 3 '1 p1\r\n1 p2 q\r\n2 p3\r\n2 exact\r\n3 again\r\n'

# Line ends: CR LF, LF and lone CR all end a line (header counting included); a last line
# without an end still counts; a line that is just the key is no hit.
series eol
printf 'h\nh\rh\r\n7\tT\r7 U\n7\r7 last' > "$work/eol/1.txt"
case_ eol 7 3 '1 T\r\n1 U\r\n1 last\r\n'

# Double-byte GBK characters separate and are dropped whole.
series gbk
printf '\xd1\xf9\xc6\xb7\r\nh\r\nh\r\n9.5\xb2\xe2rest\r\n9.5\xa1\xa1full\r\n' > "$work/gbk/1.txt"
printf 'h\r\nh\r\nh\r\n9.55\xa3\xbacut\r\n' > "$work/gbk/2.txt"
case_ gbk 9.5 3 '1 rest\r\n1 full\r\n'
series gbk-prefix
printf '9.55\xa3\xbacut here\r\n9.5\r\n' > "$work/gbk-prefix/1.txt"
case_ gbk-prefix 9.5 0 '1 cut here\r\n'

if [[ ! -x "$cli" ]]; then
    echo "note: $cli not built, checked the awk program only"
fi
if ((failures)); then
    echo "$failures failure(s)"; exit 1
fi
echo "all cases agree"
