#!/usr/bin/env bash
# Installs what is missing, builds quillmar-cli, writes the example songs and their file list
# into build/examples-run/input and converts them into build/examples-run/same (the input's
# own format), build/examples-run/format0 and build/examples-run/format1. The result list is shown and saved as
# build/examples-run/result.txt (Shift_JIS, CR LF).
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
# The list comes first: like a drop, it moves the slot's output folders to its own folder.
../../src/cli/quillmar-cli f_examples.csv --formats same,0,1 \
  --out-same ../same --out0 ../format0 --out1 ../format1 --save-result ../result.txt
echo
echo "Converted files:"
ls -l ../same ../format0 ../format1
