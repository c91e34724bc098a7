#!/usr/bin/env bash
# Runs the loading benchmark (see bench/README.md, "Loading").
#   bench/load.sh [BUILD] [WORKDIR]
# BUILD holds load_bench and the tools (default build-bench); WORKDIR gets the
# generated files (default /tmp/monexport-load-bench, about 1.4 GB).
# VARIABLES, STEPS and LOOPS size the run (defaults 1000, 20000, 3-5). The
# monitor file is loaded on every usable core, then on one (LOAD_WORKERS=1).
set -euo pipefail
build=${1:-build-bench}
work=${2:-/tmp/monexport-load-bench}
mkdir -p "$work"
mon=$work/large.mon
res=$work/large.res
if [[ ! -s $mon ]]; then
    "$build/monsynth" --out "$mon" --variables "${VARIABLES:-1000}" \
        --steps "${STEPS:-20000}" --loops "${LOOPS:-3-5}" --segments 2 --seed 11
fi
[[ -s $res ]] || "$build/monpack" -mon "$mon" -out "$res"
sync
bench=$build/bench/load_bench
"$bench" mon "$mon"
"$bench" mon "$mon"
LOAD_WORKERS=1 "$bench" mon "$mon"
"$bench" res "$res"
"$bench" res "$res" "RMS P-Mass" "TIME" "P1 Pressure"
"$bench" res-all "$res"
