#!/usr/bin/env bash
# Installs what is missing, builds quillmar-cli, writes the example songs, their file list,
# a volume, tone and drum list and an edit and order list into build/examples-run/input, and
# converts the songs three times: plainly in slot 1 into build/examples-run/{same,format0,
# format1}, with the volume, tone and drum lists in slot 2 into
# build/examples-run/adjusted-{same,format0,format1}, and with the edit and order lists in
# slot 3 into build/examples-run/edited-{same,format0,format1} ("same" is the input's own
# format). The result list is shown and saved as build/examples-run/result.txt
# (Shift_JIS, CR LF).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default
cmake --build --preset default -j"$(nproc)" --target quillmar-cli make-examples
run=build/examples-run
rm -rf "$run"
mkdir -p "$run/input"
build/examples/make-examples "$run/input"
cd "$run/input"
../../src/cli/quillmar-cli f_examples.csv --formats same,0,1 \
  --out-same ../same --out0 ../format0 --out1 ../format1 \
  --slot 2 v_examples.csv t_examples.csv d_examples.csv \
  --out-same ../adjusted-same --out0 ../adjusted-format0 --out1 ../adjusted-format1 \
  --slot 3 e_examples.csv o_examples.csv \
  --out-same ../edited-same --out0 ../edited-format0 --out1 ../edited-format1 \
  --save-result ../result.txt
echo
echo "Converted files:"
ls ../same ../format0 ../format1 ../adjusted-same ../adjusted-format0 ../adjusted-format1 \
  ../edited-same ../edited-format0 ../edited-format1
