# Read by cpack once per generator: settings that differ between them.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
endif()
