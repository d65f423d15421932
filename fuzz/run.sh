#!/usr/bin/env bash
# bash fuzz/run.sh TARGET|all SECONDS
# Builds the libFuzzer targets with clang in build-fuzz/ and fuzzes each for SECONDS, one after
# another. New inputs go to build-fuzz/corpus/TARGET (seeded from fuzz/corpus/TARGET, which stays
# as it is); a crash, leak or slow input is saved in build-fuzz/artifacts/TARGET/ and stops the
# run with a non-zero status. Add a reproducer to fuzz/corpus/TARGET once it is fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
targets=(DetectEncoding TableReader Conversions IniReader Spacing)
if (($# != 2)) || ! [[ "$2" =~ ^[0-9]+$ ]]; then
  echo "usage: bash fuzz/run.sh TARGET|all SECONDS   (targets: ${targets[*]})" >&2
  exit 2
fi
if [[ "$1" != all ]]; then
  [[ " ${targets[*]} " == *" $1 "* ]] || { echo "unknown target: $1" >&2; exit 2; }
  targets=("$1")
fi
seconds=$2

build=build-fuzz
CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZELKORA_GUI=OFF -DZELKORA_TESTS=OFF -DZELKORA_BENCH=OFF -DZELKORA_FUZZ=ON >/dev/null
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"

for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  artifacts=$build/artifacts/$target
  mkdir -p "$corpus" "$artifacts"
  echo "== $target for ${seconds}s"
  # -timeout catches hangs; a second of work on one input of a few KiB is already a fault.
  "$build/fuzz/fuzz_$target" "$corpus" "fuzz/corpus/$target" -max_total_time="$seconds" \
    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/"
done
