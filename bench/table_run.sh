#!/usr/bin/env bash
# Time-history table benchmark; see README.md, "Tables".
#   bench/table_run.sh [BUILD_DIR [VARIABLES [STEPS]]]
# Generates a synthetic run once (kept in $TABLE_BENCH_DIR), then
#  1. table_bench: on one loaded run, the write phase three ways (plain
#     iostream, monexport's writer, raw write of the same bytes);
#  2. the whole commands: monexport against table_reference (load + plain
#     write), with wall time and peak memory; the outputs are compared.
set -euo pipefail
build=${1:-build}
variables=${2:-200}
steps=${3:-40000}
work=${TABLE_BENCH_DIR:-/tmp/monexport-table-bench}
mkdir -p "$work"
source_file="$work/run-$variables-$steps.mon"
[ -s "$source_file" ] || "$build/bench/table_synth" "$source_file" "$variables" "$steps"
echo "== write phase, one loaded run: $source_file"
"$build/bench/table_bench" -mon "$source_file" "$work"
rm -f "$work"/literal.csv "$work"/fast.csv "$work"/fast1.csv "$work"/raw.csv

echo "== whole commands"
measure() {  # label command...
    local label=$1; shift
    /usr/bin/time -f "$label: %e s wall, %M KB peak" "$@"
}
measure "monexport -showvars (load only)" "$build/app/monexport" -mon "$source_file" -showvars >/dev/null
measure "monexport" "$build/app/monexport" -mon "$source_file" -out "$work/monexport.csv"
measure "table_reference" "$build/bench/table_reference" -mon "$source_file" "$work/reference.csv"
ls -l "$work/monexport.csv" | awk '{printf "table: %.1f MB\n", $5 / 1e6}'
cmp "$work/monexport.csv" "$work/reference.csv" && echo "outputs identical (cmp)"
rm -f "$work/monexport.csv" "$work/reference.csv"
