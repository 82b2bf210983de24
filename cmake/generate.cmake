# Runs `PROGRAM OPTION FORMAT` (the programs' hidden generation modes) and
# writes its standard output to OUTPUT, when it changed.
# The plug-in is the one beside PROGRAM whatever the caller's environment.
cmake_minimum_required(VERSION 3.25)

unset(ENV{TARVEX_PLUGIN})
execute_process(
  COMMAND ${PROGRAM} ${OPTION} ${FORMAT}
  OUTPUT_VARIABLE text
  ERROR_VARIABLE errors
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} ${OPTION} ${FORMAT} failed (${status}): ${errors}")
endif()

if(NOT DEFINED OUTPUT)
  message(FATAL_ERROR "generate.cmake: give OUTPUT")
endif()
set(old_text "")
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} old_text)
endif()
if(NOT old_text STREQUAL text)
  file(WRITE ${OUTPUT} "${text}")
endif()
