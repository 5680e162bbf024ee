# The other running copy that the other-copies test starts; it lands beside the test programs in bin/.
add_executable(veltrin_window_peer ${CMAKE_CURRENT_LIST_DIR}/peer/WindowPeer.cpp)
target_link_libraries(veltrin_window_peer PRIVATE platform_user)
add_dependencies(platform_user_tests veltrin_window_peer)
