#!/usr/bin/env bash
# Times `zelkora-cli to-codes` on 1 MiB of Japanese text as a whole process (start, table read,
# conversion, output) against a fixed-charset pipeline with no table to read,
# `iconv -f UTF-8 -t WINDOWS-31J | xxd -p`, on the same input, and prints the ratio of the
# medians for each benchmark table. Then prints the peak memory of zelkora-cli on that input.
#
# Usage: bench/compare_iconv.sh [BUILD_DIR]   (default: build-bench beside bench/)
# BUILD_DIR must hold bin/zelkora-cli and bench/zelkora-bench-data (bash bench/run.sh builds
# both). ZELKORA_BENCH_ROUNDS (default 10) rounds of 3 runs of each command, the commands taking
# turns, so that a change of load on a shared machine falls on all of them alike. Uses hyperfine
# when installed, else timing with date.
#
# The target compares like with like: the Windows-31J table, the charset iconv converts to. The
# 63,000-line table is timed as well: its reading dominates a process that converts 1 MiB once.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build-bench}" && pwd)
cli=$build/bin/zelkora-cli
make_data=$build/bench/zelkora-bench-data
rounds=${ZELKORA_BENCH_ROUNDS:-10}
limit_ratio=1.5
limit_peak_mib=40
target_table=windows-31j.SJIS.txt
tables=("$target_table" bmp.UNICODE.txt)

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
commands=("$reference")
for table in "${tables[@]}"; do
    commands+=("$(to_codes "$table")")
done

# Each command must succeed before its time means anything.
bash -o pipefail -c "$reference" || { echo "iconv cannot convert the text" >&2; exit 1; }
for table in "${tables[@]}"; do
    bash -c "$(to_codes "$table")" || { echo "zelkora-cli failed on $table" >&2; exit 1; }
done

# times/<n>: one wall time in milliseconds per line for command n.
mkdir "$data/times"
for ((round = 0; round < rounds; round++)); do
    if command -v hyperfine >/dev/null; then
        hyperfine --style none --warmup 1 --runs 3 --export-json "$data/round.json" \
            "${commands[@]}" >/dev/null 2>&1
        # The export lists the commands in order, each with its "times" array in seconds.
        awk -v dir="$data/times" '
            /"command":/ { n++ }
            /"times": \[/ { inside = 1; next }
            inside && /\]/ { inside = 0 }
            inside { gsub(/[ ,]/, ""); printf "%.3f\n", $0 * 1000 >> (dir "/" (n - 1)) }
        ' "$data/round.json"
    else
        for ((n = 0; n < ${#commands[@]}; n++)); do
            for run in 1 2 3; do
                start=$(date +%s%N)
                bash -c "${commands[n]}"
                end=$(date +%s%N)
                echo "$(((end - start) / 1000))" | awk '{ printf "%.3f\n", $1 / 1000 }' \
                    >>"$data/times/$n"
            done
        done
    fi
done

median() {
    sort -n "$1" | awk '{ t[NR] = $1 } END {
        printf "%.2f\n", (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2 }'
}

echo "input: $(stat -c %s "$text") bytes of UTF-8 text; $rounds rounds of 3 runs each, medians"
reference_ms=$(median "$data/times/0")
printf '%-54s %8.2f ms\n' "iconv -f UTF-8 -t WINDOWS-31J | xxd -p" "$reference_ms"
status=0
for ((n = 0; n < ${#tables[@]}; n++)); do
    table=${tables[n]}
    ms=$(median "$data/times/$((n + 1))")
    ratio=$(awk -v a="$ms" -v b="$reference_ms" 'BEGIN { printf "%.2f", a / b }')
    if [[ $table == "$target_table" ]]; then
        verdict=$(awk -v r="$ratio" -v l="$limit_ratio" 'BEGIN { print (r <= l) ? "ok" : "OVER" }')
        [[ $verdict == ok ]] || status=1
        verdict="(target: at most $limit_ratio) $verdict"
    else
        verdict="(for information)"
    fi
    printf '%-54s %8.2f ms  ratio %s %s\n' "zelkora-cli to-codes --table $table" "$ms" "$ratio" \
        "$verdict"
done

if [[ -x /usr/bin/time ]]; then
    for table in "${tables[@]}"; do
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
