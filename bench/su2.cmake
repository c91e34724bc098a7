# SU2 history loading against monitor-file loading (bench/README.md).
add_executable(su2_load_bench ${CMAKE_CURRENT_LIST_DIR}/su2_load_bench.cpp)
target_link_libraries(su2_load_bench PRIVATE owl)
