# Starts a persistent wineserver for WINEPREFIX and makes the prefix on first use, so that no
# start-up cost or first-run message reaches a case.
#	cmake -DLOADER=wine64 -DSERVER=wineserver -P wine_start.cmake
# The server and the services that wineboot starts stay after this script, so none of them may
# hold on to the test's output.
set(detached INPUT_FILE /dev/null OUTPUT_FILE /dev/null ERROR_FILE /dev/null COMMAND_ERROR_IS_FATAL ANY)
file(MAKE_DIRECTORY $ENV{WINEPREFIX})
execute_process(COMMAND ${SERVER} -p ${detached})
if(NOT EXISTS $ENV{WINEPREFIX}/system.reg)
  execute_process(COMMAND ${LOADER} wineboot --init ${detached})
endif()
