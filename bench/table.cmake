# Time-history table benchmark (see README.md, "Tables").
add_executable(table_reference ${CMAKE_CURRENT_LIST_DIR}/table_reference.cpp)
add_executable(table_bench ${CMAKE_CURRENT_LIST_DIR}/table_bench.cpp)
add_executable(table_check_all ${CMAKE_CURRENT_LIST_DIR}/table_check_all.cpp)
foreach(target table_reference table_bench table_check_all)
  target_link_libraries(${target} PRIVATE monexport_core)
endforeach()
target_link_libraries(table_check_all PRIVATE Threads::Threads)
# The number formatter alone (Google Benchmark).
find_package(benchmark REQUIRED)
add_executable(format_bench ${CMAKE_CURRENT_LIST_DIR}/format_bench.cpp)
target_link_libraries(format_bench PRIVATE monexport_core benchmark::benchmark)
