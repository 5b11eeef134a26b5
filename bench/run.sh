#!/usr/bin/env bash
# kesmaro benchmark: times a Release kesmaro-cli on a large generated series next to the
# page-cache read limit (cat) and an awk script doing the same consolidation, checks that
# both write the same bytes, and reports peak memory, a key check on a 20 MB file and a
# listing of 10,000 files. The same for `kesmaro-cli table` with ten values, against cat and
# an awk script doing the same numeric lookup. See bench/README.md.
#
# Exit status: 0 when everything ran and the outputs agree (missed targets are only
# reported), 1 when a step failed or the outputs differ.
#
# Environment:
#   BENCH_DIR    where data and the Release build go    (default: build/bench)
#   BENCH_FILES  files in the large series              (default: 200)
#   BENCH_ROWS   rows per file                          (default: 200000)
#   BENCH_RUNS   timed runs per measurement, median     (default: 3)
#   KESMARO_CLI  use this binary instead of building one
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

bench_dir="${BENCH_DIR:-build/bench}"
mkdir -p "$bench_dir"
bench_dir="$(cd "$bench_dir" && pwd)"
files="${BENCH_FILES:-200}"
rows="${BENCH_ROWS:-200000}"
runs="${BENCH_RUNS:-3}"
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

series="$bench_dir/data/series-${files}x${rows}"
large="$bench_dir/data/check-20mb"
listing="$bench_dir/data/list-${list_count}"
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
ensure_data "$listing" "$list_count empty files" empty "$listing" "$list_count"

series_bytes="$(folder_bytes "$series")"
mapfile -t series_files < <(find "$series" -maxdepth 1 -type f -name '*.txt' -printf '%f\n' | sort -n | sed "s|^|$series/|")

# --- build ---------------------------------------------------------------------------------

if [[ -n "${KESMARO_CLI:-}" ]]; then
    cli="$KESMARO_CLI"
else
    say "building kesmaro-cli (Release) in $bench_dir/release"
    cmake -S "$root" -B "$bench_dir/release" -DCMAKE_BUILD_TYPE=Release -DKESMARO_BUILD_TESTS=OFF >"$work/cmake.log" 2>&1 \
        || { cat "$work/cmake.log" >&2; die "cmake configure failed"; }
    cmake --build "$bench_dir/release" --parallel >"$work/build.log" 2>&1 \
        || { cat "$work/build.log" >&2; die "build failed"; }
    cli="$bench_dir/release/cli/kesmaro-cli"
fi
[[ -x "$cli" ]] || die "no kesmaro-cli at $cli"

# --- timing helpers ------------------------------------------------------------------------

# median_seconds RUNS CMD...: runs CMD RUNS times, prints the median wall time in seconds.
median_seconds() {
    local n="$1"; shift
    local -a times=()
    local i start end
    for ((i = 0; i < n; i++)); do
        start="$(date +%s%N)"
        "$@" || die "failed: $*"
        end="$(date +%s%N)"
        times+=("$((end - start))")
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { printf "%.4f\n", t[int((NR + 1) / 2)] / 1e9 }'
}

run_cli() { (cd "$work/cli" && "$cli" run --skip "$skip" --encoding gbk --output bench --force "$series" "$key" 2>"$work/cli.err"); }
run_cat() { cat "${series_files[@]}" > /dev/null; }
run_awk() { LC_ALL=C gawk -v key="$key" -v skip="$skip" -v enc=gbk -f "$root/bench/consolidate.awk" "${series_files[@]}" > "$work/awk/bench.txt"; }
run_table() { (cd "$work/cli" && "$cli" table --skip "$skip" --encoding gbk --output bench "$series" "${table_values[@]}" 2>"$work/table.err"); }
run_awk_table() { LC_ALL=C gawk -v skip="$skip" -v values="${table_values[*]}" -f "$root/bench/table.awk" "${series_files[@]}" > "$work/awk/bench.csv"; }
run_check() { "$cli" check --skip "$skip" --encoding gbk "$large" "$check_key" > "$work/check.out"; }
run_list() { "$cli" list "$listing" > "$work/list.out"; }

mkdir -p "$work/cli" "$work/awk"

# --- measurements --------------------------------------------------------------------------

