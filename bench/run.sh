#!/usr/bin/env bash
# kesmaro benchmark: times a Release kesmaro-cli on a large generated series next to the
# page-cache read limit (cat) and an awk script doing the same consolidation, checks that
# both write the same bytes, and reports peak memory, a key check on a 20 MB file, a
# listing of 10,000 files, peak memory on lines of 1 GiB and 300 MiB, and running out of
# memory; the same for `kesmaro-cli table` with ten values, against cat and an awk script
# doing the same numeric lookup, and for its other modes; an area over the whole of one file of
# 1 GB next to cat of it, with its peak memory; and, where Wine runs Windows programs, the
# 32-bit Windows kesmaro-cli.exe beside the 64-bit one on the same series, for the run and for
# every mode of the table. See bench/README.md.
#
# Exit status: 0 when everything ran and the outputs agree (missed targets are only
# reported), 1 when a step failed or the outputs differ.
#
# Environment:
#   BENCH_DIR    where data and the Release build go    (default: build/bench)
#   BENCH_FILES  files in the large series              (default: 200)
#   BENCH_ROWS   rows per file                          (default: 200000)
#   BENCH_RUNS   runs per measurement, median and spread (default: 3)
#   BENCH_HUGE   0: leave out the 1 GB file and its area (default: 1)
#   BENCH_JOBS   parallel jobs of the builds            (default: 2)
#   KESMARO_CLI  use this binary instead of building one
#   BENCH_WINE   0: leave out the Windows programs under Wine (default: measure them when
#                wine64, MinGW-w64 and Wine's 32-bit DLLs, libwine:i386, are installed)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

bench_dir="${BENCH_DIR:-build/bench}"
mkdir -p "$bench_dir"
bench_dir="$(cd "$bench_dir" && pwd)"
files="${BENCH_FILES:-200}"
rows="${BENCH_ROWS:-200000}"
runs="${BENCH_RUNS:-3}"
jobs="${BENCH_JOBS:-2}"
huge_on="${BENCH_HUGE:-1}"
check_key="9999.1234"        # begins a single line near the end of the 20 MB file, never exact
check_bytes=$((20 * 1024 * 1024))
list_count=10000
skip=3
# First-column values run 1000.000, 1000.001, ... in every file (see make-data.py): the
# middle row's value is an exact hit once per file and begins no other line.
key="$(printf '%d.%03d' $((1000 + rows / 2 / 1000)) $((rows / 2 % 1000)))"
# Ten values for the table, spread over the rows and written with four decimals where the
# data has three, so that they match as numbers, not as text: one cell per file and value.
table_values=()
for ((k = 0; k < 10; k++)); do
    r=$((rows * (2 * k + 1) / 20))
    table_values+=("$(printf '%d.%03d0' $((1000 + r / 1000)) $((r % 1000)))")
done
# The table's other modes, ten items each at the same rows: values a little past a line for
# --nearest (the line itself is nearest) and halfway between two for --interpolate, and ranges
# of 500 lines from there for area and max.
table_modes=(nearest interpolate area max)
nearest_items=() interpolate_items=() area_items=() max_items=()
for ((k = 0; k < 10; k++)); do
    r=$((rows * (2 * k + 1) / 20))
    e=$((r + 500))
    from="$(printf '%d.%03d' $((1000 + r / 1000)) $((r % 1000)))"
    to="$(printf '%d.%03d' $((1000 + e / 1000)) $((e % 1000)))"
    nearest_items+=("${from}4")
    interpolate_items+=("${from}5")
    area_items+=("area:$from:$to")
    max_items+=("max:$from:$to")
done
mode_items() { local -n items="$1_items"; echo "${items[*]}"; }

series="$bench_dir/data/series-${files}x${rows}"
# The same x and rows written as instruments and exports write them (make-data.py), as many
# files as the main series, so that a busy moment of the machine weighs as little there; each
# mode timed on each beside cat of the same files.
shapes=(instrument export columns gaps)
shape_files=$files
large="$bench_dir/data/check-20mb"
listing="$bench_dir/data/list-${list_count}"
# One file of about 1 GB written as the instrument series writes its lines, x ascending, and
# the exact area under its cells beside it (make-data.py huge).
huge="$bench_dir/data/huge-instrument-1g"
huge_bytes=1000000000
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

say() { printf '== %s\n' "$*" >&2; }
die() { printf 'bench: %s\n' "$*" >&2; exit 1; }

for tool in python3 gawk cmake /usr/bin/time; do
    command -v "$tool" >/dev/null || die "$tool is missing (apt-get install ${tool##*/})"
done

# --- data ----------------------------------------------------------------------------------

folder_bytes() { find "$1" -maxdepth 1 -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }'; }
folder_count() { find "$1" -maxdepth 1 -type f -name '*.txt' | wc -l; }

