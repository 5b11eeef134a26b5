# Runs a program and checks its exit status and what it wrote on stderr. A crash, or any status
# but the one expected, fails the test, where CTest's WILL_FAIL would take it for the failure
# expected.
#   cmake -DCOMMAND=program|arg|... -DEXIT=2 -DSTDERR=regex -P exit_status_test.cmake
# COMMAND's parts are separated by |; empty parts (no emulator) are dropped.
cmake_minimum_required(VERSION 3.25)
string(REPLACE "|" ";" command "${COMMAND}")
list(REMOVE_ITEM command "")
execute_process(COMMAND ${command} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status STREQUAL EXIT)
  message(FATAL_ERROR "exit status ${status}, expected ${EXIT}\nstdout: ${out}\nstderr: ${err}")
endif()
if(NOT err MATCHES "${STDERR}")
  message(FATAL_ERROR "stderr does not match '${STDERR}':\n${err}")
endif()
