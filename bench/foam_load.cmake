# OpenFOAM case loading against a monitor file of the same values
# (bench/README.md, "OpenFOAM cases").
add_executable(foam_load_bench ${CMAKE_CURRENT_LIST_DIR}/foam_load_bench.cpp)
target_link_libraries(foam_load_bench PRIVATE owl)
