# What `cmake --install` and the .deb (cmake/package.cmake) put on a Linux
# system: the game in games/, its data in share/games/dellomar/, a menu entry,
# icons, AppStream metainfo, a manual page and the copyright and changelog.

# Who publishes the game and where, set once for every package: the .deb, its
# AppStream file and the Windows setup program (cmake/backend_win32.cmake).
# An empty address is left out of all of them.
set(DELLOMAR_HOMEPAGE "" CACHE STRING "The game's home page (https://...), or empty")
set(DELLOMAR_SCREENSHOT_URL "" CACHE STRING "A screenshot for software centres (https://...png), or empty")
set(DELLOMAR_MAINTAINER "The Dellomar developers <dellomar@users.noreply.github.com>"
    CACHE STRING "Name <email> of whoever publishes the packages")
if(NOT DELLOMAR_MAINTAINER MATCHES "^([^<>\"$]*[^<>\"$ ]) <([^<>\"$@ ]+@[^<>\"$ ]+)>$")
  message(FATAL_ERROR "DELLOMAR_MAINTAINER must read \"Name <email>\", not \"${DELLOMAR_MAINTAINER}\"")
endif()
set(DELLOMAR_MAINTAINER_NAME ${CMAKE_MATCH_1})
set(DELLOMAR_MAINTAINER_EMAIL ${CMAKE_MATCH_2})
foreach(address DELLOMAR_HOMEPAGE DELLOMAR_SCREENSHOT_URL)
  if(NOT ${address} STREQUAL "" AND NOT ${address} MATCHES "^https?://[^ \"<>$]+$")
    message(FATAL_ERROR "${address} must be an http(s) address or empty, not \"${${address}}\"")
  endif()
endforeach()

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
# The addresses, only where set. They are plain http(s) addresses, checked
# above, but an address may hold "&".
string(REPLACE "&" "&amp;" homepage "${DELLOMAR_HOMEPAGE}")
string(REPLACE "&" "&amp;" screenshot "${DELLOMAR_SCREENSHOT_URL}")
set(DELLOMAR_METAINFO_ADDRESSES "")
if(homepage)
  string(APPEND DELLOMAR_METAINFO_ADDRESSES "\n  <url type=\"homepage\">${homepage}</url>")
endif()
if(screenshot)
  string(APPEND DELLOMAR_METAINFO_ADDRESSES "
  <screenshots>
    <screenshot type=\"default\">
      <caption>The lamp over a patch of opened numbers, with flags and an opened mine</caption>
      <image>${screenshot}</image>
    </screenshot>
  </screenshots>")
endif()
set(DELLOMAR_COPYRIGHT_SOURCE "")
if(DELLOMAR_HOMEPAGE)
  set(DELLOMAR_COPYRIGHT_SOURCE "Source: ${DELLOMAR_HOMEPAGE}\n")
endif()
configure_file(${packaging}/copyright.in ${staged}/copyright @ONLY)
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
install(FILES ${staged}/copyright ${staged}/changelog.gz DESTINATION share/doc/dellomar)
