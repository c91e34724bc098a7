#!/usr/bin/env bash
# What following a growing run costs (bench/README.md, "Following a run"): a
# 1 GB OpenFOAM log, the same log as a case's, and a 1 GB monitor file, each
# grown by 1 MB at a time with an update after each, against one whole
# reading.
#   bench/follow.sh [BUILD] [WORKDIR]      # MEGABYTES=1000 UPDATES=6
# BUILD holds follow_bench, foamlog_synth and monsynth (default build-bench).
set -euo pipefail
build=${1:-build-bench}
work=${2:-/tmp/monexport-follow-bench}
megabytes=${MEGABYTES:-1000}
updates=${UPDATES:-6}
mkdir -p "$work/case"
log=$work/log.pimpleFoam
mon=$work/big.mon
[[ -s $log ]] || "$build/bench/foamlog_synth" "$log" "$megabytes"
# 1000 variables x 18 steps x 3-5 loops is about 1 MB of monitor file.
[[ -s $mon ]] || "$build/monsynth" --out "$mon" --variables 1000 \
    --steps $((megabytes * 18)) --loops 3-5 --seed 11
ln -f "$log" "$work/case/log.pimpleFoam"
sync
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
"$build/bench/follow_bench" mon "$log" "$work/grown" 1 "$updates"
"$build/bench/follow_bench" dir "$work/case" "$work/grown" 1 "$updates"
"$build/bench/follow_bench" mon "$mon" "$work/grown" 1 "$updates"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
