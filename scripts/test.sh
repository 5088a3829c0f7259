#!/usr/bin/env bash
# Builds JOV and runs every test. Usage: scripts/test.sh [PRESET...] (default: dev).
# Presets: dev, asan (AddressSanitizer + UndefinedBehaviorSanitizer), tsan (ThreadSanitizer),
# clang.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

presets=("$@")
[ ${#presets[@]} -eq 0 ] && presets=(dev)
jobs=$(nproc)
for preset in "${presets[@]}"; do
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "== $preset: tests"
  ctest --preset "$preset" -j "$jobs"
done
