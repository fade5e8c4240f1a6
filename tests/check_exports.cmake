# Fails unless the functions that the DLL FILE exports by name are exactly EXPECTED (a list).
#	cmake -DFILE=... -DEXPECTED=Out32 -DOBJDUMP=objdump -P check_exports.cmake
execute_process(COMMAND ${OBJDUMP} -p ${FILE} OUTPUT_VARIABLE headers COMMAND_ERROR_IS_FATAL ANY)
# The name pointer table lists one "[ordinal] name" line per export.
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n(\t\\[ *[0-9]+\\] [^\n]*\n)*" table "${headers}")
string(REGEX MATCHALL "\t\\[ *[0-9]+\\] [^\n]+" entries "${table}")
list(TRANSFORM entries REPLACE "\t\\[ *[0-9]+\\] " "")
if(NOT entries STREQUAL EXPECTED)
  message(FATAL_ERROR "${FILE} exports \"${entries}\", not \"${EXPECTED}\"")
endif()
message(STATUS "${FILE} exports \"${entries}\"")
