# Water accuracy of the dispensing run on the simulated machine. Included
# from bench/CMakeLists.txt.
add_executable(bench_water_accuracy ${CMAKE_CURRENT_LIST_DIR}/water_accuracy.cpp)
target_link_libraries(bench_water_accuracy PRIVATE dyeapp)
