#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ (clang, with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS seconds (default 60) on a seed corpus
# made from the examples:
#   bash scripts/fuzz.sh [SECONDS]
# Prints each target's executions and exits non-zero on any finding; the input that found
# it is kept in build-fuzz/run/findings/ (turn it into a regression test).
set -euo pipefail
seconds=${1:-60}
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" --target fuzz_conversion fuzz_list fuzz_edit_rows \
  fuzz_text make-examples

run=build-fuzz/run
rm -rf "$run"
mkdir -p "$run/examples" "$run/findings"
build-fuzz/examples/make-examples "$run/examples" >/dev/null
for target in conversion list edit_rows text; do mkdir -p "$run/corpus-$target"; done
# Songs; lists behind the byte that chooses their kind (volume, tone, drum, edit, order);
# the edit list's rows one by one; file and list names as texts.
cp "$run"/examples/*.mid "$run/corpus-conversion/"
kind=0
for list in v t d e o; do
  { printf "\\x0$kind"; cat "$run/examples/${list}_examples.csv"; } >"$run/corpus-list/$list"
  kind=$((kind + 1))
done
tail -n +2 "$run/examples/e_examples.csv" | split -l 1 - "$run/corpus-edit_rows/row-"
cp "$run/examples/e_examples.csv" "$run/corpus-edit_rows/all"
cp "$run/examples/f_examples.csv" "$run/corpus-text/file-list"
printf '%s' 'C:\曲\表ソ\song.mid' | iconv -f UTF-8 -t CP932 >"$run/corpus-text/path"

status=0
for target in conversion list edit_rows text; do
  if output=$(build-fuzz/fuzz/fuzz_$target -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$run/findings/$target-" "$run/corpus-$target" 2>&1); then
    result=ok
  else
    result=FINDING
    status=1
    echo "$output" | tail -40
  fi
  executions=$(echo "$output" | sed -n 's/^stat::number_of_executed_units: *//p')
  echo "fuzz_$target: ${executions:-0} executions in ${seconds} s: $result"
done
exit $status
