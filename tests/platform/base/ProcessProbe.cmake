# The helper program that process tests start; it lands beside the test programs in bin/.
add_executable(veltrin_process_probe ${CMAKE_CURRENT_LIST_DIR}/probe/ProcessProbe.cpp)
target_link_libraries(veltrin_process_probe PRIVATE platform_base)
add_dependencies(platform_base_tests veltrin_process_probe)