say "warming the page cache ($((series_bytes / 1000000)) MB)"
cat "${series_files[@]}" "$large"/*.txt > /dev/null

say "kesmaro-cli run, $runs runs"
t_run="$(median_seconds "$runs" run_cli)"
say "cat, $runs runs"
t_cat="$(median_seconds "$runs" run_cat)"
say "gawk, $runs runs"
t_awk="$(median_seconds "$runs" run_awk)"

say "kesmaro-cli table with ${#table_values[@]} values, $runs runs"
t_table="$(median_seconds "$runs" run_table)"
say "gawk table, $runs runs"
t_awk_table="$(median_seconds "$runs" run_awk_table)"

[[ -f "$work/cli/bench.txt" ]] || die "kesmaro-cli run wrote no bench.txt"
[[ -f "$work/cli/bench.csv" ]] || die "kesmaro-cli table wrote no bench.csv"
outputs_agree=1
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

say "peak memory of kesmaro-cli run"
(cd "$work/cli" && /usr/bin/time -f %M -o "$work/rss" "$cli" run --skip "$skip" --encoding gbk --output bench --force "$series" "$key" 2>/dev/null) \
    || die "kesmaro-cli run failed under /usr/bin/time"
rss_kb="$(tail -n 1 "$work/rss")"

say "kesmaro-cli check on the 20 MB file, 5 runs"
t_check="$(median_seconds 5 run_check)"
say "kesmaro-cli list of $list_count files, $runs runs"
t_list="$(median_seconds "$runs" run_list)"

# --- report --------------------------------------------------------------------------------

echo
echo "series: $files files x $rows rows, $series_bytes bytes; key $key; output $out_rows rows, $out_bytes bytes"
echo "kesmaro-cli run said: $(tr '\n' ' ' < "$work/cli.err")"
echo "kesmaro-cli check said: $(tr '\n\t' '  ' < "$work/check.out")"
echo "kesmaro-cli list printed $(awk 'END { print NR }' "$work/list.out") lines"
echo "awk output vs kesmaro-cli output: $agreement"
echo "kesmaro-cli table, values ${table_values[*]}, said: $(tr '\n' ' ' < "$work/table.err")"
echo "awk table vs kesmaro-cli table: $table_agreement"
echo

awk -v t_run="$t_run" -v t_cat="$t_cat" -v t_awk="$t_awk" -v rss_kb="$rss_kb" -v out_bytes="$out_bytes" \
    -v t_check="$t_check" -v t_list="$t_list" -v list_count="$list_count" \
    -v t_table="$t_table" -v t_awk_table="$t_awk_table" 'BEGIN {
    fmt = "%-34s %12s %14s %9s %10s  %s\n"
    printf fmt, "measurement", "figure", "baseline", "ratio", "target", "result"
    printf fmt, "----------------------------------", "------------", "--------------", "---------", "----------", "------"
    row("run vs cat (page-cache read)", sprintf("%.3f s", t_run), sprintf("%.3f s cat", t_cat),
        t_run / t_cat, "<= 1.5x", t_run / t_cat <= 1.5)
    row("run vs gawk (same rules)", sprintf("%.3f s", t_run), sprintf("%.3f s awk", t_awk),
        t_awk / t_run, ">= 15x", t_awk / t_run >= 15)
    row("table, 10 values, vs cat", sprintf("%.3f s", t_table), sprintf("%.3f s cat", t_cat),
        t_table / t_cat, "<= 3x", t_table / t_cat <= 3)
    row("table, 10 values, vs gawk", sprintf("%.3f s", t_table), sprintf("%.3f s awk", t_awk_table),
        t_awk_table / t_table, ">= 20x", t_awk_table / t_table >= 20)
    limit_mb = 64 + out_bytes / 1048576
    row("peak RSS of run", sprintf("%.1f MB", rss_kb / 1024), sprintf("%.1f MB limit", limit_mb),
        rss_kb / 1024 / limit_mb, "< 1x", rss_kb / 1024 < limit_mb)
    row("check, 20 MB first file", sprintf("%.1f ms", t_check * 1000), "100 ms",
        t_check * 1000 / 100, "well < 1x", t_check < 0.1)
    row(sprintf("list, %d files", list_count), sprintf("%.3f s", t_list), "0.5 s",
        t_list / 0.5, "< 1x", t_list < 0.5)
}
function row(name, figure, baseline, ratio, target, ok) {
    printf fmt, name, figure, baseline, sprintf("%.2fx", ratio), target, ok ? "met" : "MISSED"
}'

if ((!outputs_agree)); then
    echo
    echo "bench: outputs differ; first differing bytes:" >&2
    cmp "$work/cli/bench.txt" "$work/awk/bench.txt" >&2 || true
    cmp "$work/cli/bench.csv" "$work/awk/bench.csv" >&2 || true
    exit 1
fi
if [[ "$table_rows" -ne $((files + 1)) || "$table_empty" -ne 0 ]]; then
    echo "bench: expected a header and one full row per file in the table, got $table_rows rows, $table_empty empty cells" >&2
    exit 1
fi
if [[ "$out_rows" -ne "$files" ]]; then
    echo "bench: expected one row per file ($files), got $out_rows" >&2
    exit 1
fi
