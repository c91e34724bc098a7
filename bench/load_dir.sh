#!/usr/bin/env bash
# Run-directory loading against the same run in one file (bench/README.md,
# "Loading"): every segment of a run directory declares its variables again.
#   bench/load_dir.sh [BUILD] [WORKDIR]
# BUILD holds load_bench and monsynth (default build-bench); WORKDIR gets the
# generated runs (default /tmp/monexport-load-dir-bench, about 110 MB).
# SEGMENTS lists the segment counts (default "400 800"); each run has 200
# variables and 2 steps per segment.
set -euo pipefail
build=${1:-build-bench}
work=${2:-/tmp/monexport-load-dir-bench}
mkdir -p "$work"
bench=$build/bench/load_bench
for segments in ${SEGMENTS:-400 800}; do
    dir=$work/dir-$segments
    one=$work/one-$segments.mon
    steps=$((segments * 2))
    [[ -d $dir ]] || "$build/monsynth" --dir "$dir" --variables 200 --steps "$steps" \
        --segments "$segments" --seed 3
    [[ -s $one ]] || "$build/monsynth" --out "$one" --variables 200 --steps "$steps" --seed 3
    LOAD_WORKERS=1 "$bench" dir "$dir"
    LOAD_WORKERS=1 "$bench" mon "$one"
done
