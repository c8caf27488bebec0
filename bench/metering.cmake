# Metering accuracy of the stations on the simulated machine. Included from
# bench/CMakeLists.txt.
add_executable(bench_metering_accuracy ${CMAKE_CURRENT_LIST_DIR}/metering_accuracy.cpp)
target_link_libraries(bench_metering_accuracy PRIVATE dyeapp)
