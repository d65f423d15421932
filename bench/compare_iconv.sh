#!/usr/bin/env bash
# Times zelkora-cli on 1, 16 and 128 MiB of Japanese text as a whole process (start, table read,
# conversion, output) against the standard pipeline doing the nearest job with a fixed charset and
# no table to read, in four cases:
#   to-codes:  iconv -f UTF-8 -t WINDOWS-31J | xxd -p
#   to-text:   xxd -r -p | iconv -f WINDOWS-31J -t UTF-8
# each with the Windows-31J table (stored in Shift_JIS) and with the 63,000-line UTF-16 table.
# to-text reads the codes to-codes wrote with the same table; the pipeline reads xxd's dump.
# zelkora-cli converts the whole input as the window does (--whole --line-break), so a CR LF
# converts as the tables' LF entry. Both tables give the bytes in file order, so before a case is
# timed its output is held against the pipelines': the codes of to-codes, read back by xxd -r -p,
# are iconv's bytes of the text with LF line ends (Windows-31J, or UTF-16LE for the UTF-16
# table), and to-text gives what xxd -r -p | iconv gives, with LF line ends; and its MD5 is the
# one recorded in outputs.md5 beside this script (the output of the build before the input was
# read a block at a time).
#
# Usage: bench/compare_iconv.sh [BUILD_DIR]   (default: build-bench beside bench/)
# BUILD_DIR must hold bin/zelkora-cli and bench/zelkora-bench-data (bash bench/run.sh builds
# both). ZELKORA_BENCH_SIZES (default "1 16 128") the sizes in MiB. ZELKORA_BENCH_PAIRS (default
# 40) pairs of runs per case at 1 MiB, ZELKORA_BENCH_PAIRS_LARGE (default 5) at larger sizes,
# pipeline and zelkora-cli taking turns, so that a change of load on the shared machine falls on both alike. For each pair the
# ratio zelkora-cli / pipeline of the wall time and of the CPU time (user + sys of every process
# of the pipeline); the medians of those ratios are reported and judged, with the peak memory of
# zelkora-cli. Exits with 1 when an output differs from the pipelines' or a limit is exceeded.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build-bench}" && pwd)
cli=$build/bin/zelkora-cli
make_data=$build/bench/zelkora-bench-data
sizes=${ZELKORA_BENCH_SIZES:-1 16 128}
pairs_small=${ZELKORA_BENCH_PAIRS:-40}
pairs_large=${ZELKORA_BENCH_PAIRS_LARGE:-5}
recorded=$here/outputs.md5
limit_wall=1.0
limit_cpu=1.2
limit_peak_mib=40
w31j=windows-31j.SJIS.txt
plane=bmp.UNICODE.txt

# The charset whose bytes in file order each table's codes are.
declare -A charset=([$w31j]=WINDOWS-31J [$plane]=UTF-16LE)

for tool in "$cli" "$make_data"; do
    [[ -x $tool ]] || { echo "missing $tool: build it first (bash bench/run.sh)" >&2; exit 1; }
done
for tool in iconv xxd cmp; do
    command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 1; }
done

data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
text=$data/text.utf8.txt

reference() {
    case $1 in
        to-codes) echo "iconv -f UTF-8 -t WINDOWS-31J < '$text' | xxd -p > /dev/null" ;;
        to-text) echo "xxd -r -p < '$data/dump.hex' | iconv -f WINDOWS-31J -t UTF-8 > /dev/null" ;;
    esac
}
input() {
    case $1 in
        to-codes) echo "$text" ;;
        to-text) echo "$data/codes.$2" ;;
    esac
}
zelkora() { echo "'$cli' $1 --table '$data/$2' --whole --line-break < '$(input "$1" "$2")'"; }

# Whether zelkora-cli's output (file $3) for direction $1 with table $2 is the pipelines', LF
# standing for CR LF. The text ends without a line end, which --whole would write back as it is.
same_as_pipelines() {
    case $1 in
        to-codes) cmp -s <(xxd -r -p <"$3") \
            <(tr -d '\r' <"$text" | iconv -f UTF-8 -t "${charset[$2]}") ;;
        to-text) cmp -s "$3" \
            <(xxd -r -p <"$data/dump.hex" | iconv -f WINDOWS-31J -t UTF-8 | tr -d '\r') ;;
    esac
}

