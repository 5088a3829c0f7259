#!/usr/bin/env bash
# Builds the `jov` program (release) and runs it on the demo company in examples/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target jov
jov=build/release/app/jov/jov
"$jov" --version
"$jov" --help