# ensure_data DIR DESCRIPTION GENERATOR-ARGS...: regenerates DIR unless its stamp says it was
# written completely by the same command and the sizes on disk still match.
ensure_data() {
    local dir="$1" what="$2"; shift 2
    local stamp="$dir.stamp" want="$*"
    if [[ -f "$stamp" && -d "$dir" ]] && [[ "$(cat "$stamp")" == "$want $(folder_count "$dir") $(folder_bytes "$dir")" ]]; then
        say "reusing $what in $dir"
        return
    fi
    say "generating $what in $dir"
    rm -rf "$dir" "$stamp"
    python3 "$root/bench/make-data.py" "$@"
    echo "$want $(folder_count "$dir") $(folder_bytes "$dir")" > "$stamp"
}

ensure_data "$series" "series of $files x $rows rows" series "$series" "$files" "$rows"
ensure_data "$large" "20 MB single-file series" large "$large" "$check_bytes" "$check_key"
for shape in "${shapes[@]}"; do
    ensure_data "$bench_dir/data/$shape-${shape_files}x${rows}" "$shape series of $shape_files x $rows rows" \
        series "$bench_dir/data/$shape-${shape_files}x${rows}" "$shape_files" "$rows" "$shape"
done
ensure_data "$listing" "$list_count empty files" empty "$listing" "$list_count"
if [[ "$huge_on" != 0 ]]; then
    if [[ ! -f "$huge/1.txt" ]]; then
        free_bytes="$(df --output=avail -B1 "$bench_dir" | tail -n 1)"
        ((free_bytes > 2 * huge_bytes)) ||
            die "$((free_bytes / 1000000)) MB free in $bench_dir, too little for the 1 GB file (BENCH_HUGE=0 leaves it out)"
    fi
    ensure_data "$huge" "1 GB instrument file" huge "$huge" "$huge_bytes"
    # The item covers every line: from the first x to the last.
    huge_item="area:1000.000:$(tail -n 1 "$huge/1.txt" | cut -f 1)"
fi

# Lines longer than any block: one line of 1 GiB (a sparse file of NUL bytes), and a 300 MiB
# line of x between a header line and the one line that holds the key 5.
long_gb="$bench_dir/data/long-line-1g"
long_mb="$bench_dir/data/long-line-300m"
long_mb_size=$((3 + 300 * 1048576 + 2 + 8))
if [[ "$(stat -c %s "$long_gb/1.txt" 2>/dev/null)" != 1073741824 ]]; then
    say "generating a 1 GiB one-line file in $long_gb"
    mkdir -p "$long_gb" && rm -f "$long_gb/1.txt" && truncate -s 1G "$long_gb/1.txt"
fi
if [[ "$(stat -c %s "$long_mb/1.txt" 2>/dev/null)" != "$long_mb_size" ]]; then
    say "generating a 300 MiB line in $long_mb"
    mkdir -p "$long_mb"
    { printf 'h\r\n'; head -c $((300 * 1048576)) /dev/zero | tr '\0' x; printf '\r\n5 tail\r\n'; } > "$long_mb/1.txt"
fi

series_bytes="$(folder_bytes "$series")"
mapfile -t series_files < <(find "$series" -maxdepth 1 -type f -name '*.txt' -printf '%f\n' | sort -n | sed "s|^|$series/|")

# --- build ---------------------------------------------------------------------------------

if [[ -n "${KESMARO_CLI:-}" ]]; then
    cli="$KESMARO_CLI"
else
    say "building kesmaro-cli (Release) in $bench_dir/release"
    cmake -S "$root" -B "$bench_dir/release" -DCMAKE_BUILD_TYPE=Release -DKESMARO_BUILD_TESTS=OFF >"$work/cmake.log" 2>&1 \
        || { cat "$work/cmake.log" >&2; die "cmake configure failed"; }
    cmake --build "$bench_dir/release" --parallel "$jobs" >"$work/build.log" 2>&1 \
        || { cat "$work/build.log" >&2; die "build failed"; }
    cli="$bench_dir/release/cli/kesmaro-cli"
fi
[[ -x "$cli" ]] || die "no kesmaro-cli at $cli"

