#!/usr/bin/env bash
# Builds the `jov` program (release) and runs it on the demo company in examples/: the
# information report, its subsets counted, a conversion to the binary form and back, and a check
# that the text written back is the text read.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target jov
jov=build/release/app/jov/jov
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$jov" info examples/demo_company.jox
"$jov" subsets --calculate examples/demo_company.jox
"$jov" convert examples/demo_company.jox "$work/demo_company.jov"
"$jov" check "$work/demo_company.jov"
"$jov" convert "$work/demo_company.jov" "$work/demo_company.jox"
cmp examples/demo_company.jox "$work/demo_company.jox"
echo "The demo company went to the binary form ($(stat -c %s "$work/demo_company.jov") bytes) and back unchanged."
