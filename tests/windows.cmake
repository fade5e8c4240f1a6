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

# On 32-bit Windows the calling convention matters and no run shows it: read it from the code.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_test(NAME out32_stdcall
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check_out32_call.py ${CMAKE_OBJDUMP} $<TARGET_FILE:mibrek>)
endif()

# The case table, through the Wine loader, with the runner of a native build.
set(MIBREK_RUNNER "" CACHE FILEPATH "run_cases from a native build, to run the cases under Wine")
set(MIBREK_WINE_LOADER "" CACHE FILEPATH "The Wine loader for this architecture, on this machine")
if(NOT MIBREK_RUNNER)
  return()
endif()

# This machine's kernel may run no 32-bit program, and the emulated PC's does: the 32-bit .exe
# runs there, under Debian's 32-bit Wine. A case takes about 2 s there, so the random run is
# short, with seeds whose shards each write the port at least twice in 10 runs.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_test(NAME wine32_cases
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/emulated_pc/wine32 ${PROJECT_SOURCE_DIR}
            ${CMAKE_CURRENT_BINARY_DIR}/wine32 ${MIBREK_RUNNER} $<TARGET_FILE:mibrek>
            $<TARGET_FILE:inpout32_recording> $<TARGET_FILE:inpout32_without_out32>
            --random-runs=10 --seed=80 --gtest_color=no)
  set_tests_properties(wine32_cases PROPERTIES TIMEOUT 1800)
  return()
endif()
if(NOT MIBREK_WINE_LOADER)
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
