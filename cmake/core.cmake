# The game core, and the platform pieces more than one backend shares. The core
# calls the platform only through platform/*.h; a program links it with
# exactly one backend (cmake/backend_*.cmake), after it.
file(GLOB DELLOMAR_CORE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/app/*.cpp ${CMAKE_SOURCE_DIR}/window/*.cpp ${CMAKE_SOURCE_DIR}/field/*.cpp
  ${CMAKE_SOURCE_DIR}/screens/*.cpp ${CMAKE_SOURCE_DIR}/display/*.cpp
  ${CMAKE_SOURCE_DIR}/input/*.cpp ${CMAKE_SOURCE_DIR}/sound/*.cpp)
add_library(dellomar_core STATIC ${DELLOMAR_CORE_SOURCES} ${DELLOMAR_GENERATED_SOURCES})
target_include_directories(dellomar_core PUBLIC ${CMAKE_SOURCE_DIR} ${DELLOMAR_GENERATED_DIR})

# The Windows backend has native files and a native queue.
if(NOT WIN32)
  file(GLOB DELLOMAR_PLATFORM_COMMON CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/platform/common/*.cpp ${CMAKE_SOURCE_DIR}/platform/stdio/*.cpp)
  # Built into the backends that use them rather than shared by all: the
  # surfaces and the event-fed input devices call hooks each backend defines,
  # and the fake records music, messages and input its own way.
  set(DELLOMAR_MEMORY_SURFACES ${CMAKE_SOURCE_DIR}/platform/common/memory_surfaces.cpp)
  set(DELLOMAR_PLAYER_BACKEND_SHARED ${CMAKE_SOURCE_DIR}/platform/common/silent_music.cpp
    ${CMAKE_SOURCE_DIR}/platform/common/queue_messages.cpp
    ${CMAKE_SOURCE_DIR}/platform/common/event_input.cpp)
  list(REMOVE_ITEM DELLOMAR_PLATFORM_COMMON ${DELLOMAR_MEMORY_SURFACES}
    ${DELLOMAR_PLAYER_BACKEND_SHARED})
  add_library(platform_common STATIC ${DELLOMAR_PLATFORM_COMMON})
  target_include_directories(platform_common PUBLIC ${CMAKE_SOURCE_DIR})
endif()
