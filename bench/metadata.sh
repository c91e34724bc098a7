#!/usr/bin/env bash
# Cost of the variable and plot descriptions as runs grow: -varinfo of
# 50,000 and 100,000 variables (from the monitor file and from the results
# file), -plotinfo of 20,000 and 40,000 variables (100 variables a group, so
# 200 and 400 group plots) and of 1,000 and 2,000 groups of 10 variables.
# Doubling the run must about double the CPU time: each pair is followed by
# the ratio of its CPU times (user + system).
#   bench/metadata.sh [BUILD] [WORKDIR]   (ROUNDS: measurements of each, default 1)
# The runs (3 steps each) are generated once and kept in WORKDIR. Outputs
# that must agree are compared: the documents of the monitor file and of the
# results file packed from it.
set -euo pipefail
build=${1:-build}
work=${2:-/tmp/monexport-metadata-bench}
mkdir -p "$work"
export ORB_DATA_DIR=${ORB_DATA_DIR:-$(cd "$(dirname "$0")/.." && pwd)/data}

generate() {  # NAME MONSYNTH-OPTIONS...
    local name=$1; shift
    [[ -s $work/$name.mon ]] || "$build/monsynth" --out "$work/$name.mon" --steps 3 --seed 1 "$@"
}
pack() {  # NAME
    [[ -s $work/$1.res ]] || "$build/monpack" -mon "$work/$1.mon" -out "$work/$1.res"
}
generate v50000 --variables 50000
generate v100000 --variables 100000
generate v20000 --variables 20000
generate v40000 --variables 40000
generate g1000 --variables 10000 --groups 1000
generate g2000 --variables 20000 --groups 2000
pack v100000
pack v40000

cpu=()  # CPU seconds of the measurements, in order
measure() {  # LABEL OUTPUT MONEXPORT-ARGUMENTS...
    local label=$1 output=$2; shift 2
    local times=$work/time.txt
    /usr/bin/time -o "$times" -f "%e %U %S %M" "$build/monexport" "$@" -out "$output"
    read -r wall user system peak <"$times"
    echo "$label: $wall s wall, $user s user, $system s system, $peak KB peak"
    cpu+=("$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')")
}
ratio() {  # LABEL: the last two measurements, the later over the earlier
    local n=${#cpu[@]}
    awk -v label="$1" -v a="${cpu[n - 2]}" -v b="${cpu[n - 1]}" \
        'BEGIN { printf "%s: CPU %s s / %s s = %.2f\n", label, b, a, (a > 0 ? b / a : 0) }'
}
same() {  # FILE FILE
    if cmp -s "$1" "$2"; then echo "same: $(basename "$1") $(basename "$2")"; else
        echo "DIFFERENT: $1 $2"; exit 1; fi
}

echo "load: $(uptime | sed 's/.*load average: //')"
for ((round = 1; round <= ${ROUNDS:-1}; ++round)); do
    measure "-varinfo 50,000 variables" "$work/v50000.varinfo" -mon "$work/v50000.mon" -varinfo
    measure "-varinfo 100,000 variables" "$work/v100000.varinfo" -mon "$work/v100000.mon" -varinfo
    ratio "-varinfo 100,000 / 50,000 variables"
    measure "-varinfo 100,000 variables, results file" "$work/v100000-res.varinfo" \
        -res "$work/v100000.res" -varinfo
    measure "-plotinfo 20,000 variables" "$work/v20000.plotinfo" -mon "$work/v20000.mon" -plotinfo
    measure "-plotinfo 40,000 variables" "$work/v40000.plotinfo" -mon "$work/v40000.mon" -plotinfo
    ratio "-plotinfo 40,000 / 20,000 variables"
    measure "-plotinfo 40,000 variables, results file" "$work/v40000-res.plotinfo" \
        -res "$work/v40000.res" -plotinfo
    measure "-plotinfo 1,000 groups" "$work/g1000.plotinfo" -mon "$work/g1000.mon" -plotinfo
    measure "-plotinfo 2,000 groups" "$work/g2000.plotinfo" -mon "$work/g2000.mon" -plotinfo
    ratio "-plotinfo 2,000 / 1,000 groups"
done
echo "load: $(uptime | sed 's/.*load average: //')"
same "$work/v100000.varinfo" "$work/v100000-res.varinfo"
same "$work/v40000.plotinfo" "$work/v40000-res.plotinfo"
echo "plots: $(grep -c '<Plot ' "$work/g2000.plotinfo") in the 2,000-group document," \
    "$(grep -c '<Plot ' "$work/v40000.plotinfo") in the 40,000-variable one"
