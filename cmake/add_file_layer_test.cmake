# The POSIX file layer against hostile files, on the real disk: a program of
# its own because it routes fsync and getentropy through the test's wrappers
# (tests/files/syscall_wraps.cpp), to see the folder flushed and to make the
# temporary names predictable.
if(DELLOMAR_TESTS AND NOT WIN32)
  add_executable(dellomar_file_test
    ${CMAKE_SOURCE_DIR}/tests/files/hostile_files_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/files/player_folder_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/files/syscall_wraps.cpp
    ${CMAKE_SOURCE_DIR}/tests/files/file_test_support.cpp
    ${CMAKE_SOURCE_DIR}/tests/test_support.cpp
    ${CMAKE_SOURCE_DIR}/tests/game_reset.cpp)
  target_link_libraries(dellomar_file_test PRIVATE dellomar_headless GTest::gtest GTest::gtest_main)
  target_link_options(dellomar_file_test PRIVATE -Wl,--wrap=fsync,--wrap=getentropy)
  target_compile_definitions(dellomar_file_test PRIVATE
    DELLOMAR_SOURCE_DIR="${CMAKE_SOURCE_DIR}" DELLOMAR_GAME_DIR="${DELLOMAR_GAME_DIR}")
  set_target_properties(dellomar_file_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # A read that waited on a FIFO would hang: the timeout turns that into a failure.
  gtest_discover_tests(dellomar_file_test DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 60)
endif()
