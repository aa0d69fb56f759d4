# The Debian package, made by CPack from the install() rules (cmake/install.cmake):
#   cmake --preset package && cmake --build --preset package && cd build-package && cpack
# tools/package.sh does this and moves the result into dist/.
if(WIN32 OR NOT DELLOMAR_SDL)
  return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dellomar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Dellomar developers <dellomar@users.noreply.github.com>")
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
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/dellomar/dellomar)
# Library dependencies come from dpkg-shlibdeps, never by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/cpack)
include(CPack)
