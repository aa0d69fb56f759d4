# Programs that drive the keyboard, mouse and sound code on the real SDL
# backend; the smoke scripts in tests/smoke run them and judge what they print.
if(DELLOMAR_SDL AND DELLOMAR_TESTS)
  set(DELLOMAR_SDL_CHECK_DIR ${CMAKE_BINARY_DIR}/sdl-checks)
  foreach(check sdl_input_check sdl_audio_check)
    add_executable(${check} ${CMAKE_SOURCE_DIR}/tests/sdl/${check}.cpp)
    target_link_libraries(${check} PRIVATE dellomar_core platform_sdl dellomar_core platform_sdl)
    set_target_properties(${check} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${DELLOMAR_SDL_CHECK_DIR})
  endforeach()
endif()
