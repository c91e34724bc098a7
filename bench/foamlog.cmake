# OpenFOAM solver-log loading benchmark: a synthetic log generator; the
# loading itself is measured by load_bench (bench/foamlog.md).
add_executable(foamlog_synth ${CMAKE_CURRENT_LIST_DIR}/foamlog_synth.cpp)
