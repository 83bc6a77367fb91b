# Runs a test program of the Windows build under Wine and prints its log: Qt Test's standard
# output does not reach CTest there, so the program writes its log to a file.
#   cmake -DEMULATOR=wine -DPROGRAM=<test.exe> -DLOG=<file> -P run_logged.cmake
file(REMOVE "${LOG}")
execute_process(COMMAND ${EMULATOR} "${PROGRAM}" -o "${LOG},txt" RESULT_VARIABLE rc)
if(EXISTS "${LOG}")
  file(READ "${LOG}" text)
  message("${text}")
endif()
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} ended with ${rc}")
endif()
