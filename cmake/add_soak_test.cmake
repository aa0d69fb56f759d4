# The soak test runs alone in a program of its own: it replaces the global
# operator new and delete, and routes the malloc family of everything linked
# into it through counters (tests/soak/counting_allocator.cpp).
if(DELLOMAR_TESTS)
  add_executable(dellomar_soak
    ${CMAKE_SOURCE_DIR}/tests/soak/soak_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/soak/counting_allocator.cpp
    ${CMAKE_SOURCE_DIR}/tests/test_support.cpp
    ${CMAKE_SOURCE_DIR}/tests/game_reset.cpp)
  target_link_libraries(dellomar_soak PRIVATE dellomar_headless GTest::gtest GTest::gtest_main)
  target_link_options(dellomar_soak PRIVATE
    -Wl,--wrap=malloc,--wrap=calloc,--wrap=realloc,--wrap=free)
  # Sanitized frames are several times slower: fewer of them keep the run short.
  if(DELLOMAR_SANITIZE)
    set(soak_frames 20000)
  else()
    set(soak_frames 200000)
  endif()
  target_compile_definitions(dellomar_soak PRIVATE
    DELLOMAR_SOURCE_DIR="${CMAKE_SOURCE_DIR}" DELLOMAR_GAME_DIR="${DELLOMAR_GAME_DIR}"
    DELLOMAR_SOAK_DEFAULT_FRAMES=${soak_frames})
  if(TARGET dellomar_data)
    add_dependencies(dellomar_soak dellomar_data)
  endif()
  add_test(NAME soak COMMAND dellomar_soak)
  set_tests_properties(soak PROPERTIES LABELS soak TIMEOUT 600)
endif()
