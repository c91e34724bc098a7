# Variable rules: parsing, and matching a large run's variables.
find_package(benchmark REQUIRED)
add_executable(rule_match_bench ${CMAKE_CURRENT_LIST_DIR}/rule_match_bench.cpp)
target_link_libraries(rule_match_bench PRIVATE monexport_core benchmark::benchmark)
