#!/usr/bin/env bash
# Regenerates the example runs with monsynth and monpack (built in BUILD,
# default build/). The same options always give the same bytes.
set -euo pipefail
cd "$(dirname "$0")"
bin=${1:-../build}
rm -rf transient.dir transient.res
"$bin/monsynth" --out transient.mon --steps 12 --loops 1-3 --segments 2 --overlap 2 --seed 7
"$bin/monsynth" --dir transient.dir --steps 12 --loops 1-3 --segments 2 --overlap 2 --seed 7
"$bin/monpack" -mon transient.mon -out transient.res
"$bin/monsynth" --out steady.mon --steady --steps 20 --seed 7
