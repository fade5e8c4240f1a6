# Fails unless every library that FILE names for loading at start-up matches ALLOWED.
#	cmake -DFILE=... -DALLOWED=regex -DOBJDUMP=objdump -P check_imports.cmake
execute_process(COMMAND ${OBJDUMP} -p ${FILE} OUTPUT_VARIABLE headers COMMAND_ERROR_IS_FATAL ANY)
# ELF names them in NEEDED entries, PE in "DLL Name:" lines of the import table.
string(REGEX MATCHALL "(NEEDED +|DLL Name: )[^\n]+" entries "${headers}")
if(NOT entries)
  message(FATAL_ERROR "${FILE}: no imported libraries found")
endif()
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "^(NEEDED +|DLL Name: )" "" library "${entry}")
  message(STATUS "${library}")
  if(NOT library MATCHES "${ALLOWED}")
    message(FATAL_ERROR "${FILE} loads ${library} at start-up")
  endif()
endforeach()
