#!/usr/bin/env bash
# The cost of the statistics table (see bench/README.md, "Statistics"):
# CPU time (user + system, every thread) of `-stats -window auto` against
# writing the whole table without coefficient loops to /dev/null, on the
# same run, from a monitor file and from the results file packed from it.
#   bench/stats.sh [BUILD] [WORKDIR]
# BUILD holds monexport, monsynth and monpack (default build); WORKDIR gets
# the generated files (default /tmp/monexport-stats-bench, about 2 GB).
# VARIABLES and STEPS size the run (defaults 100 and 1000000); ROUNDS is how
# often each command runs (default 3; the smallest CPU time counts).
set -euo pipefail
build=${1:-build}
work=${2:-/tmp/monexport-stats-bench}
steps=${STEPS:-1000000}
mkdir -p "$work"
mon=$work/stats.mon
res=$work/stats.res
[[ -s $mon ]] || "$build/monsynth" --out "$mon" --steady --variables "${VARIABLES:-100}" \
    --steps "$steps" --seed 5
[[ -s $res ]] || "$build/monpack" -mon "$mon" -out "$res"

# The smallest CPU seconds of ROUNDS runs of the command.
cpu() {
    local best=""
    for _ in $(seq "${ROUNDS:-3}"); do
        /usr/bin/time -f "%U %S" -o "$work/time.txt" "$@" > /dev/null 2>&1
        local t
        t=$(awk '{print $1 + $2}' "$work/time.txt")
        if [[ -z $best ]] || awk "BEGIN{exit !($t < $best)}"; then best=$t; fi
    done
    echo "$best"
}

variables=$("$build/monexport" -mon "$mon" -showvars | wc -l)
echo "run: $steps steps, $((variables - 1)) variables"
for source in "-mon $mon" "-res $res"; do
    table=$(cpu "$build/monexport" $source -nocoeffloops -out /dev/null)
    stats=$(cpu "$build/monexport" $source -stats -window auto -out /dev/null)
    ratio=$(awk "BEGIN{printf \"%.2f\", $stats / $table}")
    echo "${source%% *}: table ${table}s, -stats ${stats}s, ratio $ratio (target <= 2)"
done
