# The Windows game's icon and version resource (packaging/windows/dellomar.rc.in),
# compiled by windres; the icon comes from the data generator.
if(WIN32 AND TARGET dellomar)
  enable_language(RC)
  set(DELLOMAR_RC ${CMAKE_BINARY_DIR}/packaging/dellomar.rc)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/dellomar.rc.in ${DELLOMAR_RC} @ONLY)
  set_source_files_properties(${DELLOMAR_RC} PROPERTIES OBJECT_DEPENDS ${DELLOMAR_ICON_DIR}/dellomar.ico)
  target_sources(dellomar PRIVATE ${DELLOMAR_RC})
  add_dependencies(dellomar dellomar_icons)
endif()
