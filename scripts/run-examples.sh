#!/usr/bin/env bash
# Installs what is missing and builds Quillmar. The command-line converter that will run
# on the bundled examples is not built yet; this builds every library and says so.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default
cmake --build --preset default -j"$(nproc)"
echo
echo "Built the Quillmar libraries in build/."
echo "quillmar-cli, which converts the examples, is not part of this version yet."