# The Windows programs, Release builds for both word sizes, run under wine64 through the tests'
# wrapper, in a Wine prefix of the benchmark's own. The 32-bit one runs in Wine's WoW64 mode,
# where its code runs natively (the tests run it on 32-bit Wine under qemu-i386, which emulates
# the processor), so that its figure measures the program.
wine_run="$root/cmake/wine-run.sh"
wine_prefix="$bench_dir/wineprefix"
wine=0
if [[ "${BENCH_WINE:-1}" != 0 ]] && [[ -x /usr/lib/wine/wine64 ]] &&
    command -v i686-w64-mingw32-g++-posix x86_64-w64-mingw32-g++-posix >/dev/null &&
    [[ -f /usr/lib/i386-linux-gnu/wine/i386-windows/kernel32.dll ]]; then
    wine=1
    for arch in i686 x86_64; do
        say "building kesmaro-cli.exe ($arch, Release) in $bench_dir/$arch"
        cmake -S "$root" -B "$bench_dir/$arch" --toolchain "$root/cmake/toolchains/mingw-$arch.cmake" \
            -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESMARO_BUILD_TESTS=OFF >"$work/cmake-$arch.log" 2>&1 \
            || { cat "$work/cmake-$arch.log" >&2; die "cmake configure ($arch) failed"; }
        cmake --build "$bench_dir/$arch" --target kesmaro-cli --parallel "$jobs" >"$work/build-$arch.log" 2>&1 \
            || { cat "$work/build-$arch.log" >&2; die "build ($arch) failed"; }
    done
    export KESMARO_WINESERVER_PERSIST=600 # one Wine server for all the runs, stopped at the end
    trap 'WINEPREFIX="$wine_prefix" /usr/lib/wine/wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
else
    say "leaving out the Windows programs under Wine (BENCH_WINE=0, or wine64, MinGW-w64 or Wine's 32-bit DLLs missing)"
fi

# --- timing helpers ------------------------------------------------------------------------

