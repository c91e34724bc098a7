#!/usr/bin/env bash
# A study of RUNS runs (default 1,000) of VARIABLES variables (200) x STEPS
# steady steps (2,000), every other one a monitor file and the others
# results files: the wall time of `monexport -study -lastvaluesonly` on the
# usable cores against the sum of the single-run commands' wall times, its
# peak memory, and monexport.dask.study on a 2-worker LocalCluster.
#   bench/study.sh [BUILD] [WORKDIR]
# The runs are made once in WORKDIR (about 3.6 GB) and kept for later calls.
# Figures in bench/README.md, "Studies".
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
work=${2:-/tmp/monexport-study-bench}
runs=${RUNS:-1000}
mkdir -p "$work/sweep"
for ((i = 0; i < runs; i++)); do
    name=$(printf '%s/sweep/case_%04d' "$work" "$i")
    [[ -s $name.mon || -s $name.res ]] && continue
    "$build/monsynth" --out "$name.mon" --steady --variables "${VARIABLES:-200}" \
        --steps "${STEPS:-2000}" --seed "$((i + 1))"
    if ((i % 2)); then
        "$build/monpack" -mon "$name.mon" -out "$name.res"
        rm "$name.mon"
    fi
done

now() { date +%s.%N; }

# The single-run commands, one after the other.
printf "runs %d, usable cores %d\n" "$runs" "$(nproc)"
start=$(now)
for run in "$work"/sweep/case_*; do
    case $run in
    *.res) "$build/monexport" -res "$run" -lastvaluesonly >/dev/null ;;
    *) "$build/monexport" -mon "$run" -lastvaluesonly >/dev/null ;;
    esac
done
single=$(echo "$(now) - $start" | bc)
printf 'single-run commands, summed: %.2f s\n' "$single"

# The study, with its peak memory.
/usr/bin/time -f '%e %M' -o "$work/study.time" \
    "$build/monexport" -study "$work/sweep/case_*" -lastvaluesonly -out "$work/study.csv"
read -r study_wall study_kb <"$work/study.time"
printf 'study: %.2f s (%.2f of the sum), peak %.1f MB\n' "$study_wall" \
    "$(echo "$study_wall / $single" | bc -l)" "$(echo "$study_kb / 1024" | bc -l)"

# The same through Dask.
dask_wall=$(PYTHONPATH="$build/python" /usr/bin/python3 "$(dirname "$0")/study_dask.py" \
    "$work/sweep/case_*")

printf 'dask.study on 2 workers: %.2f s (%.2f of the study)\n' "$dask_wall" \
    "$(echo "$dask_wall / $study_wall" | bc -l)"
