# The scan's pace with a queue of 100,000 jobs through job ends. Included from
# bench/CMakeLists.txt.
add_executable(bench_long_queue ${CMAKE_CURRENT_LIST_DIR}/long_queue.cpp)
target_link_libraries(bench_long_queue PRIVATE dyeapp)
