# The game in a web page, compiled by Emscripten (preset "web", run by
# tools/build_web.sh): <build>/site/ holds index.html, dellomar.js,
# dellomar.wasm and dellomar.data (the pictures and sounds), the web app
# manifest with its icons and the service worker sw.js, ready for any static
# file server. The game's blocking loop runs as it is under Asyncify.
set(DELLOMAR_WEB_SITE_DIR ${CMAKE_BINARY_DIR}/site)
set(DELLOMAR_WEB_DIR ${CMAKE_SOURCE_DIR}/platform/web)

dellomar_backend_library(platform_web
  SOURCES
  platform/web/web_audio.cpp platform/web/web_data.cpp platform/web/web_events.cpp
  platform/web/web_file.cpp platform/web/web_input.cpp platform/web/web_system.cpp
  platform/web/web_touch.cpp platform/web/web_video.cpp
  GROUPS
  platform_file_places platform_memory_devices platform_player_backend platform_press_latch
  platform_stdio_files platform_touch)
# The backdrop is painted in the page by the data tool's painter
# (platform/web/web_data.cpp), the same code that paints the native file.
add_library(dellomar_web_backdrop STATIC
  tools/datagen/backdrop_painter.cpp tools/datagen/bmp_writer.cpp tools/datagen/canvas.cpp
  tools/datagen/noise.cpp)
target_include_directories(dellomar_web_backdrop PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(platform_web PRIVATE dellomar_web_backdrop)

add_executable(dellomar platform/web/web_main.cpp)
target_link_libraries(dellomar PRIVATE dellomar_core platform_web)
set_target_properties(dellomar PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${DELLOMAR_WEB_SITE_DIR})
# The tile atlas and the sounds go into the page's own folder (the backdrop is
# painted there by the page); the working folder holds the saved game in
# IndexedDB (platform/web/web_file.cpp).
target_link_options(dellomar PRIVATE
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=33554432
  -sENVIRONMENT=web -sEXIT_RUNTIME=0
  "SHELL:--pre-js ${DELLOMAR_WEB_DIR}/web_pre.js"
  "SHELL:--preload-file ${DELLOMAR_GAME_DIR}/Textures/txtr.txr@/dellomar-data/Textures/txtr.txr"
  "SHELL:--preload-file ${DELLOMAR_GAME_DIR}/Sounds@/dellomar-data/Sounds")
set_property(TARGET dellomar APPEND PROPERTY LINK_DEPENDS
  ${DELLOMAR_WEB_DIR}/web_pre.js ${DELLOMAR_DATA_FILES})
add_dependencies(dellomar dellomar_data)

# The page, the worker and what installs the page, stamped as one set with
# the version and the files' hashes (platform/web/stamp_site.cmake).
set(DELLOMAR_WEB_STAMPED ${DELLOMAR_WEB_SITE_DIR}/index.html ${DELLOMAR_WEB_SITE_DIR}/sw.js)
set(DELLOMAR_WEB_COPIED ${DELLOMAR_WEB_SITE_DIR}/manifest.webmanifest
  ${DELLOMAR_WEB_SITE_DIR}/icon-192.png ${DELLOMAR_WEB_SITE_DIR}/icon-512.png)
add_custom_command(
  OUTPUT ${DELLOMAR_WEB_STAMPED} ${DELLOMAR_WEB_COPIED}
  COMMAND ${CMAKE_COMMAND} -E copy ${DELLOMAR_WEB_DIR}/manifest.webmanifest
          ${DELLOMAR_WEB_SITE_DIR}/manifest.webmanifest
  COMMAND ${CMAKE_COMMAND} -E copy ${DELLOMAR_ICON_DIR}/192.png ${DELLOMAR_WEB_SITE_DIR}/icon-192.png
  COMMAND ${CMAKE_COMMAND} -E copy ${DELLOMAR_ICON_DIR}/512.png ${DELLOMAR_WEB_SITE_DIR}/icon-512.png
  COMMAND ${CMAKE_COMMAND} -DSITE=${DELLOMAR_WEB_SITE_DIR} -DSOURCE=${DELLOMAR_WEB_DIR}
          -DVERSION=${PROJECT_VERSION} -DTAB_ICON=${DELLOMAR_ICON_DIR}/32.png
          -P ${DELLOMAR_WEB_DIR}/stamp_site.cmake
  DEPENDS $<TARGET_FILE:dellomar> ${DELLOMAR_WEB_DIR}/index.html ${DELLOMAR_WEB_DIR}/sw.js
          ${DELLOMAR_WEB_DIR}/manifest.webmanifest ${DELLOMAR_WEB_DIR}/stamp_site.cmake
          ${DELLOMAR_ICON_DIR}/192.png ${DELLOMAR_ICON_DIR}/512.png ${DELLOMAR_ICON_DIR}/32.png
  COMMENT "Stamping the web page's set of files"
  VERBATIM)
add_custom_target(dellomar_web_page ALL DEPENDS ${DELLOMAR_WEB_STAMPED} ${DELLOMAR_WEB_COPIED})
add_dependencies(dellomar_web_page dellomar dellomar_icons)
