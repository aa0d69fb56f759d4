# A program that opens the display on the SDL backend, presents known pictures
# and reads back what reached the window (run by tests/smoke/display_sdl.sh).
if(DELLOMAR_SDL AND DELLOMAR_TESTS)
  add_executable(dellomar_sdl_video_test ${CMAKE_SOURCE_DIR}/tests/sdl/sdl_video_test.cpp)
  target_link_libraries(dellomar_sdl_video_test PRIVATE
    dellomar_core platform_sdl dellomar_core platform_sdl)
  set_target_properties(dellomar_sdl_video_test PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
endif()
