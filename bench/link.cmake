# Frame codec build and decode rates. Included from bench/CMakeLists.txt.
find_package(benchmark REQUIRED)
add_executable(codec_bench ${CMAKE_CURRENT_LIST_DIR}/codec_bench.cpp)
target_link_libraries(codec_bench PRIVATE dyelink benchmark::benchmark)
