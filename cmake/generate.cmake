# Runs `PROGRAM OPTION FORMAT` (tarvexcli's hidden generation modes) and
#   with OUTPUT: writes its standard output there, when it changed;
#   with CHECK:  fails unless the file CHECK holds exactly that output,
#                saying how to refresh it (REFRESH).
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

if(DEFINED CHECK)
  file(READ ${CHECK} checked_in)
  if(NOT checked_in STREQUAL text)
    message(FATAL_ERROR "${CHECK} differs from what `${OPTION} ${FORMAT}` generates from the "
                        "command tree. Refresh it with: ${REFRESH}")
  endif()
  message(STATUS "${CHECK} is up to date")
elseif(DEFINED OUTPUT)
  set(old_text "")
  if(EXISTS ${OUTPUT})
    file(READ ${OUTPUT} old_text)
  endif()
  if(NOT old_text STREQUAL text)
    file(WRITE ${OUTPUT} "${text}")
  endif()
else()
  message(FATAL_ERROR "generate.cmake: give OUTPUT or CHECK")
endif()
