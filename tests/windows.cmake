# The Windows build: what it imports and exports and, where Wine can run it, the case table.

# Windows system DLLs only: the C and C++ runtimes of the compiler are linked in.
add_test(NAME imports
  COMMAND ${CMAKE_COMMAND} -DFILE=$<TARGET_FILE:mibrek> "-DALLOWED=^(KERNEL32|msvcrt)\\.dll$"
          -DOBJDUMP=${CMAKE_OBJDUMP} -P ${CMAKE_CURRENT_SOURCE_DIR}/check_imports.cmake)
set(exports_recording Out32)
set(exports_without_out32 "")
foreach(double recording without_out32)
  add_test(NAME exports_${double}
    COMMAND ${CMAKE_COMMAND} -DFILE=$<TARGET_FILE:inpout32_${double}> "-DEXPECTED=${exports_${double}}"
            -DOBJDUMP=${CMAKE_OBJDUMP} -P ${CMAKE_CURRENT_SOURCE_DIR}/check_exports.cmake)
endforeach()

# The case table, through the Wine loader, with the runner of a native build.
set(MIBREK_RUNNER "" CACHE FILEPATH "run_cases from a native build, to run the cases under Wine")
set(MIBREK_WINE_LOADER "" CACHE FILEPATH "The Wine loader for this architecture")
if(NOT MIBREK_RUNNER OR NOT MIBREK_WINE_LOADER)
  return()
endif()

# One prefix for this build tree, made once, and one server for the whole run.
get_filename_component(wine_dir ${MIBREK_WINE_LOADER} DIRECTORY)
set(wine_env WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=)
add_test(NAME wine_start
  COMMAND ${CMAKE_COMMAND} -DLOADER=${MIBREK_WINE_LOADER} -DSERVER=${wine_dir}/wineserver
          -P ${CMAKE_CURRENT_SOURCE_DIR}/wine_start.cmake)
add_test(NAME wine_stop COMMAND ${wine_dir}/wineserver -k)
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine ENVIRONMENT "${wine_env}")
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine ENVIRONMENT "${wine_env}")

add_test(NAME wine_cases
  COMMAND ${MIBREK_RUNNER} ${case_args} --launcher=${MIBREK_WINE_LOADER} --windows
          --random-runs=100)
set_tests_properties(wine_cases PROPERTIES FIXTURES_REQUIRED wine ENVIRONMENT "${wine_env}"
  TIMEOUT 900)
