#!/usr/bin/env bash
# Times `zelkora-cli to-codes` on 1 MiB of Japanese text as a whole process (start, table read,
# conversion, output) against a fixed-charset pipeline with no table to read,
# `iconv -f UTF-8 -t WINDOWS-31J | xxd -p`, on the same input, and prints the ratio of the
# medians for each benchmark table. Then prints the peak memory of zelkora-cli on that input.
#
# Usage: bench/compare_iconv.sh [BUILD_DIR]   (default: build-bench beside bench/)
# BUILD_DIR must hold bin/zelkora-cli and bench/zelkora-bench-data (bash bench/run.sh builds
# both). Uses hyperfine when installed, else repeated timing with date.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build-bench}" && pwd)
cli=$build/bin/zelkora-cli
make_data=$build/bench/zelkora-bench-data
runs=${ZELKORA_BENCH_RUNS:-30}
limit_ratio=1.5
limit_peak_mib=40

for tool in "$cli" "$make_data"; do
    [[ -x $tool ]] || { echo "missing $tool: build it first (bash bench/run.sh)" >&2; exit 1; }
done
for tool in iconv xxd; do
    command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 1; }
done

data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
"$make_data" "$data" >/dev/null
text=$data/text.utf8.txt

reference="iconv -f UTF-8 -t WINDOWS-31J < '$text' | xxd -p > /dev/null"
to_codes() { echo "'$cli' to-codes --table '$data/$1' --line-break < '$text' > /dev/null"; }

# Median wall time in milliseconds of a shell command.
median_ms() {
    local command=$1
    if command -v hyperfine >/dev/null; then
        hyperfine --style none --warmup 3 --runs "$runs" --export-json "$data/run.json" \
            "$command" >/dev/null
        # The only "median" key in the export is the command's.
        sed -n 's/.*"median": *\([0-9.eE+-]*\).*/\1/p' "$data/run.json" |
            awk '{ printf "%.2f\n", $1 * 1000 }'
    else
        local i start end
        for ((i = 0; i < runs; i++)); do
            start=$(date +%s%N)
            bash -c "$command"
            end=$(date +%s%N)
            echo $(((end - start) / 1000))
        done | sort -n | awk '{ t[NR] = $1 } END {
            m = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
            printf "%.2f\n", m / 1000 }'
    fi
}

# Each command must succeed before its time means anything.
bash -o pipefail -c "$reference" || { echo "iconv cannot convert the text" >&2; exit 1; }
for table in bmp.UNICODE.txt windows-31j.SJIS.txt; do
    bash -c "$(to_codes "$table")" || { echo "zelkora-cli failed on $table" >&2; exit 1; }
done

echo "input: $(stat -c %s "$text") bytes of UTF-8 text; $runs runs each, medians"
reference_ms=$(median_ms "$reference")
printf '%-52s %8.2f ms\n' "iconv -f UTF-8 -t WINDOWS-31J | xxd -p" "$reference_ms"
status=0
for table in bmp.UNICODE.txt windows-31j.SJIS.txt; do
    ms=$(median_ms "$(to_codes "$table")")
    ratio=$(awk -v a="$ms" -v b="$reference_ms" 'BEGIN { printf "%.2f", a / b }')
    verdict=$(awk -v r="$ratio" -v l="$limit_ratio" 'BEGIN { print (r <= l) ? "ok" : "OVER" }')
    printf '%-52s %8.2f ms  ratio %s (limit %s) %s\n' "zelkora-cli to-codes --table $table" \
        "$ms" "$ratio" "$limit_ratio" "$verdict"
    [[ $verdict == ok ]] || status=1
done

if [[ -x /usr/bin/time ]]; then
    for table in bmp.UNICODE.txt windows-31j.SJIS.txt; do
        kib=$(/usr/bin/time -v "$cli" to-codes --table "$data/$table" --line-break \
            <"$text" 2>&1 >/dev/null | sed -n 's/.*Maximum resident set size (kbytes): //p')
        verdict=$(awk -v k="$kib" -v l="$limit_peak_mib" 'BEGIN { print (k / 1024 < l) ? "ok" : "OVER" }')
        printf 'peak memory, zelkora-cli to-codes --table %-22s %6.1f MiB (limit %s) %s\n' \
            "$table" "$(awk -v k="$kib" 'BEGIN { print k / 1024 }')" "$limit_peak_mib" "$verdict"
        [[ $verdict == ok ]] || status=1
    done
else
    echo "peak memory: /usr/bin/time not installed (Debian package time)"
fi
exit $status
