# Makes a fresh Wine prefix for a test run (STEP=setup) or stops its Wine server (STEP=cleanup).
# cmake -DPREFIX=folder -DWINE=wine -DSTEP=setup|cleanup -P wine_prefix.cmake
set(ENV{WINEPREFIX} "${PREFIX}")
set(ENV{WINEDEBUG} "-all")
# The server's output goes nowhere: a server holding ctest's pipes open would keep ctest waiting.
get_filename_component(wine_dir "${WINE}" DIRECTORY)
find_program(wineserver NAMES wineserver wineserver64 HINTS "${wine_dir}" /usr/lib/wine)
if(STEP STREQUAL "setup")
  file(REMOVE_RECURSE "${PREFIX}")
  # The server stays up between the test programs, so that each starts in a fraction of a
  # second; the cleanup step stops it.
  execute_process(COMMAND "${wineserver}" -p60 OUTPUT_FILE /dev/null ERROR_FILE /dev/null)
  execute_process(COMMAND "${WINE}" wineboot -i RESULT_VARIABLE result
    OUTPUT_FILE /dev/null ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "wineboot failed (${result}): ${errors}")
  endif()
else()
  execute_process(COMMAND "${wineserver}" -k OUTPUT_QUIET ERROR_QUIET)
endif()
