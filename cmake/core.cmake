# The game core, and the platform pieces more than one backend shares. The core
# calls the platform only through platform/*.h; a program links it with
# exactly one backend (cmake/backend_*.cmake), after it.
add_library(dellomar_core STATIC
  app/app_shell.cpp app/game_lifecycle.cpp
  display/back_buffer.cpp display/bitmap_loader.cpp display/display_device.cpp
  display/display_log.cpp display/palette_file.cpp display/pixel_format.cpp display/sprite.cpp
  display/text.cpp
  field/field_random.cpp field/field_rules.cpp field/mine_field.cpp field/saved_game.cpp
  input/keyboard_mouse.cpp
  screens/entry_screen.cpp screens/frame_clock.cpp screens/play_screen.cpp
  screens/screen_drawing.cpp
  sound/music_performance.cpp sound/riff_reader.cpp sound/sound_effects.cpp
  window/game_window.cpp
  ${DELLOMAR_GENERATED_SOURCES})
target_include_directories(dellomar_core PUBLIC ${CMAKE_SOURCE_DIR} ${DELLOMAR_GENERATED_DIR})

# The shared platform pieces, in groups. Each group is compiled once, as an
# object library, and each backend links the groups it uses: their objects go
# into the backend's own library, so a group may call the hook table its
# backend defines (STDIO_FILE_HOOKS, MEMORY_VIDEO_HOOKS) whatever the link
# order. A group is only compiled when a backend of the build links it.
function(dellomar_platform_group name)
  add_library(${name} OBJECT EXCLUDE_FROM_ALL ${ARGN})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()
# Where the game's files live, and unique temporary names: every backend.
dellomar_platform_group(platform_file_places
  platform/common/file_places.cpp
  platform/common/temp_names.cpp)
# A press between two reads reads as down once: every backend.
dellomar_platform_group(platform_press_latch
  platform/common/press_latch.cpp)
# Fingers turned into the mouse the game reads: the web page, and the fake for
# scripted fingers.
dellomar_platform_group(platform_touch
  platform/common/touch_model.cpp)
# The file layer on POSIX files (stdio_layer.cpp, with the backend's hooks).
dellomar_platform_group(platform_stdio_files
  platform/stdio/stdio_file.cpp platform/stdio/stdio_layer.cpp platform/stdio/stdio_places.cpp
  platform/stdio/stdio_replace.cpp)
# Surfaces, input devices and sound buffers kept in memory, a message queue,
# and what of a picture changed since it was shown: the backends without
# native ones (SDL, web, fake).
dellomar_platform_group(platform_memory_devices
  platform/common/changed_area.cpp platform/common/device_state.cpp
  platform/common/memory_pixels.cpp platform/common/memory_surfaces.cpp
  platform/common/message_queue.cpp platform/common/ring_lock.cpp)
# What the backends a player uses without native devices (SDL, web) do alike;
# the fake records these calls its own way.
dellomar_platform_group(platform_player_backend
  platform/common/event_input.cpp platform/common/last_error.cpp platform/common/queue_messages.cpp
  platform/common/scaled_video.cpp platform/common/silent_music.cpp
  platform/common/sound_voices.cpp)

# A backend's library (its sources without the entry, so that checks and
# benchmarks can bring their own) and the shared groups it is built with:
#   dellomar_backend_library(<name> SOURCES <files> GROUPS <groups>)
function(dellomar_backend_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;GROUPS")
  add_library(${name} STATIC ${arg_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${arg_GROUPS})
endfunction()
