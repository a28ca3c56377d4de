#!/usr/bin/env bash
# Formats every C++ file of the repository with the style file at its root.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -co --exclude-standard -- '*.cpp' '*.h' | xargs -r clang-format -i
