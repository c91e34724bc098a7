# Plot drawing benchmark (see README.md, "Plots").
add_executable(plot_bench ${CMAKE_CURRENT_LIST_DIR}/plot_bench.cpp)
target_link_libraries(plot_bench PRIVATE monplot_core)
