# The scan's pace under a load on the status service. Included from
# bench/CMakeLists.txt.
add_executable(bench_status_load ${CMAKE_CURRENT_LIST_DIR}/status_load.cpp)
target_link_libraries(bench_status_load PRIVATE dyeapp)
