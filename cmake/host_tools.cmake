# The generators that run at build time (the data painter, the glyph
# rasterizer) must run on the build machine. A native build makes them here,
# into <build>/tools, and `dellomar_host_tools` builds them all; a cross build
# borrows them from the build machine's own build, named in
# DELLOMAR_HOST_TOOLS_DIR (tools/build_windows.sh does both steps).
set(DELLOMAR_HOST_TOOLS_DIR "" CACHE PATH
    "Folder with dellomar_datagen and dellomar_glyphgen built for the build machine (cross builds)")
if(NOT DELLOMAR_HOST_TOOLS_DIR)
  find_package(Freetype REQUIRED)
  find_package(ZLIB REQUIRED) # the icons' PNG compression
  add_custom_target(dellomar_host_tools)
endif()

# Sets <out_var> to what runs the generator <name>: the borrowed program, or
# the target built here from SOURCES.
function(dellomar_host_tool name out_var)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "SOURCES")
  if(DELLOMAR_HOST_TOOLS_DIR)
    find_program(tool_path NAMES ${name} PATHS ${DELLOMAR_HOST_TOOLS_DIR}
                 NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH NO_CACHE)
    if(NOT tool_path)
      message(FATAL_ERROR "No ${name} in DELLOMAR_HOST_TOOLS_DIR=${DELLOMAR_HOST_TOOLS_DIR}")
    endif()
    set(${out_var} ${tool_path} PARENT_SCOPE)
  else()
    add_executable(${name} ${arg_SOURCES})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PRIVATE Freetype::Freetype ZLIB::ZLIB)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
    add_dependencies(dellomar_host_tools ${name})
    set(${out_var} ${name} PARENT_SCOPE)
  endif()
endfunction()
