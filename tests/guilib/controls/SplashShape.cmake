# The program the splash's Xvfb test starts: a disc-shaped splash on sdl.
add_executable(splash_shape ${CMAKE_CURRENT_LIST_DIR}/splash/SplashShape.cpp)
target_link_libraries(splash_shape PRIVATE guilib platform_display)
add_dependencies(guilib_controls_tests splash_shape)
