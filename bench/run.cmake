# Throughput of the dispensing run on the simulated machine. Included from
# bench/CMakeLists.txt.
add_executable(run_throughput ${CMAKE_CURRENT_LIST_DIR}/run_throughput.cpp)
target_link_libraries(run_throughput PRIVATE dyeapp)
