# The generators a cross build borrows from the build machine's own build
# (cmake/toolchains/, tools/build_windows.sh): `dellomar_host_tools` builds
# them all into <build>/tools, the folder a cross build names in
# DELLOMAR_HOST_TOOLS_DIR.
if(NOT CMAKE_CROSSCOMPILING)
  add_custom_target(dellomar_host_tools)
  foreach(tool dellomar_datagen dellomar_glyphgen)
    if(TARGET ${tool})
      add_dependencies(dellomar_host_tools ${tool})
    endif()
  endforeach()
endif()
