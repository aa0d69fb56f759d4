# The game core, and the platform pieces more than one backend shares. The core
# calls the platform only through platform/*.h; a program links it with
# exactly one backend (cmake/backend_*.cmake), after it.
file(GLOB DELLOMAR_CORE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/app/*.cpp ${CMAKE_SOURCE_DIR}/window/*.cpp ${CMAKE_SOURCE_DIR}/field/*.cpp
  ${CMAKE_SOURCE_DIR}/screens/*.cpp ${CMAKE_SOURCE_DIR}/display/*.cpp
  ${CMAKE_SOURCE_DIR}/input/*.cpp ${CMAKE_SOURCE_DIR}/sound/*.cpp)
add_library(dellomar_core STATIC ${DELLOMAR_CORE_SOURCES} ${DELLOMAR_GENERATED_SOURCES})
target_include_directories(dellomar_core PUBLIC ${CMAKE_SOURCE_DIR} ${DELLOMAR_GENERATED_DIR})

# The shared platform pieces, in the groups each backend names the ones of.
function(dellomar_platform_sources out)
  list(TRANSFORM ARGN PREPEND ${CMAKE_SOURCE_DIR}/platform/ OUTPUT_VARIABLE paths)
  set(${out} ${paths} PARENT_SCOPE)
endfunction()
# Where the game's files live, and unique temporary names: every backend.
dellomar_platform_sources(DELLOMAR_SHARED_FILE_PLACES common/file_places.cpp common/temp_names.cpp)
# A press between two reads reads as down once: every backend.
dellomar_platform_sources(DELLOMAR_SHARED_PRESS_LATCH common/press_latch.cpp)
# Fingers turned into the mouse the game reads: the web page, and the fake for
# scripted fingers.
dellomar_platform_sources(DELLOMAR_SHARED_TOUCH common/touch_model.cpp)
# The file layer on POSIX files (stdio_layer.cpp, with the backend's hooks).
dellomar_platform_sources(DELLOMAR_SHARED_STDIO_FILES stdio/stdio_file.cpp stdio/stdio_layer.cpp
  stdio/stdio_places.cpp stdio/stdio_replace.cpp)
# Surfaces, input devices and sound buffers kept in memory, and a message
# queue: the backends without native ones (SDL, web, fake).
dellomar_platform_sources(DELLOMAR_SHARED_MEMORY_DEVICES common/device_state.cpp
  common/memory_pixels.cpp common/memory_surfaces.cpp common/message_queue.cpp
  common/ring_lock.cpp)
# What the backends a player uses without native devices (SDL, web) do alike;
# the fake records these calls its own way.
dellomar_platform_sources(DELLOMAR_SHARED_PLAYER_BACKEND common/event_input.cpp
  common/last_error.cpp common/queue_messages.cpp common/scaled_video.cpp
  common/silent_music.cpp common/sound_voices.cpp)