# One run: "wall cpu" in milliseconds, cpu being user + sys of every process the command started.
run() {
    local TIMEFORMAT='%3R %3U %3S' times
    times=$({ time eval "$1" >/dev/null 2>&1; } 2>&1)
    awk '{ printf "%.3f %.3f\n", $1 * 1000, ($2 + $3) * 1000 }' <<<"$times"
}

median() {
    sort -g | awk '{ v[NR] = $1 } END {
        printf "%.3f\n", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

status=0
for mib in $sizes; do
    "$make_data" "$data" --text-mib "$mib" >/dev/null
    iconv -f UTF-8 -t WINDOWS-31J <"$text" | xxd -p >"$data/dump.hex"
    pairs=$pairs_small
    ((mib > 1)) && pairs=$pairs_large
    echo
    printf '%s MiB: %s bytes of UTF-8 text; %s pairs per case, medians; load: %s\n' "$mib" \
        "$(stat -c %s "$text")" "$pairs" "$(cut -d' ' -f1-3 /proc/loadavg)"
    printf '| case | wall ratio | CPU ratio | wall ms (pipeline / zelkora-cli) | peak memory |\n'
    printf '|---|---|---|---|---|\n'
    for direction in to-codes to-text; do
        for table in "$w31j" "$plane"; do
            case=$direction/$table
            # Checked before it is timed; to-codes leaves the codes that to-text then reads.
            output=$data/out
            [[ $direction == to-codes ]] && output=$data/codes.$table
            bash -o pipefail -c "$(reference "$direction")" ||
                { echo "the pipeline fails on $case" >&2; exit 1; }
            bash -c "$(zelkora "$direction" "$table") > '$output'" ||
                { echo "zelkora-cli fails on $case" >&2; exit 1; }
            if ! same_as_pipelines "$direction" "$table" "$output"; then
                echo "zelkora-cli $case writes other output than the pipelines" >&2
                status=1
                continue
            fi
            sum=$(md5sum <"$output" | cut -d' ' -f1)
            if ! grep -qx "$mib $direction $table $sum" "$recorded"; then
                echo "zelkora-cli $case at $mib MiB writes other output than recorded in $recorded" >&2
                status=1
                continue
            fi

            # A warm-up of each, then the pairs.
            run "$(reference "$direction")" >/dev/null
            run "$(zelkora "$direction" "$table")" >/dev/null
            : >"$data/pairs"
            for ((i = 0; i < pairs; i++)); do
                echo "$(run "$(reference "$direction")") $(run "$(zelkora "$direction" "$table")")" \
                    >>"$data/pairs"
            done
            wall=$(awk '{ print $3 / $1 }' "$data/pairs" | median)
            cpu=$(awk '{ print $4 / $2 }' "$data/pairs" | median)
            wall_reference=$(awk '{ print $1 }' "$data/pairs" | median)
            wall_zelkora=$(awk '{ print $3 }' "$data/pairs" | median)

            /usr/bin/time -f %M -o "$data/peak" "$cli" "$direction" --table "$data/$table" \
                --whole --line-break <"$(input "$direction" "$table")" >/dev/null
            kib=$(cat "$data/peak")
            mib_peak=$(awk -v k="$kib" 'BEGIN { printf "%.1f", k / 1024 }')

            verdict=$(awk -v w="$wall" -v c="$cpu" -v m="$mib_peak" -v lw="$limit_wall" \
                -v lc="$limit_cpu" -v lm="$limit_peak_mib" \
                'BEGIN { print (w <= lw && c <= lc && m < lm) ? "ok" : "OVER" }')
            [[ $verdict == ok ]] || status=1
            printf '| %s, %s | %.2f | %.2f | %.1f / %.1f | %s MiB | %s\n' "$direction" "$table" \
                "$wall" "$cpu" "$wall_reference" "$wall_zelkora" "$mib_peak" "$verdict"
        done
    done
done
printf 'limits: wall ratio at most %s, CPU ratio at most %s, peak memory under %s MiB\n' \
    "$limit_wall" "$limit_cpu" "$limit_peak_mib"
exit $status
