# The game core, the shared platform pieces, and the two backends.
file(GLOB DELLOMAR_CORE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/app/*.cpp ${CMAKE_SOURCE_DIR}/field/*.cpp
  ${CMAKE_SOURCE_DIR}/screens/*.cpp ${CMAKE_SOURCE_DIR}/display/*.cpp
  ${CMAKE_SOURCE_DIR}/input/*.cpp ${CMAKE_SOURCE_DIR}/sound/*.cpp)
add_library(dellomar_core STATIC ${DELLOMAR_CORE_SOURCES} ${DELLOMAR_GENERATED_SOURCES})
target_include_directories(dellomar_core PUBLIC ${CMAKE_SOURCE_DIR} ${DELLOMAR_GENERATED_DIR})

# The Windows backend has native files and a native queue (cmake/game.cmake).
if(NOT WIN32)
  file(GLOB DELLOMAR_PLATFORM_COMMON CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/common/*.cpp)
  file(GLOB DELLOMAR_PLATFORM_STDIO CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/stdio/*.cpp)
  add_library(platform_common STATIC ${DELLOMAR_PLATFORM_COMMON} ${DELLOMAR_PLATFORM_STDIO})
  target_include_directories(platform_common PUBLIC ${CMAKE_SOURCE_DIR})

  file(GLOB DELLOMAR_PLATFORM_FAKE CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/fake/*.cpp)
  add_library(platform_fake STATIC ${DELLOMAR_PLATFORM_FAKE})
  target_link_libraries(platform_fake PUBLIC platform_common)
  find_package(PNG QUIET)
  if(PNG_FOUND)
    target_link_libraries(platform_fake PUBLIC PNG::PNG)
    target_compile_definitions(platform_fake PRIVATE DELLOMAR_HAVE_PNG=1)
  endif()

  # The game core with the fake backend: what tests, benchmarks and fuzzers link.
  add_library(dellomar_headless INTERFACE)
  target_link_libraries(dellomar_headless INTERFACE dellomar_core platform_fake dellomar_core platform_fake)
endif()
