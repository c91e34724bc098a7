# CGNS benchmark: what reading 3 arrays of a 5,000-array convergence history
# costs against reading all (bench/cgns.md). load_bench reads the
# files; this writes them.
add_executable(cgns_bench_writer ${PROJECT_SOURCE_DIR}/tests/tools/make_cgns.cpp)
target_link_libraries(cgns_bench_writer PRIVATE monexport_hdf5)
