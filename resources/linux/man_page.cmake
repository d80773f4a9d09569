# Writes the manual page of orvane-batch from its template, with the EFFECTS section made from
# the program's own --help, so that the page lists exactly the effects the program has.
#   cmake -DBATCH=<orvane-batch> -DTEMPLATE=<page.in> -DOUTPUT=<page> -DPROJECT_VERSION=<version>
#         -DORVANE_RELEASE_DATE=<yyyy-mm-dd> -P man_page.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${BATCH} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${BATCH} --help failed: ${status}")
endif()

# The effects are the lines after the "Effects and their parameters" heading, up to the next
# empty line: "  name  parameters" or a continuation of the parameters.
string(FIND "${help}" "\nEffects and their parameters" start)
string(SUBSTRING "${help}" ${start} -1 help)
string(FIND "${help}" "\n\n" end)
string(SUBSTRING "${help}" 1 ${end} help)
string(REPLACE "\n" ";" lines "${help}")
list(REMOVE_AT lines 0)
set(EFFECTS "")
foreach(line IN LISTS lines)
  string(REPLACE "-" "\\-" line "${line}")
  string(REPLACE " (" "\\ (" line "${line}")   # a default stays beside its parameter
  if(line MATCHES "^  ([^ ]+) *(.*)$")
    string(APPEND EFFECTS ".TP\n.B ${CMAKE_MATCH_1}\n")
    set(rest "${CMAKE_MATCH_2}")
  else()
    string(STRIP "${line}" rest)
  endif()
  if(NOT rest STREQUAL "")
    string(APPEND EFFECTS "${rest}\n")
  endif()
endforeach()
string(STRIP "${EFFECTS}" EFFECTS)

file(READ ${TEMPLATE} page)
string(CONFIGURE "${page}" page @ONLY)
file(WRITE ${OUTPUT} "${page}")
