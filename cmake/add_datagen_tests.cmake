# Unit tests of the data generator's file writers: the icon files.
if(DELLOMAR_TESTS AND NOT CMAKE_CROSSCOMPILING)
  add_executable(dellomar_datagen_tests
    ${CMAKE_SOURCE_DIR}/tests/datagen/icon_files_test.cpp
    ${CMAKE_SOURCE_DIR}/tools/datagen/png_writer.cpp
    ${CMAKE_SOURCE_DIR}/tools/datagen/ico_writer.cpp)
  target_include_directories(dellomar_datagen_tests PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(dellomar_datagen_tests PRIVATE GTest::gtest GTest::gtest_main)
  gtest_discover_tests(dellomar_datagen_tests DISCOVERY_TIMEOUT 60)
endif()
