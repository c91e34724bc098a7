#!/usr/bin/env bash
# Cost of exporting a few variables of a results file holding thousands:
# opening reads the records and the metadata, and only the variables
# exported are opened and read, so time and memory must not grow with the
# variables left unread.
#   bench/results_open.sh [BUILD] [WORKDIR]   (sized by VARIABLES, STEPS)
# Prints wall, user and system seconds and the peak memory of monexport
# writing 3 variables, listing the variables (metadata only), and, for
# comparison, listing those of a results file with 2 variables.
#
# Runs on the shared 2-core machine (load average 22), 4,996 variables x
# 2,000 steps x 3-5 loops (about 8,000 records; a 102 MB results file):
#   3 variables:  0.62-0.88 s wall, 0.12-0.14 s CPU, 26 MB peak
#   -showvars:    0.81-0.95 s wall, 0.13-0.14 s CPU, 26 MB peak
#   2-variable file, -showvars: 0.04-0.06 s CPU, 20 MB (the process's start)
# so opening the large file and reading 3 variables costs about 0.07 s of
# CPU and 6 MB beyond the start, mostly its 35,000 metadata texts.
set -euo pipefail
build=${1:-build}
work=${2:-/tmp/monexport-results-open-bench}
mkdir -p "$work"
mon=$work/run.mon
res=$work/run.res
[[ -s $mon ]] || "$build/monsynth" --out "$mon" --steps "${STEPS:-2000}" \
    --variables "${VARIABLES:-4997}" --seed 5
[[ -s $res ]] || "$build/monpack" -mon "$mon" -out "$res"
small=$work/small.res
printf 'monitor-file 1\nvar "A"\nvar "B"\n1 1 2\n' >"$work/small.mon"
"$build/monpack" -mon "$work/small.mon" -out "$small"
measure() {  # LABEL ARGS...
    local label=$1; shift
    /usr/bin/time -f "$label: %e s wall, %U s user, %S s system, %M KB peak" \
        "$build/monexport" "$@" -out /dev/null
}
echo "$("$build/monexport" -res "$res" -showvars | wc -l) names in $res"
for round in 1 2 3; do
    measure "3 variables" -res "$res" -varlist "RMS P-Mass;TIME;MAX P-Mass"
    measure "-showvars" -res "$res" -showvars
    measure "2-variable file" -res "$small" -showvars
done
