#!/usr/bin/env bash
# Builds Release in build-bench/ and runs every benchmark: the core benchmarks (medians of
# repeated runs), the whole-process comparison of zelkora-cli with iconv and xxd (wall and CPU
# ratios, peak memory) at 1, 16 and 128 MiB, the peak memory on 1 GiB, and, when the window is
# built, the window benchmark.
#
# Usage: bash bench/run.sh
# Environment: ZELKORA_GUI=OFF skips the window; ZELKORA_BENCH_REPETITIONS (default 10) and
# ZELKORA_BENCH_PAIRS (default 40, for compare_iconv.sh) set how often each figure is taken;
# ZELKORA_BENCH_SIZES and ZELKORA_BENCH_PEAK_MIB the sizes (see the two scripts).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-bench
gui=${ZELKORA_GUI:-ON}
repetitions=${ZELKORA_BENCH_REPETITIONS:-10}

# Warnings stay warnings here: this build is for measuring, the CI build checks them.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELKORA_GUI="$gui" \
    -DZELKORA_BENCH=ON -DZELKORA_FUZZ=OFF -DZELKORA_WERROR=OFF >/dev/null
targets=(zelkora-bench zelkora-bench-data zelkora-cli)
[[ $gui == ON ]] && targets+=(zelkora-window-bench)
cmake --build "$build" --target "${targets[@]}"

echo
echo "== core (median of $repetitions repetitions; Time is wall clock, CPU is this process)"
"$build/bench/zelkora-bench" --benchmark_repetitions="$repetitions" \
    --benchmark_report_aggregates_only=true \
    --benchmark_out="$build/bench/core.json" --benchmark_out_format=json |
    grep -E '^(Benchmark|-+$)|_median '

echo
echo "== whole process: zelkora-cli against iconv and xxd"
status=0
bash "$root/bench/compare_iconv.sh" "$build" || status=1

echo
echo "== peak memory of zelkora-cli on ${ZELKORA_BENCH_PEAK_MIB:-1024} MiB"
bash "$root/bench/peak_memory.sh" "$build" || status=1

if [[ $gui == ON ]]; then
    echo
    echo "== window"
    # A real X server when one is at hand, so text is laid out and drawn as on a desktop.
    if [[ -z ${DISPLAY:-} ]] && command -v xvfb-run >/dev/null; then
        xvfb-run -a -s "-screen 0 1280x1024x24" "$build/bench/zelkora-window-bench" -median 5 || status=1
    else
        "$build/bench/zelkora-window-bench" -median 5 || status=1
    fi
fi
exit $status
