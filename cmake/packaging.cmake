# cpack: on Windows a zip of the window, the command line and their documents, one folder as
# users unpack it; on Debian a .deb (cpack -G DEB); elsewhere a tarball of the same install tree.
# The licence and the third-party notices go into every package.
if(WIN32)
  # Windows users get their own README, and text files with Windows line ends.
  function(vlt_windows_text source name)
    file(READ "${source}" text)
    string(CONFIGURE "${text}" text @ONLY)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE "${CMAKE_BINARY_DIR}/package-docs/${name}" "${text}")
    install(FILES "${CMAKE_BINARY_DIR}/package-docs/${name}" DESTINATION ${CMAKE_INSTALL_DOCDIR})
  endfunction()
  vlt_windows_text("${PROJECT_SOURCE_DIR}/packaging/windows/README.txt" README.txt)
  vlt_windows_text("${PROJECT_SOURCE_DIR}/LICENSE" LICENSE)
  vlt_windows_text("${PROJECT_SOURCE_DIR}/THIRD-PARTY-NOTICES" THIRD-PARTY-NOTICES)
else()
  install(FILES README.md LICENSE THIRD-PARTY-NOTICES DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_PACKAGE_NAME "vosk-land-texture")
set(CPACK_PACKAGE_VENDOR "vosk-land-texture")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for the land textures of the game Vosk")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  set(CPACK_PACKAGE_FILE_NAME "vosk-land-texture-${PROJECT_VERSION}-windows-x64")
else()
  set(CPACK_GENERATOR TGZ)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
endif()

# The Debian package: installed under /usr, its library dependencies found by dpkg-shlibdeps.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "vosk-land-texture maintainers")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Loads the game's palette-indexed land textures and their palette, shows them in their\n"
  "colours, exports them as BMP pictures for a paint program, imports pictures back and saves\n"
  "the game's files again. A batch command line, vosk-land-texture-cli, runs the same commands\n"
  "for scripts.")
# Only the .deb goes under /usr; the tarball keeps its tree relative.
set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_SOURCE_DIR}/cmake/cpack_generator.cmake")
include(CPack)
