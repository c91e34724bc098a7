#!/usr/bin/env bash
# Loading speed of an OpenFOAM solver log against our monitor file of about
# the same size (bench/foamlog.md).
#   bench/foamlog.sh [BUILD] [WORKDIR]
# BUILD holds load_bench, foamlog_synth and monsynth (default build-bench);
# WORKDIR gets the generated files (default /tmp/monexport-foamlog-bench).
# MEGABYTES sizes the log (default 100).
set -euo pipefail
build=${1:-build-bench}
work=${2:-/tmp/monexport-foamlog-bench}
megabytes=${MEGABYTES:-100}
mkdir -p "$work"
log=$work/log.pimpleFoam
mon=$work/similar.mon
[[ -s $log ]] || "$build/bench/foamlog_synth" "$log" "$megabytes"
# 1000 variables x 18 steps x 3-5 loops is about 1 MB of monitor file.
[[ -s $mon ]] || "$build/monsynth" --out "$mon" --variables 1000 \
    --steps $((megabytes * 18)) --loops 3-5 --seed 11
sync
for file in "$log" "$mon" "$log" "$mon"; do
    "$build/bench/load_bench" mon "$file"
done
# Patterns: a log whose every outer iteration holds two lines that two
# patterns match, exported without and with them, in turn.
patterned=$work/log.interFoam
[[ -s $patterned ]] || "$build/bench/foamlog_synth" "$patterned" "$megabytes" patterns
monexport=${MONEXPORT:-$build/monexport}
for round in 1 2 3; do
    /usr/bin/time -f "patterns=0 cpu_seconds=%U+%S" "$monexport" -mon "$patterned" >/dev/null
    /usr/bin/time -f "patterns=2 cpu_seconds=%U+%S" "$monexport" -mon "$patterned" \
        -pattern 'Phase-1 volume fraction = {alpha}  Min(alpha.water) = {alpha_min}' \
        -pattern 'mixingQuality = {mixing}' >/dev/null
done
