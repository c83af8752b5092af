# libspng and zlib for the PNG reader and writer, as the target vlt::spng. On Linux from the
# system (Debian: libspng-dev, zlib1g-dev); a MinGW-w64 cross build links the static libspng that
# scripts/build-mingw-deps builds from Debian's source, and Debian's libz-mingw-w64-dev.
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
target_link_libraries(vlt_spng INTERFACE "${VLT_SPNG_LIBRARY}" ${VLT_ZLIB_LIBRARY})
if(vlt_spng_static)
  # Without it the header declares the functions as imported from a DLL.
  target_compile_definitions(vlt_spng INTERFACE SPNG_STATIC)
endif()
