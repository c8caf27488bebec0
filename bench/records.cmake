# Speed of the records viewer on month files of 10,000 and 100,000 records.
# Included from bench/CMakeLists.txt.
add_executable(records_viewer ${CMAKE_CURRENT_LIST_DIR}/records_viewer.cpp)
target_link_libraries(records_viewer PRIVATE dyescreens)
