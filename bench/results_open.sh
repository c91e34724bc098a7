#!/usr/bin/env bash
# Cost of exporting a few variables of a results file holding thousands:
# opening reads the records and the metadata, and only the variables
# exported are opened and read, so time and memory must not grow with the
# variables left unread.
#   bench/results_open.sh [BUILD] [WORKDIR]   (sized by VARIABLES, STEPS)
# Prints the mean wall, user, system and CPU seconds of one run (of ROUNDS,
# default 10) and the peak memory of monexport writing 3 variables, listing
# the variables (metadata only), and, for comparison, listing those of a
# results file with 2 variables (the process's start).
#
# Runs on the shared 2-core machine (load average 5.5), 2,000 steps x 3-5
# loops (about 8,000 records), CPU = user + system per run:
#   4,998 variables (102 MB file): 3 variables 0.071-0.073 s CPU, 22.9 MB;
#                                  -showvars   0.077-0.080 s CPU, 22.7 MB
#   2,498 variables (51 MB file):  3 variables 0.058-0.061 s CPU, 21.6 MB;
#                                  -showvars   0.062-0.065 s CPU, 21.4 MB
#   2-variable file, -showvars:    0.048-0.051 s CPU, 19.4 MB
# so each variable left unread still costs about 4 us of CPU and 0.7 KB:
# opening reads all metadata (35,000 texts at 4,998 variables) because the
# run's variable list holds every name and attribute. Instruction counts
# (valgrind --tool=callgrind, steady under load), 3 variables of 4,998:
# 143 million before the texts were decoded from one buffer and shared,
# 77 million after; 2,498 variables 56 million; the 2-variable file 29.
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
rounds=${ROUNDS:-10}
# Runs monexport ROUNDS times and prints the mean time of one run (the
# system's clock ticks are too coarse for one run of a few hundredths of a
# second) and the peak memory of the largest run.
measure() {  # LABEL ARGS...
    local label=$1 wall user sys peak; shift
    /usr/bin/time -f "%e %U %S %M" -o "$work/time" bash -c \
        'for ((i = 0; i < '"$rounds"'; ++i)); do "$@" -out /dev/null || exit 1; done' \
        _ "$build/monexport" "$@"
    read -r wall user sys peak <"$work/time"
    awk -v label="$label" -v n="$rounds" -v w="$wall" -v u="$user" -v s="$sys" -v m="$peak" \
        'BEGIN { printf "%s: %.3f s wall, %.3f s user, %.3f s system, %.3f s CPU, %d KB peak\n",
                 label, w / n, u / n, s / n, (u + s) / n, m }'
}
echo "$("$build/monexport" -res "$res" -showvars | wc -l) names in $res; mean of $rounds runs"
for round in 1 2 3; do
    measure "3 variables" -res "$res" -varlist "RMS P-Mass;TIME;MAX P-Mass"
    measure "-showvars" -res "$res" -showvars
    measure "2-variable file" -res "$small" -showvars
done
