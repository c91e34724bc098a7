#!/usr/bin/env bash
# Runs the CGNS benchmark (see bench/cgns.md).
#   bench/cgns.sh [BUILD] [WORKDIR]
# Writes a global convergence history of ARRAYS arrays of ITERATIONS doubles
# (defaults 5000 and 2000, about 80 MB) in both storage flavours, then opens
# each and reads 3 arrays, and opens it and reads all of them.
set -euo pipefail
build=${1:-build-bench}
work=${2:-/tmp/monexport-cgns-bench}
arrays=${ARRAYS:-5000}
iterations=${ITERATIONS:-2000}
mkdir -p "$work"
bench=$build/bench/load_bench
for flavour in adf hdf5; do
    file=$work/history-$flavour.cgns
    [[ -s $file ]] || "$build/bench/cgns_bench_writer" "$flavour" "$file" "$arrays" "$iterations"
    sync
    echo "== $flavour"
    "$bench" res "$file"
    "$bench" res "$file" RSDVar0RMS RSDVar2500RMS "RSDVar$((arrays - 1))RMS"
    "$bench" res-all "$file"
done
