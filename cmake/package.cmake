# The Debian package, made by CPack from the install() rules (cmake/install.cmake):
#   cmake --preset package && cmake --build --preset package && cd build-package && cpack
# tools/package.sh does this and moves the result into dist/.
if(WIN32)
  # The Windows setup program (packaging/windows/dellomar.nsi.in), made by NSIS
  # from the game in ${DELLOMAR_GAME_DIR}, on demand:
  #   cmake --build --preset win32-<arch> --target dellomar_setup
  #     -> <build>/dellomar-windows-setup.exe
  # tools/package.sh ships both, named for their architecture; each is for the
  # build it was made in (32-bit setup and Program Files (x86), or 64-bit
  # setup and Program Files).
  find_program(DELLOMAR_MAKENSIS makensis)
  if(NOT DELLOMAR_MAKENSIS)
    message(STATUS "makensis not found: no setup program (apt-get install nsis)")
    return()
  endif()

  set(setup_dir ${CMAKE_BINARY_DIR}/setup)
  set(DELLOMAR_SETUP ${CMAKE_BINARY_DIR}/dellomar-windows-setup.exe)
  set(DELLOMAR_SETUP_LICENSE ${setup_dir}/license.txt)
  set(DELLOMAR_SETUP_MARKER ${setup_dir}/marker.txt)
  # The same name the game looks for (platform/common/file_places.h).
  file(STRINGS ${CMAKE_SOURCE_DIR}/platform/common/file_places.h marker_line
       REGEX "INSTALL_MARKER = \"[^\"]+\"")
  string(REGEX MATCH "\"([^\"]+)\"" _ "${marker_line}")
  set(DELLOMAR_INSTALL_MARKER ${CMAKE_MATCH_1})
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(DELLOMAR_NSIS_TARGET amd64-unicode)
    set(DELLOMAR_NSIS_PROGRAMFILES "$PROGRAMFILES64")
    set(DELLOMAR_NSIS_REGVIEW 64)
    set(DELLOMAR_NSIS_OTHER_REGVIEW 32)
    set(DELLOMAR_NSIS_ARCH x86_64)
    set(DELLOMAR_NSIS_WINDOWS 64-bit)
  else()
    set(DELLOMAR_NSIS_TARGET x86-unicode)
    set(DELLOMAR_NSIS_PROGRAMFILES "$PROGRAMFILES")
    set(DELLOMAR_NSIS_REGVIEW 32)
    set(DELLOMAR_NSIS_OTHER_REGVIEW 64)
    set(DELLOMAR_NSIS_ARCH i686)
    set(DELLOMAR_NSIS_WINDOWS 32-bit)
  endif()

  # The licence page: the game's licence and the glyphs' one, from the same
  # copyright file the .deb carries, as plain text with Windows line ends.
  file(READ ${CMAKE_SOURCE_DIR}/packaging/copyright.in copyright)
  set(license "Dellomar ++ is free software under the MIT licence below.\n\nThe glyphs of its text and its tiles are drawn from the DejaVu Sans fonts\n(2003 Bitstream, Inc.; DejaVu changes are in the public domain), under the\nBitstream Vera licence that follows it.\n")
  foreach(name MIT bitstream-vera)
    string(REGEX MATCH "\nLicense: ${name}\n( [^\n]*\n)+" paragraph "${copyright}")
    if(NOT paragraph)
      message(FATAL_ERROR "packaging/copyright.in has no \"License: ${name}\" text")
    endif()
    string(REGEX REPLACE "^\nLicense: [^\n]*\n" "" paragraph "${paragraph}")
    string(REPLACE "\n .\n" "\n\n" paragraph "${paragraph}")
    string(REGEX REPLACE "(^|\n) " "\\1" paragraph "${paragraph}")
    string(APPEND license "\n---- ${name}\n\n${paragraph}")
  endforeach()
  string(REPLACE "\n" "\r\n" license "${license}")
  file(WRITE ${DELLOMAR_SETUP_LICENSE}.tmp "${license}")
  configure_file(${DELLOMAR_SETUP_LICENSE}.tmp ${DELLOMAR_SETUP_LICENSE} COPYONLY)
  file(WRITE ${DELLOMAR_SETUP_MARKER}.tmp
       "Put here by the setup program: Dellomar ++ keeps the saved game in\r\n%APPDATA%\\Dellomar, not in this folder.\r\n")
  configure_file(${DELLOMAR_SETUP_MARKER}.tmp ${DELLOMAR_SETUP_MARKER} COPYONLY)

  # The addresses only where set (cmake/install.cmake checked them).
  set(DELLOMAR_NSIS_ADDRESSES
      "    WriteRegStr HKLM \"\${UNINSTALL_KEY}\" \"Contact\" \"${DELLOMAR_MAINTAINER_EMAIL}\"")
  if(DELLOMAR_HOMEPAGE)
    string(APPEND DELLOMAR_NSIS_ADDRESSES
           "\n    WriteRegStr HKLM \"\${UNINSTALL_KEY}\" \"URLInfoAbout\" \"${DELLOMAR_HOMEPAGE}\"")
  endif()
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/dellomar.nsi.in ${setup_dir}/dellomar.nsi @ONLY)

  add_custom_command(
    OUTPUT ${DELLOMAR_SETUP}
    COMMAND ${DELLOMAR_MAKENSIS} -V2 -WX ${setup_dir}/dellomar.nsi
    DEPENDS dellomar ${setup_dir}/dellomar.nsi ${DELLOMAR_SETUP_LICENSE} ${DELLOMAR_SETUP_MARKER}
            ${DELLOMAR_ICON_DIR}/dellomar.ico
    VERBATIM)
  add_custom_target(dellomar_setup DEPENDS ${DELLOMAR_SETUP})
  add_dependencies(dellomar_setup dellomar_data)
  return()
endif()
if(NOT DELLOMAR_SDL)
  return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dellomar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${DELLOMAR_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "mine-field puzzle played by the light of a lamp")
set(CPACK_PACKAGE_DESCRIPTION "A single-player mine-field puzzle. You carry a lamp over a field of
hidden cells: the numbers of opened cells show only under the lamp, while
flags and opened mines show everywhere. Open the safe cells you need, flag
all the mines, and the field is cleared. Opening one costs nothing but a
bang, so play goes on.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Left out when empty: the control file has no empty fields.
if(DELLOMAR_HOMEPAGE)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${DELLOMAR_HOMEPAGE})
endif()
# Library dependencies come from dpkg-shlibdeps, never by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/cpack)
include(CPack)
