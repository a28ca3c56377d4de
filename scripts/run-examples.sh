#!/usr/bin/env bash
# Installs what is missing, builds quillmar-cli, writes the example songs, their file list
# and a volume, tone and drum list into build/examples-run/input, and converts the songs
# twice: plainly in slot 1 into build/examples-run/{same,format0,format1}, and with the
# three lists in slot 2 into build/examples-run/adjusted-{same,format0,format1} ("same" is
# the input's own format). The result list is shown and saved as build/examples-run/result.txt
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
# Paths come before the folders: like a drop, each moves the slot's output folders to its
# own folder.
../../src/cli/quillmar-cli f_examples.csv --formats same,0,1 \
  --out-same ../same --out0 ../format0 --out1 ../format1 \
  --slot 2 v_examples.csv t_examples.csv d_examples.csv \
  --out-same ../adjusted-same --out0 ../adjusted-format0 --out1 ../adjusted-format1 \
  --save-result ../result.txt
echo
echo "Converted files:"
ls ../same ../format0 ../format1 ../adjusted-same ../adjusted-format0 ../adjusted-format1
