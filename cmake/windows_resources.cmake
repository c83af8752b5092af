# Windows programs carry the project's icon, version information taken from the project's
# version, and a manifest (per-monitor DPI aware, UTF-8 code page, long paths, Windows 10).
enable_language(RC)

# vlt_windows_resources(TARGET DESCRIPTION): compiles the resources into the program.
function(vlt_windows_resources target description)
  set(VLT_RC_NAME "${target}")
  set(VLT_RC_DESCRIPTION "${description}")
  set(VLT_RC_ICON "${PROJECT_SOURCE_DIR}/packaging/windows/vosk-land-texture.ico")
  set(VLT_RC_MANIFEST "${PROJECT_SOURCE_DIR}/packaging/windows/vosk-land-texture.manifest")
  set(VLT_RC_VERSION_COMMAS
    "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
  set(rc "${CMAKE_BINARY_DIR}/resources/${target}.rc")
  configure_file("${PROJECT_SOURCE_DIR}/packaging/windows/program.rc.in" "${rc}" @ONLY)
  target_sources(${target} PRIVATE "${rc}")
  set_source_files_properties("${rc}" TARGET_DIRECTORY ${target} PROPERTIES
    OBJECT_DEPENDS "${VLT_RC_ICON};${VLT_RC_MANIFEST}")
endfunction()

vlt_windows_resources(vosk-land-texture-cli "vosk-land-texture command line")
if(TARGET vosk-land-texture)
  vlt_windows_resources(vosk-land-texture "vosk-land-texture")
endif()
