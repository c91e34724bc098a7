# Loading benchmark: parse speed of monitor files, and what reading a few
# variables of a large results file costs against reading all (bench/README.md).
add_executable(load_bench ${CMAKE_CURRENT_LIST_DIR}/load_bench.cpp)
target_link_libraries(load_bench PRIVATE owl)
# What following a growing run costs: one update against a whole reading.
add_executable(follow_bench ${CMAKE_CURRENT_LIST_DIR}/follow_bench.cpp)
target_link_libraries(follow_bench PRIVATE owl)
