#!/usr/bin/env bash
# Time-history table benchmark; see README.md, "Tables".
#   bench/table_run.sh [BUILD [WORKDIR]]
# VARIABLES, STEPS and LOOPS size the run (defaults 200, 25000, 3-5: about
# 100,000 records and 20 million values). The run is generated with monsynth
# and packed with monpack once, then:
#  1. table_bench: on one loaded run, the write phase three ways (plain
#     iostream, monexport's writer, raw write of the same bytes);
#  2. the whole commands from the results file: monexport against
#     table_reference (load + plain write), with wall time and peak memory;
#     the outputs are compared with cmp.
set -euo pipefail
build=${1:-build}
work=${2:-/tmp/monexport-table-bench}
variables=${VARIABLES:-200}
steps=${STEPS:-25000}
loops=${LOOPS:-3-5}
mkdir -p "$work"
mon=$work/run-$variables-$steps-$loops.mon
res=${mon%.mon}.res
if [[ ! -s $mon ]]; then
    "$build/monsynth" --out "$mon" --variables "$variables" --steps "$steps" \
        --loops "$loops" --seed 5
fi
[[ -s $res ]] || "$build/monpack" -mon "$mon" -out "$res"

echo "== write phase, one loaded run: $res"
"$build/bench/table_bench" -res "$res" "$work"
rm -f "$work"/literal.csv "$work"/fast.csv "$work"/fast1.csv "$work"/raw.csv

echo "== whole commands"
measure() {  # label command...
    local label=$1
    shift
    /usr/bin/time -f "$label: %e s wall, %U s user, %M KB peak" "$@"
}
measure "monexport -showvars (open only)" "$build/monexport" -res "$res" -showvars >/dev/null
measure "monexport -lastvaluesonly (load all)" "$build/monexport" -res "$res" \
    -lastvaluesonly >/dev/null
measure "monexport" "$build/monexport" -res "$res" -out "$work/monexport.csv"
measure "table_reference" "$build/bench/table_reference" -res "$res" "$work/reference.csv"
stat -c %s "$work/monexport.csv" | awk '{printf "table: %.1f MB\n", $1 / 1e6}'
cmp "$work/monexport.csv" "$work/reference.csv" && echo "outputs identical (cmp)"
rm -f "$work/monexport.csv" "$work/reference.csv"
