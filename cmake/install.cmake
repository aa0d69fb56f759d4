# What `cmake --install` and the .deb (cmake/package.cmake) put on a Linux
# system: the game in games/, its data in share/games/dellomar/, a menu entry,
# icons, AppStream metainfo, a manual page and the copyright and changelog.
if(WIN32 OR NOT DELLOMAR_SDL)
  return()
endif()

set(DELLOMAR_APP_ID io.github.dellomar.dellomar)
# The release date is the newest changelog entry's, as YYYY-MM-DD.
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog trailer REGEX "^ -- " LIMIT_COUNT 1)
string(REGEX MATCH ", ([0-9]?[0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) " _ "${trailer}")
if(NOT CMAKE_MATCH_3)
  message(FATAL_ERROR "packaging/changelog: no date in its newest entry")
endif()
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${CMAKE_MATCH_2} month)
math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
set(day ${CMAKE_MATCH_1})
foreach(part month day)
  string(LENGTH "${${part}}" length)
  if(length EQUAL 1)
    set(${part} 0${${part}})
  endif()
endforeach()
set(DELLOMAR_RELEASE_DATE ${CMAKE_MATCH_3}-${month}-${day})
set(DELLOMAR_INSTALLED_EXECUTABLE ${CMAKE_INSTALL_PREFIX}/games/dellomar)
set(DELLOMAR_INSTALLED_DATA_DIR ${CMAKE_INSTALL_PREFIX}/share/games/dellomar)
set(packaging ${CMAKE_SOURCE_DIR}/packaging)
set(staged ${CMAKE_BINARY_DIR}/packaging)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

configure_file(${packaging}/${DELLOMAR_APP_ID}.desktop.in ${staged}/${DELLOMAR_APP_ID}.desktop @ONLY)
configure_file(${packaging}/${DELLOMAR_APP_ID}.metainfo.xml.in ${staged}/${DELLOMAR_APP_ID}.metainfo.xml @ONLY)
configure_file(${packaging}/dellomar.6.in ${staged}/dellomar.6 @ONLY)

# Manual pages and changelogs are shipped compressed, without a time stamp.
set(compressed ${staged}/dellomar.6.gz ${staged}/changelog.gz)
add_custom_command(
  OUTPUT ${compressed}
  COMMAND sh -c "gzip -9nc dellomar.6 > dellomar.6.gz && gzip -9nc '${packaging}/changelog' > changelog.gz"
  DEPENDS ${staged}/dellomar.6 ${packaging}/changelog
  WORKING_DIRECTORY ${staged}
  VERBATIM)
add_custom_target(dellomar_docs ALL DEPENDS ${compressed})

install(TARGETS dellomar RUNTIME DESTINATION games)
install(FILES ${DELLOMAR_GAME_DIR}/Textures/txtr.txr ${DELLOMAR_GAME_DIR}/Textures/back.txr
        DESTINATION share/games/dellomar/Textures)
install(FILES ${DELLOMAR_GAME_DIR}/Sounds/clk.wav ${DELLOMAR_GAME_DIR}/Sounds/bng.wav
              ${DELLOMAR_GAME_DIR}/Sounds/wd.wav
        DESTINATION share/games/dellomar/Sounds)
install(FILES ${staged}/${DELLOMAR_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${staged}/${DELLOMAR_APP_ID}.metainfo.xml DESTINATION share/metainfo)
foreach(size ${DELLOMAR_ICON_SIZES})
  install(FILES ${DELLOMAR_ICON_DIR}/${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${DELLOMAR_APP_ID}.png)
endforeach()
install(FILES ${staged}/dellomar.6.gz DESTINATION share/man/man6)
install(FILES ${packaging}/copyright ${staged}/changelog.gz DESTINATION share/doc/dellomar)
