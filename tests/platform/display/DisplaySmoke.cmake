# The program the Xvfb smoke test starts: a main window with the wait dialog over it, on sdl.
add_executable(display_smoke ${CMAKE_CURRENT_LIST_DIR}/smoke/DisplaySmoke.cpp)
target_link_libraries(display_smoke PRIVATE veltrin_app)
add_dependencies(platform_display_tests display_smoke)
