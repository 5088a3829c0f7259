#!/usr/bin/env bash
# Builds the `jov` program (release) and runs it on the demo company in examples/: the
# information report, its subsets counted, its stored analyses (the profit and loss account, the
# monthly sales report and the margins by cost centre on the terminal, the balance sheet as an
# HTML page), a conversion to the binary form and back, and a check that the text written back
# is the text read.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target jov
jov=build/release/app/jov/jov
demo=examples/demo_company.jox
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$jov" info "$demo"
"$jov" subsets --calculate "$demo"
"$jov" templates "$demo"
"$jov" export --format text "$demo" "Profit and loss 2024"
"$jov" export "$demo" "Monthly sales and margin"
"$jov" export "$demo" "Margins by cost centre 2024"
"$jov" components --dim Accounts --from 2024 --to 2024 --columns BRE --depth 1 "$demo"
report=build/demo/balance_sheet_2024.html
mkdir -p "$(dirname "$report")"
"$jov" export "$demo" "Balance sheet 2024" "$report"
echo "The balance sheet of 2024 is in $report."

"$jov" convert "$demo" "$work/demo_company.jov"
"$jov" check "$work/demo_company.jov"
"$jov" convert "$work/demo_company.jov" "$work/demo_company.jox"
cmp "$demo" "$work/demo_company.jox"
echo "The demo company went to the binary form ($(stat -c %s "$work/demo_company.jov") bytes) and back unchanged."
