#!/usr/bin/env bash
# The peak memory of zelkora-cli on 1 GiB of Japanese text (and on its codes) in lines of
# ordinary length, in each mode: the default line by line, --whole and --raw, both directions,
# with the Windows-31J table. The input is read a block at a time, so the peak stays under 64 MiB
# whatever the size; codes without any space are the one input held whole, and are not measured.
#
# Usage: bench/peak_memory.sh [BUILD_DIR]   (default: build-bench beside bench/)
# ZELKORA_BENCH_PEAK_MIB (default 1024) the size of the text in MiB. Needs about 4 times that on
# disk for the text and its codes. Exits with 1 when a peak reaches the limit.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build-bench}" && pwd)
cli=$build/bin/zelkora-cli
make_data=$build/bench/zelkora-bench-data
mib=${ZELKORA_BENCH_PEAK_MIB:-1024}
limit_mib=64
table=windows-31j.SJIS.txt

for tool in "$cli" "$make_data"; do
    [[ -x $tool ]] || { echo "missing $tool: build it first (bash bench/run.sh)" >&2; exit 1; }
done

data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
"$make_data" "$data" --text-mib "$mib" >/dev/null

status=0
printf 'text: %s bytes in lines of 20 to 79 characters; load: %s\n' \
    "$(stat -c %s "$data/text.utf8.txt")" "$(cut -d' ' -f1-3 /proc/loadavg)"
printf '| mode | to-codes: peak, wall | to-text of those codes: peak, wall |\n|---|---|---|\n'
for mode in --lines --whole --raw; do
    row="| $mode"
    for direction in to-codes to-text; do
        input=$data/text.utf8.txt
        [[ $direction == to-text ]] && input=$data/codes
        output=/dev/null
        [[ $direction == to-codes ]] && output=$data/codes
        /usr/bin/time -f '%M %e' -o "$data/peak" "$cli" "$direction" --table "$data/$table" \
            --line-break "$mode" <"$input" >"$output"
        read -r kib seconds <"$data/peak"
        peak=$(awk -v k="$kib" 'BEGIN { printf "%.1f", k / 1024 }')
        awk -v p="$peak" -v l="$limit_mib" 'BEGIN { exit !(p < l) }' || status=1
        row+=" | $peak MiB, $seconds s"
    done
    echo "$row |"
done
echo "limit: peak memory under $limit_mib MiB"
exit $status
