find_package(GTest REQUIRED)
include(GoogleTest)
file(GLOB DELLOMAR_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*.cpp)
add_executable(dellomar_tests ${DELLOMAR_TEST_SOURCES})
target_link_libraries(dellomar_tests PRIVATE dellomar_headless GTest::gtest GTest::gtest_main)
target_compile_definitions(dellomar_tests PRIVATE
  DELLOMAR_SOURCE_DIR="${CMAKE_SOURCE_DIR}" DELLOMAR_GAME_DIR="${DELLOMAR_GAME_DIR}")
if(TARGET dellomar_data)
  add_dependencies(dellomar_tests dellomar_data)
endif()
gtest_discover_tests(dellomar_tests DISCOVERY_TIMEOUT 60)

# Tests of the real executable, in a real X server. Each script is one ctest.
if(DELLOMAR_SDL)
  file(GLOB DELLOMAR_SMOKE_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/smoke/*.sh)
  foreach(script ${DELLOMAR_SMOKE_SCRIPTS})
    get_filename_component(name ${script} NAME_WE)
    add_test(NAME smoke.${name} COMMAND bash ${script} ${DELLOMAR_GAME_DIR})
    # Each starts its own X server on a display of its own, so they run side by side.
    set_tests_properties(smoke.${name} PROPERTIES LABELS smoke TIMEOUT 120)
  endforeach()
endif()
