# The window's Qt when cross-building for Windows. Debian has no Qt for MinGW, so a static one
# comes as an archive beside the checkout; it is unpacked into the build folder once. Without
# the archive (and without a Qt given through CMAKE_PREFIX_PATH) the window is left out and the
# core, the command line and their tests are built alone.
set(VLT_MINGW_QT_ARCHIVE "${PROJECT_SOURCE_DIR}/../shared/toolchains/qt6-mingw-static.tar.xz"
  CACHE FILEPATH "Static Qt 6 for MinGW-w64, as a .tar.xz archive")

find_package(Qt6 QUIET COMPONENTS Widgets Test)
if(NOT Qt6_FOUND)
  set(vlt_qt "${CMAKE_BINARY_DIR}/qt6-mingw-static")
  if(NOT EXISTS "${vlt_qt}/lib/cmake/Qt6/Qt6Config.cmake")
    if(EXISTS "${VLT_MINGW_QT_ARCHIVE}")
      message(STATUS "Unpacking Qt for MinGW from ${VLT_MINGW_QT_ARCHIVE}")
      file(ARCHIVE_EXTRACT INPUT "${VLT_MINGW_QT_ARCHIVE}" DESTINATION "${CMAKE_BINARY_DIR}")
    endif()
  endif()
  if(EXISTS "${vlt_qt}/lib/cmake/Qt6/Qt6Config.cmake")
    # As Qt's own toolchain file would: the prefix is a find root, its lib/cmake a prefix path.
    list(PREPEND CMAKE_FIND_ROOT_PATH "${vlt_qt}")
    list(PREPEND CMAKE_PREFIX_PATH "${vlt_qt}/lib/cmake")
    # moc, rcc and uic are the build machine's own (Debian's qt6-base-dev-tools, same version).
    if(NOT DEFINED QT_HOST_PATH)
      set(QT_HOST_PATH /usr CACHE PATH "Qt for the build machine, for moc, rcc and uic")
    endif()
    find_package(Qt6 QUIET COMPONENTS Widgets Test)
  endif()
endif()
if(Qt6_FOUND)
  message(STATUS "The window is built with Qt ${Qt6_VERSION} from ${Qt6_DIR}")
else()
  message(STATUS "No Qt for MinGW (${VLT_MINGW_QT_ARCHIVE} is missing): the window is left out")
  set(VLT_BUILD_GUI OFF)
endif()
