#!/usr/bin/env bash
# Plot drawing benchmark; see README.md, "Plots".
#   bench/plot_run.sh [BUILD [WORKDIR]]
# Generates with monsynth a run of VARIABLES variables (default 200) and
# RECORDS time steps of one coefficient loop each (default 200000), packs it
# with monpack, then times plot_bench (every default plot, values and SVG)
# and the whole monplot command, SVG and with -png.
set -euo pipefail
build=${1:-build}
work=${2:-/tmp/monexport-plot-bench}
variables=${VARIABLES:-200}
records=${RECORDS:-200000}
mkdir -p "$work"
mon=$work/run-$variables-$records.mon
res=${mon%.mon}.res
if [[ ! -s $mon ]]; then
    "$build/monsynth" --out "$mon" --variables "$variables" --steps "$records" --loops 1-1 \
        --seed 3
fi
[[ -s $res ]] || "$build/monpack" -mon "$mon" -out "$res"
data=$(cd "$(dirname "$0")/../data" && pwd)

echo "== every default plot, values and SVG: $res"
"$build/bench/plot_bench" -res "$res" "$data"

echo "== whole commands"
measure() {  # label command...
    local label=$1
    shift
    /usr/bin/time -f "$label: %e s wall, %U s user, %M KB peak" "$@"
}
rm -rf "$work/svg" "$work/png"
measure "monplot -all" "$build/monplot" -res "$res" -out "$work/svg" -all
measure "monplot -all -png" "$build/monplot" -res "$res" -out "$work/png" -all -png
ls -l "$work/svg" | sort -k5 -n | tail -3
