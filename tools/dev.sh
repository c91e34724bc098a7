#!/usr/bin/env bash
# One entry point for building and checking monexport on a Debian 12 machine.
#   tools/dev.sh demo      install what is missing, build, export an example run
#   tools/dev.sh test      install what is missing, build, run every test
#   tools/dev.sh sanitize  the tests again, built with ASan and UBSan
#   tools/dev.sh fuzz      build the fuzz targets and run each briefly
#   tools/dev.sh bench     build the benchmarks (see bench/README.md)
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)

# Every build goes through ccache, so that the Python package test, which
# builds the libraries again in a folder of its own as pip does, compiles
# little; the folder a build runs in is no part of what is cached.
export CCACHE_NOHASHDIR=1

build() {  # build DIR [cmake options...]
    local dir=$1; shift
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
}

case "${1:-}" in
demo)
    bash tools/install-deps.sh
    build build -DMONEXPORT_TESTS=OFF
    export ORB_DATA_DIR="$PWD/data"
    build/monexport -mon examples/transient.mon -varlist "RMS P-Mass;MAX P-Mass;TIME" -lasttimestep 3
    ;;
test)
    bash tools/install-deps.sh
    build build -DMONEXPORT_TESTS=ON -DMONEXPORT_PYTHON=ON -DPython3_EXECUTABLE=/usr/bin/python3
    ctest --test-dir build --output-on-failure -j "$jobs"
    ;;
sanitize)
    bash tools/install-deps.sh
    build build-sanitize -DMONEXPORT_TESTS=ON -DMONEXPORT_SANITIZE=ON
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
    ;;
fuzz)
    bash tools/install-deps.sh
    targets=()
    for source in fuzz/fuzz_*.cpp; do targets+=(--target "$(basename "$source" .cpp)"); done
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DMONEXPORT_TESTS=OFF -DMONEXPORT_FUZZ=ON >/dev/null
    cmake --build build-fuzz -j "$jobs" "${targets[@]}"
    for target in build-fuzz/fuzz/fuzz_*; do
        [[ -x $target ]] || continue
        name=$(basename "$target")
        [[ " ${FUZZ_SKIP:-} " == *" $name "* ]] && { echo "$name: skipped"; continue; }
        corpus=fuzz/corpus/${name#fuzz_}
        mkdir -p "build-fuzz/corpus-$name"
        log=build-fuzz/$name.log
        # Record counts overflow and skipped loops cost memory only with
        # thousands of lines: monitor-file inputs may be large.
        size=()
        [[ $name == fuzz_monitor_file ]] && size=(-max_len=400000)
        # A damaged file can make the HDF5 and CGNS libraries ask for absurd
        # sizes; as in a release build, malloc then returns null and the
        # library reports the damage instead of the allocator aborting.
        if ! ASAN_OPTIONS=allocator_may_return_null=1 "$target" -max_total_time="${FUZZ_SECONDS:-60}" -dict="fuzz/${name#fuzz_}.dict" \
            "${size[@]}" -rss_limit_mb=2048 -malloc_limit_mb=1024 \
            "build-fuzz/corpus-$name" "$corpus" >"$log" 2>&1; then
            tail -n 60 "$log"
            echo "$name: FAILED (log: $log)"
            exit 1
        fi
        echo "$name: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log"), no findings"
    done
    ;;
bench)
    bash tools/install-deps.sh
    build build-bench -DMONEXPORT_TESTS=OFF -DMONEXPORT_BENCH=ON
    ;;
*)
    sed -n '2,8p' "$0"
    exit 2
    ;;
esac
