# libspng and zlib for the PNG reader and writer, as the target vlt::spng. On Linux from the
# system (Debian: libspng-dev, zlib1g-dev); a MinGW-w64 cross build links the static libspng that
# scripts/build-mingw-deps builds from Debian's source, and Debian's libz-mingw-w64-dev.
# A program that links statically on Linux (its property VLT_STATIC_EXECUTABLE set) takes both as
# static archives: Debian ships libspng only as a shared library, so where Debian's source of it
# is at hand (scripts/build-mingw-deps fetches it) it is built here, with the static zlib.
if(WIN32 AND CMAKE_CROSSCOMPILING)
  set(VLT_MINGW_DEPS "${PROJECT_SOURCE_DIR}/build/mingw-deps" CACHE PATH
    "Static libraries built by scripts/build-mingw-deps")
  list(APPEND CMAKE_FIND_ROOT_PATH "${VLT_MINGW_DEPS}")
  find_library(VLT_SPNG_LIBRARY NAMES spng_static)
  # The static zlib: the programs carry no DLLs of their own.
  find_library(VLT_ZLIB_LIBRARY NAMES libz.a z)
  set(vlt_spng_static ON)
else()
  find_library(VLT_SPNG_LIBRARY NAMES spng spng_static)
  find_package(ZLIB)
  if(ZLIB_FOUND)
    set(VLT_ZLIB_LIBRARY ZLIB::ZLIB)
  endif()
  set(vlt_spng_static OFF)
  if(VLT_SPNG_LIBRARY MATCHES "spng_static")
    set(vlt_spng_static ON)
  endif()
  file(GLOB vlt_spng_sources
    "${PROJECT_SOURCE_DIR}/build/mingw-deps/sources/libspng/*/spng/spng.c")
  list(SORT vlt_spng_sources)
  list(POP_BACK vlt_spng_sources vlt_spng_newest)
  set(VLT_SPNG_SOURCE "" CACHE FILEPATH
    "libspng's spng.c, built as a static library for statically linked programs")
  # Fetched after the first configure, it is still found.
  if(NOT VLT_SPNG_SOURCE AND vlt_spng_newest)
    set_property(CACHE VLT_SPNG_SOURCE PROPERTY VALUE "${vlt_spng_newest}")
  endif()
  find_library(VLT_ZLIB_STATIC_LIBRARY NAMES libz.a)
endif()
find_path(VLT_SPNG_INCLUDE_DIR spng.h)

if(NOT VLT_SPNG_LIBRARY OR NOT VLT_SPNG_INCLUDE_DIR OR NOT VLT_ZLIB_LIBRARY)
  message(FATAL_ERROR "libspng and zlib are needed for PNG pictures: install them (Debian: "
    "libspng-dev zlib1g-dev; vcpkg: libspng zlib); for a MinGW-w64 cross build run "
    "scripts/build-mingw-deps first")
endif()

add_library(vlt_spng INTERFACE)
add_library(vlt::spng ALIAS vlt_spng)
target_include_directories(vlt_spng SYSTEM INTERFACE "${VLT_SPNG_INCLUDE_DIR}")
if(NOT WIN32 AND VLT_SPNG_SOURCE AND VLT_ZLIB_STATIC_LIBRARY)
  enable_language(C)
  add_library(vlt_spng_static STATIC EXCLUDE_FROM_ALL "${VLT_SPNG_SOURCE}")
  target_compile_options(vlt_spng_static PRIVATE -w)
  set(vlt_static_program "$<BOOL:$<TARGET_PROPERTY:VLT_STATIC_EXECUTABLE>>")
  target_link_libraries(vlt_spng INTERFACE
    "$<IF:${vlt_static_program},vlt_spng_static,${VLT_SPNG_LIBRARY}>"
    "$<IF:${vlt_static_program},${VLT_ZLIB_STATIC_LIBRARY},${VLT_ZLIB_LIBRARY}>")
else()
  target_link_libraries(vlt_spng INTERFACE "${VLT_SPNG_LIBRARY}" ${VLT_ZLIB_LIBRARY})
endif()
if(vlt_spng_static)
  # Without it the header declares the functions as imported from a DLL.
  target_compile_definitions(vlt_spng INTERFACE SPNG_STATIC)
endif()
