# Loading benchmark: parse speed of monitor files, and what reading a few
# variables of a large results file costs against reading all (bench/README.md).
add_executable(load_bench ${CMAKE_CURRENT_LIST_DIR}/load_bench.cpp)
target_link_libraries(load_bench PRIVATE owl)