# timed CMD...: runs CMD, failing the benchmark when it fails, and leaves its wall time in
# microseconds in $elapsed (bash's own clock, which starts no process).
timed() {
    local start="${EPOCHREALTIME//[.,]/}"
    "$@" || die "failed: $*"
    elapsed=$((${EPOCHREALTIME//[.,]/} - start))
}
# spread SCALE: reads numbers, one a line; prints their median, least and most, each divided by
# SCALE.
spread() {
    sort -n | awk -v scale="$1" '{ t[NR] = $1 } END { printf "%.6g %.6g %.6g\n", t[int((NR + 1) / 2)] / scale, t[1] / scale, t[NR] / scale }'
}
# median_spread RUNS CMD...: runs CMD RUNS times, prints the median, the least and the most wall
# time in seconds.
median_spread() {
    local n="$1"; shift
    local -a times=()
    local i elapsed
    for ((i = 0; i < n; i++)); do
        timed "$@"
        times+=("$elapsed")
    done
    printf '%s\n' "${times[@]}" | spread 1e6
}
# median_spread_pair RUNS CMD-A... -- CMD-B...: runs A and B in turn, RUNS times each, so that
# both see the same load; prints A's median, least and most wall time in seconds, then B's.
median_spread_pair() {
    local n="$1"; shift
    local -a a=() a_times=() b_times=()
    while [[ "$1" != -- ]]; do a+=("$1"); shift; done
    shift
    local i elapsed
    for ((i = 0; i < n; i++)); do
        timed "${a[@]}"
        a_times+=("$elapsed")
        timed "$@"
        b_times+=("$elapsed")
    done
    echo "$(printf '%s\n' "${a_times[@]}" | spread 1e6) $(printf '%s\n' "${b_times[@]}" | spread 1e6)"
}
# peak_spread [--any] RUNS CMD...: runs CMD RUNS times under /usr/bin/time, prints the median,
# the least and the most peak RSS in KB. CMD's output is dropped; with --any its exit status
# does not matter, else a failure fails the benchmark.
peak_spread() {
    local any=0 i
    [[ "$1" == --any ]] && { any=1; shift; }
    local n="$1"; shift
    rm -f "$work/peaks"
    for ((i = 0; i < n; i++)); do
        /usr/bin/time -f %M -a -o "$work/peaks" "$@" >/dev/null 2>&1 || ((any)) || die "failed under /usr/bin/time: $*"
    done
    # A failing command's status comes before its figure.
    grep -E '^[0-9]+$' "$work/peaks" | spread 1
}

run_cli() { (cd "$work/cli" && "$cli" run --skip "$skip" --encoding gbk --output bench --force "$series" "$key" 2>"$work/cli.err"); }
run_cat() { cat "${series_files[@]}" > /dev/null; }
run_awk() { LC_ALL=C gawk -v key="$key" -v skip="$skip" -v enc=gbk -f "$root/bench/consolidate.awk" "${series_files[@]}" > "$work/awk/bench.txt"; }
run_table() { (cd "$work/cli" && "$cli" table --skip "$skip" --encoding gbk --output bench "$series" "${table_values[@]}" 2>"$work/table.err"); }
run_awk_table() { LC_ALL=C gawk -v skip="$skip" -v values="${table_values[*]}" -f "$root/bench/csv.awk" -f "$root/bench/table.awk" "${series_files[@]}" > "$work/awk/bench.csv"; }
run_table_mode() { # run_table_mode nearest|interpolate|area|max
    local -a items options=()
    read -ra items <<< "$(mode_items "$1")"
    [[ "$1" == nearest || "$1" == interpolate ]] && options=("--$1")
    (cd "$work/cli" && "$cli" table --skip "$skip" --encoding gbk "${options[@]}" --output "bench-$1" "$series" "${items[@]}" 2>"$work/table-$1.err")
}
run_awk_table_mode() { LC_ALL=C gawk -v mode="$1" -v skip="$skip" -v items="$(mode_items "$1")" -f "$root/bench/csv.awk" -f "$root/bench/table-modes.awk" "${series_files[@]}" > "$work/awk/bench-$1.csv"; }
run_shape() { # run_shape SHAPE exact|nearest|interpolate|area|max
    local dir="$bench_dir/data/$1-${shape_files}x${rows}" items options=()
    [[ "$1" == columns ]] && options=(--column 3)
    if [[ "$2" == exact ]]; then items=("${table_values[@]}"); else read -ra items <<< "$(mode_items "$2")"; fi
    [[ "$2" == nearest || "$2" == interpolate ]] && options+=("--$2")
    (cd "$work/cli" && "$cli" table --skip "$skip" --encoding gbk "${options[@]}" --output "shape-$1-$2" "$dir" "${items[@]}" 2>/dev/null)
}
run_shape_cat() { cat "$bench_dir/data/$1-${shape_files}x${rows}"/*.txt > /dev/null; }
# The area over the whole 1 GB file, each run under /usr/bin/time, which adds its peak RSS to
# rss-huge: the figure of a 1 GB read outweighs the fork of time by far.
run_huge() { (cd "$work/cli" && /usr/bin/time -f %M -a -o "$work/rss-huge" "$cli" table --skip "$skip" --encoding gbk --output huge "$huge" "$huge_item" 2>"$work/huge.err"); }
run_huge_cat() { cat "$huge/1.txt" > /dev/null; }
# same_to_12_digits A B: whether two CSV files agree field by field, numbers to 12 significant digits.
same_to_12_digits() {
    gawk -F, -v RS='\r\n' 'NR == FNR { line[FNR] = $0; lines = FNR; next }
        { n = split(line[FNR], a, ","); if (n != split($0, b, ",")) exit 1
          for (i = 1; i <= n; i++)
              if (a[i] != b[i] && !(a[i] ~ /^[-+0-9.eE]+$/ && b[i] ~ /^[-+0-9.eE]+$/ && sprintf("%.12g", a[i]) == sprintf("%.12g", b[i])))
                  exit 1 }
        END { if (FNR != lines) exit 1 }' "$1" "$2"
}
run_check() { "$cli" check --skip "$skip" --encoding gbk "$large" "$check_key" > "$work/check.out"; }
run_list() { "$cli" list "$listing" > "$work/list.out"; }
run_wine() { # run_wine i686|x86_64
    local bits=()
    [[ "$1" == i686 ]] && bits=(--wow64)
    (cd "$work/$1" && "$wine_run" --prefix "$wine_prefix" "${bits[@]}" "$bench_dir/$1/cli/kesmaro-cli.exe" \
        run --skip "$skip" --encoding gbk --output bench --force "$series" "$key" 2>"$work/$1.err")
}
run_wine_table() { # run_wine_table i686|x86_64 exact|nearest|interpolate|area|max
    local bits=() items options=()
    [[ "$1" == i686 ]] && bits=(--wow64)
    if [[ "$2" == exact ]]; then items=("${table_values[@]}"); else read -ra items <<< "$(mode_items "$2")"; fi
    [[ "$2" == nearest || "$2" == interpolate ]] && options=("--$2")
    (cd "$work/$1" && "$wine_run" --prefix "$wine_prefix" "${bits[@]}" "$bench_dir/$1/cli/kesmaro-cli.exe" \
        table --skip "$skip" --encoding gbk "${options[@]}" --output "bench-$2" "$series" "${items[@]}" 2>"$work/$1-table-$2.err")
}

# run_wine_launch i686|x86_64: a table of one value from a series of one short file, Wine's start
# of the program and next to nothing else. wine64 starts a 32-bit program through start.exe,
# which loads shell32, user32 and more first, a detour Windows does not take; the jobs' rows
# take each program's median start off its figures, so that they compare the programs' work.
run_wine_launch() {
    local bits=()
    [[ "$1" == i686 ]] && bits=(--wow64)
    (cd "$work/$1" && "$wine_run" --prefix "$wine_prefix" "${bits[@]}" "$bench_dir/$1/cli/kesmaro-cli.exe" \
        table --skip "$skip" --encoding gbk --output launch "$work/launch" "$launch_value" 2>"$work/$1-launch.err")
}

mkdir -p "$work/cli" "$work/awk" "$work/i686" "$work/x86_64" "$work/launch"
head -n $((skip + 20)) "${series_files[0]}" > "$work/launch/1.txt"
launch_value="$(awk -v skip="$skip" 'NR == skip + 1 { print $1 }' "$work/launch/1.txt")"

# --- measurements --------------------------------------------------------------------------

say "warming the page cache ($((series_bytes / 1000000)) MB)"
cat "${series_files[@]}" "$large"/*.txt > /dev/null

# Every figure is "median least most", in seconds or, for peak RSS, in KB.
say "kesmaro-cli run, $runs runs"
t_run="$(median_spread "$runs" run_cli)"
say "cat, $runs runs"
t_cat="$(median_spread "$runs" run_cat)"
say "gawk, $runs runs"
t_awk="$(median_spread "$runs" run_awk)"

say "kesmaro-cli table with ${#table_values[@]} values, $runs runs"
t_table="$(median_spread "$runs" run_table)"
say "gawk table, $runs runs"
t_awk_table="$(median_spread "$runs" run_awk_table)"

outputs_agree=1
declare -A t_mode t_awk_mode mode_agreement
for mode in "${table_modes[@]}"; do
    say "kesmaro-cli table, 10 items, $mode, $runs runs"
    t_mode[$mode]="$(median_spread "$runs" run_table_mode "$mode")"
    say "gawk table, $mode, 1 run"
    t_awk_mode[$mode]="$(median_spread 1 run_awk_table_mode "$mode")"
    if same_to_12_digits "$work/cli/bench-$mode.csv" "$work/awk/bench-$mode.csv"; then
        mode_agreement[$mode]="OK"
    else
        mode_agreement[$mode]="MISMATCH"
        outputs_agree=0
    fi
done
# Every mode on every shape: each measurement's runs in turn with cat's, so that both see the
# same load; the ratio of medians, and of the least and the most.
declare -A shape_figures
for shape in "${shapes[@]}"; do
    cat "$bench_dir/data/$shape-${shape_files}x${rows}"/*.txt > /dev/null
    for mode in exact "${table_modes[@]}"; do
        say "kesmaro-cli table on the $shape series, $mode, $runs runs in turn with cat"
        shape_figures[$shape.$mode]="$(median_spread_pair "$runs" run_shape "$shape" "$mode" -- run_shape_cat "$shape")"
    done
done
say "peak memory of kesmaro-cli table, $runs runs each"
rss_table="$(cd "$work/cli" && peak_spread "$runs" "$cli" table --skip "$skip" --encoding gbk --nearest --output rss "$series" "${nearest_items[@]}")"
rss_table_area="$(cd "$work/cli" && peak_spread "$runs" "$cli" table --skip "$skip" --encoding gbk --output rss "$series" "${area_items[@]}")"

# One area over all of the 1 GB file, in turn with cat of it; its peak RSS from the same runs.
if [[ "$huge_on" != 0 ]]; then
    say "kesmaro-cli table, $huge_item over the 1 GB file, $runs runs in turn with cat"
    cat "$huge/1.txt" > /dev/null
    rm -f "$work/rss-huge"
    t_huge="$(median_spread_pair "$runs" run_huge -- run_huge_cat)"
    rss_huge="$(grep -E '^[0-9]+$' "$work/rss-huge" | spread 1)"
    huge_area="$(awk -F, 'NR == 2 { sub(/\r$/, "", $2); print $2 }' "$work/cli/huge.csv")"
    huge_exact="$(cat "$huge/area")"
    # The sum of some 53 million doubles against the exact decimal, to 10 significant digits
    # (0.001 here): leaving out almost any one line moves the area by more (by 0.285 for the
    # median line, as cells jump from line to line), summing in another order by far less.
    if awk -v a="$huge_area" -v b="$huge_exact" 'BEGIN { exit !(a != "" && (a - b) ^ 2 <= (1e-10 * b) ^ 2) }'; then
        huge_agreement="OK"
    else
        huge_agreement="MISMATCH"
        outputs_agree=0
    fi
fi

[[ -f "$work/cli/bench.txt" ]] || die "kesmaro-cli run wrote no bench.txt"
[[ -f "$work/cli/bench.csv" ]] || die "kesmaro-cli table wrote no bench.csv"
if cmp -s "$work/cli/bench.txt" "$work/awk/bench.txt"; then
    agreement="OK"
else
    agreement="MISMATCH"
    outputs_agree=0
fi
if cmp -s "$work/cli/bench.csv" "$work/awk/bench.csv"; then
    table_agreement="OK"
else
    table_agreement="MISMATCH"
    outputs_agree=0
fi
table_rows="$(awk 'END { print NR }' "$work/cli/bench.csv")"
table_empty="$(awk -F, 'NR > 1 { for (i = 2; i <= NF; i++) if ($i == "") n++ } END { print n + 0 }' "$work/cli/bench.csv")"
out_bytes="$(stat -c %s "$work/cli/bench.txt")"
out_rows="$(awk 'END { print NR }' "$work/cli/bench.txt")"

say "peak memory of kesmaro-cli run, $runs runs"
rss_run="$(cd "$work/cli" && peak_spread "$runs" "$cli" run --skip "$skip" --encoding gbk --output bench --force "$series" "$key")"

say "peak memory on long lines, $runs runs each"
rss_gb_run="$(cd "$work/cli" && peak_spread --any "$runs" "$cli" run --encoding gbk --force --output long "$long_gb" 5)"
rss_gb_check="$(peak_spread --any "$runs" "$cli" check --encoding gbk "$long_gb" 5)"
rss_mb_run="$(cd "$work/cli" && peak_spread --any "$runs" "$cli" run --skip 1 --encoding gbk --force --output long "$long_mb" 5)"
rss_mb_check="$(peak_spread --any "$runs" "$cli" check --skip 1 --encoding gbk "$long_mb" 5)"
long_output_ok=0
[[ "$(cat "$work/cli/long.txt" 2>/dev/null)" == $'1 tail\r' ]] && long_output_ok=1
say "running out of memory: the 300 MiB line as a row under ulimit -v 200 MB"
oom_code=0
(ulimit -v 200000 && cd "$work/cli" && exec "$cli" run --skip 1 --encoding gbk --force --output oom "$long_mb" x) \
    >/dev/null 2>"$work/oom.err" || oom_code=$?
oom_lines="$(awk 'END { print NR }' "$work/oom.err")"
oom_ok=0
[[ "$oom_code" -eq 1 && "$oom_lines" -eq 1 && ! -e "$work/cli/oom.txt" ]] && oom_ok=1

say "kesmaro-cli check on the 20 MB file, 5 runs"
t_check="$(median_spread 5 run_check)"
say "kesmaro-cli list of $list_count files, $runs runs"
t_list="$(median_spread "$runs" run_list)"

# The Windows programs: after one untimed run of each (the first starts Wine), the 32-bit and
# the 64-bit one in turn; each one's output must be the native CLI's, byte for byte.
declare -A wine_figures wine_agreement
wine_jobs=(run exact "${table_modes[@]}")
if ((wine)); then
    say "kesmaro-cli.exe start under Wine, 32-bit and 64-bit in turn, $runs runs each (after one untimed run of each)"
    run_wine_launch x86_64
    run_wine_launch i686
    wine_figures[launch]="$(median_spread_pair "$runs" run_wine_launch i686 -- run_wine_launch x86_64)"
    say "kesmaro-cli.exe run under Wine, 32-bit and 64-bit in turn, $runs runs each (after one untimed run of each)"
    run_wine x86_64
    run_wine i686
    wine_figures[run]="$(median_spread_pair "$runs" run_wine i686 -- run_wine x86_64)"
    wine_agreement[run]=OK
    for arch in i686 x86_64; do
        cmp -s "$work/$arch/bench.txt" "$work/cli/bench.txt" || wine_agreement[run]="MISMATCH ($arch)"
    done
    for mode in exact "${table_modes[@]}"; do
        say "kesmaro-cli.exe table under Wine, $mode, 32-bit and 64-bit in turn, $runs runs each (after one untimed run of each)"
        run_wine_table x86_64 "$mode"
        run_wine_table i686 "$mode"
        wine_figures[$mode]="$(median_spread_pair "$runs" run_wine_table i686 "$mode" -- run_wine_table x86_64 "$mode")"
        native="$work/cli/bench-$mode.csv"
        [[ "$mode" == exact ]] && native="$work/cli/bench.csv"
        wine_agreement[$mode]=OK
        for arch in i686 x86_64; do
            cmp -s "$work/$arch/bench-$mode.csv" "$native" || wine_agreement[$mode]="MISMATCH ($arch)"
        done
    done
    for job in "${wine_jobs[@]}"; do
        [[ "${wine_agreement[$job]}" == OK ]] || outputs_agree=0
    done
fi

# --- report --------------------------------------------------------------------------------

echo
echo "series: $files files x $rows rows, $series_bytes bytes; key $key; output $out_rows rows, $out_bytes bytes"
echo "kesmaro-cli run said: $(tr '\n' ' ' < "$work/cli.err")"
echo "kesmaro-cli check said: $(tr '\n\t' '  ' < "$work/check.out")"
echo "kesmaro-cli list printed $(awk 'END { print NR }' "$work/list.out") lines"
echo "awk output vs kesmaro-cli output: $agreement"
if ((wine)); then
    for job in "${wine_jobs[@]}"; do
        echo "kesmaro-cli.exe $([[ $job == run ]] && echo run || echo "table, $job"), 32-bit and 64-bit under Wine, vs kesmaro-cli: ${wine_agreement[$job]}"
    done
fi
echo "kesmaro-cli run on the 300 MiB line wrote: $(tr '\r\n' '  ' < "$work/cli/long.txt" 2>/dev/null)"
echo "kesmaro-cli run out of memory: exit $oom_code, said: $(tr '\n' ' ' < "$work/oom.err")"
echo "kesmaro-cli table, values ${table_values[*]}, said: $(tr '\n' ' ' < "$work/table.err")"
echo "awk table vs kesmaro-cli table: $table_agreement"
for mode in "${table_modes[@]}"; do
    echo "kesmaro-cli table, $mode, items $(mode_items "$mode"), said: $(tr '\n' ' ' < "$work/table-$mode.err")"
    echo "awk table vs kesmaro-cli table, $mode (computed cells to 12 digits): ${mode_agreement[$mode]}"
done
if [[ "$huge_on" != 0 ]]; then
    echo "1 GB file: $(stat -c %s "$huge/1.txt") bytes, $huge_item; kesmaro-cli table said: $(tr '\n' ' ' < "$work/huge.err")"
    echo "kesmaro-cli table's area $huge_area vs the exact $huge_exact (to 10 digits): $huge_agreement"
fi
echo

# The main table, a row a line: NAME, the unit shown (s, ms, or MB of a figure in KB), the figure
# and the baseline as "median least most", the baseline's label, the ratio (over: figure /
# baseline; speedup: baseline / figure), the target as shown, and the ratio's test (le, lt or
# ge) and limit. The spread is the ratio's from the least to the most (for over, the least
# figure over the most baseline to the most over the least). A row of unit "exit" is the
# out-of-memory check: exit status, lines said and whether both are as they must be.
{
    fixed() { echo "$1 $1 $1"; }
    # past_launch JOB: the Windows job's figures, 32-bit and then 64-bit (a tab between), each
    # less its own program's median start.
    past_launch() {
        awk -v job="${wine_figures[$1]}" -v start="${wine_figures[launch]}" 'BEGIN {
            split(job, f, " "); split(start, s, " ")
            printf "%.6g %.6g %.6g\t%.6g %.6g %.6g\n", f[1] - s[1], f[2] - s[1], f[3] - s[1], f[4] - s[4], f[5] - s[4], f[6] - s[4]
        }'
    }
    row() { local IFS=$'\t'; echo "$*"; }
    row "run vs cat (page-cache read)" s "$t_run" "$t_cat" cat over "<= 1.3x" le 1.3
    row "run vs gawk (same rules)" s "$t_run" "$t_awk" awk speedup ">= 15x" ge 15
    row "table, 10 values, vs cat" s "$t_table" "$t_cat" cat over "<= 2x" le 2
    row "table, 10 values, vs gawk" s "$t_table" "$t_awk_table" awk speedup ">= 20x" ge 20
    row "peak RSS of run" MB "$rss_run" "$(fixed $((65536 + out_bytes / 1024)))" limit over "< 1x" lt 1
    row "check, 20 MB first file" ms "$t_check" "$(fixed 0.1)" "" over "well < 1x" lt 1
    row "list, $list_count files" s "$t_list" "$(fixed 0.5)" "" over "< 1x" lt 1
    if ((wine)); then
        row "32/64 .exe, start (Wine)" s "${wine_figures[launch]% * * *}" "${wine_figures[launch]#* * * }" 64-bit over "none" "" ""
        IFS=$'\t' read -r figure baseline <<< "$(past_launch run)"
        row "32/64 .exe, run, past start" s "$figure" "$baseline" 64-bit over "<= 1.5x" le 1.5
        for mode in exact "${table_modes[@]}"; do
            name="32/64 .exe, 10 $mode, past start"
            [[ "$mode" == exact ]] && name="32/64 .exe, 10 values, past start"
            IFS=$'\t' read -r figure baseline <<< "$(past_launch "$mode")"
            row "$name" s "$figure" "$baseline" 64-bit over "<= 1.2x" le 1.2
        done
    fi
    row "peak RSS of run, 1 GiB line" MB "$rss_gb_run" "$(fixed 65536)" limit over "< 1x" lt 1
    row "peak RSS of check, 1 GiB line" MB "$rss_gb_check" "$(fixed 65536)" limit over "< 1x" lt 1
    row "peak RSS of run, 300 MiB line" MB "$rss_mb_run" "$(fixed 65536)" limit over "< 1x" lt 1
    row "peak RSS of check, 300 MiB line" MB "$rss_mb_check" "$(fixed 65536)" limit over "< 1x" lt 1
    row "out of memory (ulimit -v 200 MB)" exit "$oom_code" "$oom_lines" "" "" "exit 1" "" "$oom_ok"
    for mode in "${table_modes[@]}"; do
        row "table, 10 $mode, vs cat" s "${t_mode[$mode]}" "$t_cat" cat over "<= 3x" le 3
        row "table, 10 $mode, vs gawk" s "${t_mode[$mode]}" "${t_awk_mode[$mode]}" awk speedup ">= 20x" ge 20
    done
    row "peak RSS of table, 10 nearest" MB "$rss_table" "$(fixed 65536)" limit over "< 1x" lt 1
    row "peak RSS of table, 10 area" MB "$rss_table_area" "$(fixed 65536)" limit over "< 1x" lt 1
    if [[ "$huge_on" != 0 ]]; then
        # Every line of the file lies in the range and is read in full, on one thread: the figure is
        # the cost of such lines, with no target of its own; the memory's is the one.
        row "table, area of a 1 GB file, vs cat" s "${t_huge% * * *}" "${t_huge#* * * }" cat over "none" "" ""
        row "peak RSS of table, area of 1 GB" MB "$rss_huge" "$(fixed 65536)" limit over "< 1x" lt 1
    fi
} | awk -F'\t' '
BEGIN {
    fmt = "%-40s %12s %15s %9s %17s %10s  %s\n"
    printf fmt, "measurement", "figure", "baseline", "ratio", "spread", "target", "result"
    printf fmt, "----------------------------------------", "------------", "---------------", "---------",
        "-----------------", "----------", "------"
}
$2 == "exit" {
    printf fmt, $1, "exit " $3, $4 " line" ($4 == 1 ? "" : "s"), "-", "-", $7, $9 ? "met" : "MISSED"
    next
}
{
    split($3, f, " "); split($4, b, " ")
    if ($6 == "over") { r = f[1] / b[1]; lo = f[2] / b[3]; hi = f[3] / b[2] }
    else { r = b[1] / f[1]; lo = b[2] / f[3]; hi = b[3] / f[2] }
    ok = $8 == "le" ? r <= $9 : $8 == "lt" ? r < $9 : r >= $9
    printf fmt, $1, show(f[1], $2), show(b[1], $2) ($5 == "" ? "" : " " $5), sprintf("%.2fx", r),
        sprintf("%.2fx to %.2fx", lo, hi), $7, $8 == "" ? "-" : ok ? "met" : "MISSED"
}
function show(v, unit) {
    return unit == "s" ? sprintf("%.3f s", v) : unit == "ms" ? sprintf("%.1f ms", v * 1000) : sprintf("%.1f MB", v / 1024)
}'

# The shapes' table: each mode's median against cat's, with the spread of both.
echo
printf '%-12s %-12s %10s %10s %9s %17s %8s  %s\n' series mode table cat ratio "spread" target result
for shape in "${shapes[@]}"; do
    for mode in exact "${table_modes[@]}"; do
        echo "$shape $mode ${shape_figures[$shape.$mode]}"
    done
done | awk '{
    target = $2 == "exact" ? 2 : 3
    printf "%-12s %-12s %8.3f s %8.3f s %8.2fx %7.2fx to %5.2fx %6s  %s\n", $1, $2, $3, $6, $3 / $6, $4 / $8, $5 / $7,
        "<= " target "x", $3 / $6 <= target ? "met" : "MISSED"
}'

if ((!outputs_agree)); then
    echo
    echo "bench: outputs differ; first differing bytes:" >&2
    cmp "$work/cli/bench.txt" "$work/awk/bench.txt" >&2 || true
    cmp "$work/cli/bench.csv" "$work/awk/bench.csv" >&2 || true
    [[ "$huge_on" != 0 && "$huge_agreement" != OK ]] && echo "the 1 GB area: $huge_area, not $huge_exact" >&2
    if ((wine)); then
        for arch in i686 x86_64; do
            cmp "$work/$arch/bench.txt" "$work/cli/bench.txt" >&2 || true
            for mode in exact "${table_modes[@]}"; do
                native="$work/cli/bench-$mode.csv"
                [[ "$mode" == exact ]] && native="$work/cli/bench.csv"
                cmp "$work/$arch/bench-$mode.csv" "$native" >&2 || true
            done
        done
    fi
    exit 1
fi
if [[ "$table_rows" -ne $((files + 1)) || "$table_empty" -ne 0 ]]; then
    echo "bench: expected a header and one full row per file in the table, got $table_rows rows, $table_empty empty cells" >&2
    exit 1
fi
if ((!long_output_ok)); then
    echo "bench: the run on the 300 MiB line did not write the one row '1 tail'" >&2
    exit 1
fi
if [[ "$out_rows" -ne "$files" ]]; then
    echo "bench: expected one row per file ($files), got $out_rows" >&2
    exit 1
fi
